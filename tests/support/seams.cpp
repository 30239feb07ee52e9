#include "seams.h"

#include <SDL/SDL_image.h>

extern "C" {
int __real_SDL_Init(Uint32 flags);
SDL_Surface* __real_SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags);
int __real_Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize);
int __real_TTF_Init(void);
void __real_SDL_Quit(void);
void __real_TTF_Quit(void);
void __real_Mix_CloseAudio(void);
Uint32 __real_SDL_GetTicks(void);
SDL_Surface* __real_SDL_DisplayFormat(SDL_Surface* surface);
int __real_SDL_LockSurface(SDL_Surface* surface);
void __real_SDL_UnlockSurface(SDL_Surface* surface);
int __real_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect);
int __real_SDL_FillRect(SDL_Surface* dst, SDL_Rect* dstrect, Uint32 color);
int __real_SDL_Flip(SDL_Surface* screen);
int __real_SDL_PollEvent(SDL_Event* event);
int __real_Mix_PlayMusic(Mix_Music* music, int loops);
Mix_Music* __real_Mix_LoadMUS(const char* file);
void __real_Mix_FreeMusic(Mix_Music* music);
SDL_Surface* __real_SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth,
                                         Uint32 rmask, Uint32 gmask, Uint32 bmask, Uint32 amask);
void __real_SDL_FreeSurface(SDL_Surface* surface);
SDL_Surface* __real_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg);
SDL_Surface* __real_IMG_Load(const char* file);
TTF_Font* __real_TTF_OpenFont(const char* file, int ptsize);
}

namespace seams {

Faults fail;
int grantedDepth = 0;
std::function<Uint32()> clock;
bool feedEvents = false;
std::deque<SDL_Event> events;
std::function<void(int)> onFlip;
int flips = 0;
int lockCalls = 0;
int unlockCalls = 0;
bool record = false;
std::vector<Call> calls;
std::vector<std::string> lifecycle;

void reset()
{
    fail = Faults();
    grantedDepth = 0;
    clock = nullptr;
    feedEvents = false;
    events.clear();
    onFlip = nullptr;
    flips = 0;
    lockCalls = 0;
    unlockCalls = 0;
    record = false;
    calls.clear();
    lifecycle.clear();
}

void setTicks(Uint32 ticks)
{
    clock = [ticks] { return ticks; };
}

SDL_Event keyDown(SDLKey key, SDLMod mod)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event keyUp(SDLKey key)
{
    SDL_Event event = {};
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event quitEvent()
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    return event;
}

SDL_Event joyButton(Uint8 which, Uint8 button, bool pressed)
{
    SDL_Event event = {};
    event.type = pressed ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.type = event.type;
    event.jbutton.which = which;
    event.jbutton.button = button;
    event.jbutton.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

} // namespace seams

using namespace seams;

namespace {

void note(const char* name, SDL_Surface* src = nullptr, SDL_Surface* dst = nullptr)
{
    if (record) {
        Call call;
        call.name = name;
        call.src = src;
        call.dst = dst;
        calls.push_back(call);
    }
}

} // namespace

extern "C" {

int __wrap_SDL_Init(Uint32 flags)
{
    lifecycle.push_back("SDL_Init");
    if (fail.sdlInit) {
        SDL_SetError("injected SDL_Init failure");
        return -1;
    }
    return __real_SDL_Init(flags);
}

SDL_Surface* __wrap_SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    lifecycle.push_back("SDL_SetVideoMode " + std::to_string(width) + "x" + std::to_string(height) +
                        "x" + std::to_string(bpp) + " flags " + std::to_string(flags));
    if (fail.setVideoMode) {
        SDL_SetError("injected SDL_SetVideoMode failure");
        return nullptr;
    }
    return __real_SDL_SetVideoMode(width, height, grantedDepth != 0 ? grantedDepth : bpp, flags);
}

int __wrap_Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize)
{
    lifecycle.push_back("Mix_OpenAudio " + std::to_string(frequency) + " " + std::to_string(format) +
                        " " + std::to_string(channels) + " " + std::to_string(chunksize));
    if (fail.openAudio) {
        SDL_SetError("injected Mix_OpenAudio failure");
        return -1;
    }
    return __real_Mix_OpenAudio(frequency, format, channels, chunksize);
}

int __wrap_TTF_Init(void)
{
    lifecycle.push_back("TTF_Init");
    if (fail.ttfInit) {
        SDL_SetError("injected TTF_Init failure");
        return -1;
    }
    return __real_TTF_Init();
}

void __wrap_SDL_Quit(void)
{
    lifecycle.push_back("SDL_Quit");
    note("SDL_Quit");
    __real_SDL_Quit();
}

