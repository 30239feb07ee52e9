// toolkit.h - a small media toolkit over SDL 1.2, SDL_image, SDL_mixer and SDL_ttf
//
// What it is
//   Plain functions that start and stop the media libraries, remember the
//   display, load assets, blit and fill, touch single pixels, draw simple
//   shapes and transform whole surfaces. Everything runs on the thread that
//   called initMedia; nothing here throws.
//
// Error policy
//   Every message is one line on standard error, written by printError.
//   initMedia reports the library's error text and returns false, undoing
//   nothing. The loaders and openJoystick print a fixed text followed by the
//   path and end the process with exit(1): a demo without its data cannot do
//   anything useful, and callers then never see a null handle. The one
//   exception is a failed conversion to the display format, which returns
//   null. Results of blits, fills and flips are never examined.
//
// The 16-bit rectangle wrap
//   Blits and fills take int positions and sizes but SDL_Rect holds signed
//   16-bit x/y and unsigned 16-bit w/h. Only the low 16 bits survive, with
//   two's-complement wrap and no clamping: x = 65636 draws at 100, x = 40000
//   at -25536 and a width of -1 becomes 65535. A scroller that never resets
//   its position relies on this to come round again.
//
// Colours and pixels
//   r, g, b arguments are 8-bit components (only the low 8 bits count) mapped
//   with SDL_MapRGB in the format of the surface concerned. A pixel value is a
//   raw Uint32 in the target surface's own format, never converted; narrower
//   surfaces keep its low bytes, and 3-byte pixels are stored least
//   significant byte first on every host.
//
// The lock rule
//   getPixel, putPixel and the shapes never lock. Bracket a batch of pixel
//   work with lockSurface ... unlockSurface; they call SDL only when
//   SDL_MUSTLOCK holds, so the bracket may always be written. The transforms
//   lock what they touch themselves. A failed lock ends the process with
//   SDL's error text and status 1.
//
// Who frees what
//   Every handle a loader or openJoystick returns belongs to the caller, who
//   releases it with the library's own call (SDL_FreeSurface, Mix_FreeMusic,
//   Mix_FreeChunk, TTF_CloseFont, SDL_JoystickClose). blitFree and
//   blitPartFree take their source and free it. The display surface belongs
//   to SDL; shutdownMedia hands it back.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>

#include <string>

// --- Start-up and shutdown -------------------------------------------------

// Starts SDL, opens the display, the audio mixer and the font library, in that order.
bool initMedia(const std::string& caption, int width, int height, int depth, int userValue,
               Uint32 videoFlags);
// The display surface from the last initMedia (null before it or after a failed mode set).
SDL_Surface* getScreen();
// The width, height and depth asked of initMedia, not what the display granted.
int getScreenWidth();
int getScreenHeight();
int getScreenDepth();
// The caller's own value given to initMedia, kept uninterpreted.
int getUserValue();
// Frees the display surface, closes audio and fonts, and stops SDL.
void shutdownMedia();
// shutdownMedia, then hands a GP2X back to its menu; returns only when that fails.
void shutdownToMenu();

// --- Messages --------------------------------------------------------------

// Writes text and a newline on standard output.
void printLine(const std::string& text);
// Writes text and a newline on standard error; the program's only message channel.
void printError(const std::string& text);

// --- Loaders (fatal on failure; the caller owns the result) ---------------

// The first joystick, or null when none is attached.
SDL_Joystick* openJoystick();
// A TrueType font at the given point size.
TTF_Font* loadFont(const std::string& path, int pointSize);
// A sound effect sample.
Mix_Chunk* loadSound(const std::string& path);
// A music stream.
Mix_Music* loadMusic(const std::string& path);
// A picture in the display's format; null only when the conversion failed.
SDL_Surface* loadImage(std::string path);
// As loadImage, with r, g, b made the transparent colour key.
SDL_Surface* loadKeyedImage(const std::string& path, int r, int g, int b);

// --- Blits, fills and alpha (position first, then source, then target) -----

// Copies all of src onto dst with its top-left corner at (x, y).
void blit(int x, int y, SDL_Surface* src, SDL_Surface* dst);
// As blit, then frees src whatever the blit did.
void blitFree(int x, int y, SDL_Surface* src, SDL_Surface* dst);
// Copies the srcRect part of src onto dst at (x, y).
void blitPart(int x, int y, SDL_Surface* src, SDL_Surface* dst, SDL_Rect* srcRect);
// As blitPart, then frees src whatever the blit did.
void blitPartFree(int x, int y, SDL_Surface* src, SDL_Surface* dst, SDL_Rect* srcRect);
// Fills a rectangle of dst with the colour r, g, b.
void fillRect(SDL_Surface* dst, int x, int y, int w, int h, int r, int g, int b);
// Gives the surface per-surface alpha (low 8 bits: 0 transparent, 255 opaque).
void setAlpha(SDL_Surface* surface, int alpha);

// --- Pixels ----------------------------------------------------------------

// Locks the surface if SDL requires it for pixel access; exits on failure.
void lockSurface(SDL_Surface* surface);
// Gives back a lock taken by lockSurface.
void unlockSurface(SDL_Surface* surface);
// The raw pixel at (x, y), zero-extended; 0 outside the surface.
Uint32 getPixel(SDL_Surface* surface, int x, int y);
// Stores the low bytes of pixel at (x, y); nothing outside the surface.
void putPixel(SDL_Surface* surface, int x, int y, Uint32 pixel);

// --- Shapes and small helpers ----------------------------------------------

// An integer (Bresenham) line from (x1, y1) to (x2, y2), both ends included.
void drawLine(SDL_Surface* surface, int x1, int y1, int x2, int y2, Uint32 pixel);
// A circle outline of 1280 points sampled by angle.
void drawCircle(SDL_Surface* surface, int cx, int cy, int radius, Uint32 pixel);
// The pixels strictly inside the circle of diameter size in the box at (x, y).
void drawDisc(SDL_Surface* surface, int x, int y, int size, Uint32 pixel);
// True when the rectangles share an area; touching edges do not count.
bool rectsOverlap(const SDL_Rect* a, const SDL_Rect* b);
// base + rand() % span; base itself for a span of 0.
int randomFrom(int base, int span);

// --- Transforms ------------------------------------------------------------

// Turns the surface left to right in place.
void mirrorSurface(SDL_Surface* surface);
// Draws src onto dst turned by whole degrees about (cx, cy); (dstX, dstY) is where src's origin lands at 0.
void rotateDeg(int dstX, int dstY, int cx, int cy, int degrees, SDL_Surface* src, SDL_Surface* dst);
// As rotateDeg with the angle in radians.
void rotateRad(int dstX, int dstY, int cx, int cy, float radians, SDL_Surface* src,
               SDL_Surface* dst);
// As rotateDeg, skipping source pixels equal to key.
void rotateDegKeyed(int dstX, int dstY, int cx, int cy, int degrees, SDL_Surface* src,
                    SDL_Surface* dst, Uint32 key);
// As rotateRad, skipping source pixels equal to key.
void rotateRadKeyed(int dstX, int dstY, int cx, int cy, float radians, SDL_Surface* src,
                    SDL_Surface* dst, Uint32 key);
