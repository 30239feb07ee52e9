// Seams into the media libraries for tests. Test programs are linked with
// --wrap for each function below, so every call the toolkit or the demo makes
// reaches these stand-ins first. By default they pass straight through to the
// real library; a test switches on a fault, a clock or an event feed, and
// calls seams::reset() in its set-up.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace seams {

struct Faults {
    bool sdlInit = false;       // SDL_Init returns -1
    bool setVideoMode = false;  // SDL_SetVideoMode returns null
    bool openAudio = false;     // Mix_OpenAudio returns -1
    bool ttfInit = false;       // TTF_Init returns -1
    bool displayFormat = false; // SDL_DisplayFormat returns null
    bool lock = false;          // SDL_LockSurface returns -1
    bool playMusic = false;     // Mix_PlayMusic returns -1
    bool createSurface = false; // SDL_CreateRGBSurface returns null
};

// One library call, in the order made, while recording is on.
struct Call {
    std::string name;          // "blit", "fill", "free", "flip", "create", "render", "lock", ...
    SDL_Surface* src = nullptr;
    SDL_Surface* dst = nullptr;
    bool hasSrcRect = false;
    SDL_Rect srcRect = {0, 0, 0, 0};
    SDL_Rect dstRect = {0, 0, 0, 0}; // as passed, before SDL clips it
    Uint32 colour = 0;
    bool wholeSurface = false;       // a fill with no rectangle
};

extern Faults fail;
extern int grantedDepth;            // when non-zero, the display is opened at this depth instead
extern std::function<Uint32()> clock; // when set, SDL_GetTicks() returns its value
extern bool feedEvents;             // when true, SDL_PollEvent takes from `events` only
extern std::deque<SDL_Event> events;
extern std::function<void(int)> onFlip; // called after each flip with the flip count so far
extern int flips;
extern int lockCalls;
extern int unlockCalls;
extern bool record;
extern std::vector<Call> calls;
extern std::vector<std::string> lifecycle; // init and quit calls of the libraries, music calls

void reset();
void setTicks(Uint32 ticks); // a clock standing still at ticks
SDL_Event keyDown(SDLKey key, SDLMod mod = KMOD_NONE);
SDL_Event keyUp(SDLKey key);
SDL_Event quitEvent();
SDL_Event joyButton(Uint8 which, Uint8 button, bool pressed);

} // namespace seams