void __wrap_TTF_Quit(void)
{
    lifecycle.push_back("TTF_Quit");
    __real_TTF_Quit();
}

void __wrap_Mix_CloseAudio(void)
{
    lifecycle.push_back("Mix_CloseAudio");
    __real_Mix_CloseAudio();
}

Uint32 __wrap_SDL_GetTicks(void)
{
    return clock ? clock() : __real_SDL_GetTicks();
}

SDL_Surface* __wrap_SDL_DisplayFormat(SDL_Surface* surface)
{
    if (fail.displayFormat) {
        SDL_SetError("injected SDL_DisplayFormat failure");
        return nullptr;
    }
    return __real_SDL_DisplayFormat(surface);
}

int __wrap_SDL_LockSurface(SDL_Surface* surface)
{
    ++lockCalls;
    note("lock", surface);
    if (fail.lock) {
        SDL_SetError("injected lock failure");
        return -1;
    }
    return __real_SDL_LockSurface(surface);
}

void __wrap_SDL_UnlockSurface(SDL_Surface* surface)
{
    ++unlockCalls;
    note("unlock", surface);
    __real_SDL_UnlockSurface(surface);
}

int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    if (record) {
        Call call;
        call.name = "blit";
        call.src = src;
        call.dst = dst;
        call.hasSrcRect = srcrect != nullptr;
        if (srcrect != nullptr) {
            call.srcRect = *srcrect;
        }
        if (dstrect != nullptr) {
            call.dstRect = *dstrect;
        }
        calls.push_back(call);
    }
    return __real_SDL_UpperBlit(src, srcrect, dst, dstrect);
}

int __wrap_SDL_FillRect(SDL_Surface* dst, SDL_Rect* dstrect, Uint32 color)
{
    if (record) {
        Call call;
        call.name = "fill";
        call.dst = dst;
        call.colour = color;
        call.wholeSurface = dstrect == nullptr;
        if (dstrect != nullptr) {
            call.dstRect = *dstrect;
        }
        calls.push_back(call);
    }
    return __real_SDL_FillRect(dst, dstrect, color);
}

int __wrap_SDL_Flip(SDL_Surface* screen)
{
    note("flip", nullptr, screen);
    const int result = __real_SDL_Flip(screen);
    ++flips;
    if (onFlip) {
        onFlip(flips);
    }
    return result;
}

int __wrap_SDL_PollEvent(SDL_Event* event)
{
    if (!feedEvents) {
        return __real_SDL_PollEvent(event);
    }
    note("poll");
    if (events.empty()) {
        return 0;
    }
    if (event != nullptr) {
        *event = events.front();
    }
    events.pop_front();
    return 1;
}

int __wrap_Mix_PlayMusic(Mix_Music* music, int loops)
{
    lifecycle.push_back("Mix_PlayMusic " + std::to_string(loops));
    if (fail.playMusic) {
        Mix_SetError("injected Mix_PlayMusic failure");
        return -1;
    }
    return __real_Mix_PlayMusic(music, loops);
}

Mix_Music* __wrap_Mix_LoadMUS(const char* file)
{
    lifecycle.push_back(std::string("Mix_LoadMUS ") + file);
    return __real_Mix_LoadMUS(file);
}

void __wrap_Mix_FreeMusic(Mix_Music* music)
{
    lifecycle.push_back("Mix_FreeMusic");
    __real_Mix_FreeMusic(music);
}

SDL_Surface* __wrap_SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth,
                                         Uint32 rmask, Uint32 gmask, Uint32 bmask, Uint32 amask)
{
    if (fail.createSurface) {
        SDL_SetError("injected SDL_CreateRGBSurface failure");
        return nullptr;
    }
    SDL_Surface* made = __real_SDL_CreateRGBSurface(flags, width, height, depth, rmask, gmask, bmask, amask);
    note("create", made);
    return made;
}

void __wrap_SDL_FreeSurface(SDL_Surface* surface)
{
    note("free", surface);
    if (surface != nullptr) {
        lifecycle.push_back("SDL_FreeSurface");
    }
    __real_SDL_FreeSurface(surface);
}

SDL_Surface* __wrap_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg)
{
    SDL_Surface* made = __real_TTF_RenderText_Solid(font, text, fg);
    note("render", made);
    return made;
}

SDL_Surface* __wrap_IMG_Load(const char* file)
{
    lifecycle.push_back(std::string("IMG_Load ") + file);
    return __real_IMG_Load(file);
}

} // extern "C"

extern "C" TTF_Font* __wrap_TTF_OpenFont(const char* file, int ptsize)
{
    seams::lifecycle.push_back(std::string("TTF_OpenFont ") + file + " " + std::to_string(ptsize));
    return __real_TTF_OpenFont(file, ptsize);
}
