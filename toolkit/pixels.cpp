// Single pixels, the lock bracket, three shapes and two small helpers.
#include "toolkit.h"

#include <cmath>
#include <cstdlib>

namespace {

// The circle is sampled, not traced: 0.005 rad steps up to 6.4 give 1280
// points, a little more than one turn, so the outline always closes.
constexpr float kCircleStep = 0.005f;
constexpr double kCircleEnd = 6.4;

bool mustLock(const SDL_Surface* surface) { return SDL_MUSTLOCK(surface); }

bool inside(const SDL_Surface* surface, int x, int y)
{
    return x >= 0 && x < surface->w && y >= 0 && y < surface->h;
}

// Only pitch knows where a row starts; rows may carry padding beyond w.
Uint8* pixelAddress(SDL_Surface* surface, int x, int y)
{
    const int offset = y * surface->pitch + x * surface->format->BytesPerPixel;
    return static_cast<Uint8*>(surface->pixels) + offset;
}

int sign(int value) { return (value > 0) - (value < 0); }

// The one place that knows how each depth lays out a pixel: 1, 2 and 4-byte
// pixels are one machine word; 3-byte pixels are assembled byte by byte,
// least significant first, so the same data reads the same on every host.
// With store set it writes the low bytes of pixel (and returns 0); otherwise
// it returns the pixel there, zero-extended.
Uint32 transferPixel(SDL_Surface* surface, int x, int y, Uint32 pixel, bool store)
{
    if (!inside(surface, x, y)) {
        return 0;
    }
    Uint8* p = pixelAddress(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 1:
        if (!store) {
            return *p;
        }
        *p = Uint8(pixel);
        break;
    case 2:
        if (!store) {
            return *reinterpret_cast<const Uint16*>(p);
        }
        *reinterpret_cast<Uint16*>(p) = Uint16(pixel);
        break;
    case 3:
        if (!store) {
            return Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16;
        }
        p[0] = Uint8(pixel);
        p[1] = Uint8(pixel >> 8);
        p[2] = Uint8(pixel >> 16);
        break;
    case 4:
        if (!store) {
            return *reinterpret_cast<const Uint32*>(p);
        }
        *reinterpret_cast<Uint32*>(p) = pixel;
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

void lockSurface(SDL_Surface* surface)
{
    if (!mustLock(surface)) {
        return;
    }
    if (SDL_LockSurface(surface) < 0) {
        // Drawing on a surface we may not touch would corrupt memory; a demo
        // has nothing better to do than stop.
        printError(SDL_GetError());
        std::exit(1);
    }
}

void unlockSurface(SDL_Surface* surface)
{
    if (mustLock(surface)) {
        SDL_UnlockSurface(surface);
    }
}

Uint32 getPixel(SDL_Surface* surface, int x, int y) { return transferPixel(surface, x, y, 0, false); }

void putPixel(SDL_Surface* surface, int x, int y, Uint32 pixel) { transferPixel(surface, x, y, pixel, true); }

// The minor axis steps only when the error strictly exceeds the major delta,
// which is why a 1-by-1 step stays in its column; callers see the pixels
// exactly as walked from the first end point.
void drawLine(SDL_Surface* surface, int x1, int y1, int x2, int y2, Uint32 pixel)
{
    const int sx = sign(x2 - x1);
    const int sy = sign(y2 - y1);
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    int x = x1;
    int y = y1;
    if (dy < dx) {
        int err = dx / 2;
        while (x != x2) {
            putPixel(surface, x, y, pixel);
            err += dy;
            if (err > dx) {
                err -= dx;
                y += sy;
            }
            x += sx;
        }
    } else {
        int err = dy / 2;
        while (y != y2) {
            putPixel(surface, x, y, pixel);
            err += dx;
            if (err > dy) {
                err -= dy;
                x += sx;
            }
            y += sy;
        }
    }
    putPixel(surface, x, y, pixel);
}

void drawCircle(SDL_Surface* surface, int cx, int cy, int radius, Uint32 pixel)
{
    const double r = radius;
    const double centreX = cx;
    const double centreY = cy;
    // The angle stays in single precision on purpose: its rounding decides
    // where the 1280th point falls.
    float angle = 0.0f;
    do {
        const double y = std::sin(double(angle)) * r + centreY;
        const double x = std::cos(double(angle)) * r + centreX;
        putPixel(surface, static_cast<int>(x), static_cast<int>(y), pixel);
        angle += kCircleStep;
    } while (angle <= kCircleEnd);
}

// Strictly inside the circle of radius size / 2, so row and column 0 of the
// box are never touched and an odd size draws like the even one below it.
void drawDisc(SDL_Surface* surface, int x, int y, int size, Uint32 pixel)
{
    const int d = size / 2;
    for (int i = 1; i < size; ++i) {
        for (int j = 1; j < size; ++j) {
            if (((i - d) * (i - d) + (j - d) * (j - d)) / d < d) {
                putPixel(surface, x + i, y + j, pixel);
            }
        }
    }
}

// Edges are summed in int so that a rectangle near the 16-bit limit does not
// wrap round; strict comparisons make touching rectangles miss.
bool rectsOverlap(const SDL_Rect* a, const SDL_Rect* b)
{
    return a->y + a->h > b->y && a->y < b->y + b->h && a->x + a->w > b->x && a->x < b->x + b->w;
}

int randomFrom(int base, int span)
{
    // An empty range has only its base to give; the remainder would divide by zero.
    if (span == 0) {
        return base;
    }
    return base + std::rand() % span;
}
