// glass_scroller: start-up, the frame loop, teardown.
#include "scroll_scene.h"
#include "toolkit.h"

#include <cstring>

namespace {

const char* const kCaption = ".:Zorv scroll by Quillane:. 7.7.2007";
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenDepth = 16;
constexpr Uint32 kWindowedFlags = SDL_HWSURFACE | SDL_DOUBLEBUF;
constexpr Uint32 kFullScreenFlags = kWindowedFlags | SDL_FULLSCREEN;
const char* const kMusicPath = "res/zak.dat";
constexpr int kLoopForever = -1;
constexpr Uint8 kQuitJoystickButton = 8;

// Full screen unless the one and only argument is exactly "w".
Uint32 videoFlagsFor(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "w") == 0) {
        return kWindowedFlags;
    }
    return kFullScreenFlags;
}

bool isQuitRequest(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        return true;
    case SDL_KEYDOWN:
        return event.key.keysym.sym == SDLK_ESCAPE;
    case SDL_JOYBUTTONDOWN:
        return event.jbutton.button == kQuitJoystickButton;
    default:
        return false;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (!initMedia(kCaption, kScreenWidth, kScreenHeight, kScreenDepth, 0, videoFlagsFor(argc, argv))) {
        return 1;
    }
    SDL_Surface* screen = getScreen();
    SDL_ShowCursor(0);
    bool quit = false;
    Mix_Music* music = loadMusic(kMusicPath);
    {
        // Every asset is loaded before a note plays.
        ScrollScene scene;
        if (Mix_PlayMusic(music, kLoopForever) == -1) {
            return 1;
        }

        SDL_Event event;
        while (!quit) {
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
            // Drain the whole queue, even after a quit request: the frame is still drawn.
            while (SDL_PollEvent(&event) != 0) {
                if (isQuitRequest(event)) {
                    quit = true;
                }
            }
            scene.drawFrame(screen);
            SDL_Flip(screen);
        }
        Mix_FreeMusic(music);
        // The scene goes here, while SDL still owns the memory its surfaces may live in.
    }
    shutdownMedia();
    return 0;
}
