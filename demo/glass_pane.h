// One translucent square of glass that drifts diagonally and bounces: across
// the whole width of the screen and, vertically, between two limits.
#pragma once

#include <SDL/SDL.h>

#include <string>

class GlassPane {
public:
    GlassPane() = default;
    ~GlassPane();
    GlassPane(const GlassPane&) = delete;
    GlassPane& operator=(const GlassPane&) = delete;

    // Loads the picture (fatal if missing), makes it translucent and sets the bounce geometry.
    void load(int size, int minY, int maxY, const std::string& path);
    // Places the top-left corner; each coordinate keeps its low 16 bits.
    void setPosition(int x, int y);
    // The square used for bouncing: position and the size given to load.
    SDL_Rect getPosition() const;
    // Draws the whole picture at the pane's position.
    void draw(SDL_Surface* target) const;
    // One step on each axis, at most once every 11 ms of the clock.
    void move();

private:
    SDL_Surface* image = nullptr;
    SDL_Rect bounds = {0, 0, 0, 0}; // x, y, width, height
    Sint32 stepY = 1;
    Sint32 stepX = 1;
    Uint32 lastMoveTicks = 0;
    Sint32 minY = 0;
    Sint32 maxY = 0;
};
