// The demo's one scene: two scrolling texts, three glass panes that ripple
// what lies behind them, and two grey guide bars marking the panes' band.
// Drawn from scratch every frame; all motion follows SDL's tick count.
#pragma once

#include "glass_pane.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

class ScrollScene {
public:
    static constexpr int kPaneCount = 3;
    // Sine half, then cosine half.
    static constexpr int kWaveHalf = 15000;
    static constexpr int kWaveTableSize = 2 * kWaveHalf;

    // Loads the font and the pane pictures; a missing file ends the process.
    ScrollScene();
    ~ScrollScene();
    ScrollScene(const ScrollScene&) = delete;
    ScrollScene& operator=(const ScrollScene&) = delete;

    // Texts, then each pane's refraction, picture and move, then the bars on top.
    void drawFrame(SDL_Surface* target);
    // Both texts at the position the clock gives.
    void drawScroller(SDL_Surface* target);
    // The two grey bars that mark the band the panes travel in.
    void drawGuideBars(SDL_Surface* target);
    // Rebuilds the square under the pane from displaced blocks, then draws the pane over it.
    void refractPane(const GlassPane& pane, SDL_Surface* target);
    // One entry of the wave table, as built at construction.
    Sint32 waveEntry(int index) const { return waveTable[index]; }

private:
    GlassPane panes[kPaneCount];
    SDL_Surface* workSurface = nullptr;
    SDL_Surface* firstText = nullptr;
    SDL_Surface* secondText = nullptr;
    TTF_Font* font = nullptr;
    Sint32 waveTable[kWaveTableSize];
};
