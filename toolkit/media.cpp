// Start-up, shutdown, messages, loaders, blits and fills.
#include "toolkit.h"

#include <SDL/SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// The process-wide record. The geometry is what the caller asked for, kept
// even when the library grants something else, so that code sizing itself
// from it behaves the same on every display.
struct MediaState {
    SDL_Surface* screen;
    int width;
    int height;
    int depth;
    int userValue;
};

MediaState state;

constexpr int kAudioRate = 22050;
constexpr Uint16 kAudioFormat = AUDIO_S16LSB;
constexpr int kAudioChannels = 2;
constexpr int kAudioChunkSize = 2048;

const char* const kMenuDirectory = "/usr/gp2x";
const char* const kMenuProgram = "/usr/gp2x/gp2xmenu";

// SDL_Rect keeps only the low 16 bits of each value; the conversions wrap
// rather than clamp, which is what lets an ever-growing scroll position
// come round again.
SDL_Rect makeRect(int x, int y, int w, int h)
{
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    return rect;
}

bool reportLibraryError()
{
    printError(SDL_GetError());
    return false;
}

[[noreturn]] void fail(const std::string& message)
{
    printError(message);
    std::exit(1);
}

// Loads and converts to the display format; the loaded original is no longer needed either way.
SDL_Surface* loadConverted(const std::string& path)
{
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        fail("Image load error!  File: " + path);
    }
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    return converted;
}

} // namespace

bool initMedia(const std::string& caption, int width, int height, int depth, int userValue,
               Uint32 videoFlags)
{
    state.width = width;
    state.height = height;
    state.depth = depth;
    state.userValue = userValue;

    if (SDL_Init(SDL_INIT_EVERYTHING) == -1) {
        return reportLibraryError();
    }
    state.screen = SDL_SetVideoMode(width, height, depth, videoFlags);
    if (state.screen == nullptr) {
        return reportLibraryError();
    }
    // The mixer and the font library report through SDL's error text.
    if (Mix_OpenAudio(kAudioRate, kAudioFormat, kAudioChannels, kAudioChunkSize) == -1) {
        return reportLibraryError();
    }
    if (TTF_Init() == -1) {
        return reportLibraryError();
    }
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    return true;
}

SDL_Surface* getScreen() { return state.screen; }
int getScreenWidth() { return state.width; }
int getScreenHeight() { return state.height; }
int getScreenDepth() { return state.depth; }
int getUserValue() { return state.userValue; }

void shutdownMedia()
{
    SDL_FreeSurface(state.screen);
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
}

void shutdownToMenu()
{
    shutdownMedia();
    // On anything but the handheld both calls fail, silently, and the caller
    // carries on with the libraries stopped.
    const int ignored = chdir(kMenuDirectory);
    static_cast<void>(ignored);
    execl(kMenuProgram, kMenuProgram, static_cast<char*>(nullptr));
}

void printLine(const std::string& text) { std::fprintf(stdout, "%s\n", text.c_str()); }
void printError(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

SDL_Joystick* openJoystick()
{
    if (SDL_NumJoysticks() <= 0) {
        return nullptr;
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(0);
    if (joystick == nullptr) {
        fail("Couldn't open joystick");
    }
    return joystick;
}

TTF_Font* loadFont(const std::string& path, int pointSize)
{
    TTF_Font* font = TTF_OpenFont(path.c_str(), pointSize);
    if (font == nullptr) {
        fail("Font load failed! : " + path);
    }
    return font;
}

Mix_Chunk* loadSound(const std::string& path)
{
    // The mixer closes the stream itself; a file that cannot be opened fails like one that cannot be decoded.
    Mix_Chunk* sound = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    if (sound == nullptr) {
        fail("Soundfx load error! File: " + path);
    }
    return sound;
}

Mix_Music* loadMusic(const std::string& path)
{
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (music == nullptr) {
        fail("Music load error! File: " + path);
    }
    return music;
}

SDL_Surface* loadImage(std::string path) { return loadConverted(path); }

SDL_Surface* loadKeyedImage(const std::string& path, int r, int g, int b)
{
    SDL_Surface* image = loadConverted(path);
    if (image == nullptr) {
        printError("Image optimization error! File: " + path);
        return nullptr;
    }
    // Map after the conversion: the key must match pixels in the display's format.
    const Uint32 key = SDL_MapRGB(image->format, static_cast<Uint8>(r), static_cast<Uint8>(g),
                                  static_cast<Uint8>(b));
    SDL_SetColorKey(image, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    return image;
}

void blitPart(int x, int y, SDL_Surface* src, SDL_Surface* dst, SDL_Rect* srcRect)
{
    // Only the position is read; SDL writes the clipped size back into the rectangle.
    SDL_Rect where = makeRect(x, y, 0, 0);
    SDL_UpperBlit(src, srcRect, dst, &where);
}

void blit(int x, int y, SDL_Surface* src, SDL_Surface* dst) { blitPart(x, y, src, dst, nullptr); }

void blitFree(int x, int y, SDL_Surface* src, SDL_Surface* dst)
{
    blitPart(x, y, src, dst, nullptr);
    SDL_FreeSurface(src);
}

void blitPartFree(int x, int y, SDL_Surface* src, SDL_Surface* dst, SDL_Rect* srcRect)
{
    blitPart(x, y, src, dst, srcRect);
    SDL_FreeSurface(src);
}

void fillRect(SDL_Surface* dst, int x, int y, int w, int h, int r, int g, int b)
{
    SDL_Rect area = makeRect(x, y, w, h);
    const Uint32 colour = SDL_MapRGB(dst->format, static_cast<Uint8>(r), static_cast<Uint8>(g),
                                     static_cast<Uint8>(b));
    SDL_FillRect(dst, &area, colour);
}

void setAlpha(SDL_Surface* surface, int alpha)
{
    SDL_SetAlpha(surface, SDL_SRCALPHA | SDL_RLEACCEL, static_cast<Uint8>(alpha));
}
