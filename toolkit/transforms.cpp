// Whole-surface transforms: a left-right mirror and forward-mapped rotations.
#include "toolkit.h"

#include <cmath>

namespace {

// Not pi: the degree variants have always turned by this factor, so a quarter
// turn falls a hair short and truncation can leave a pixel one row or column
// away from its exact place. Changing it would move every rotated picture.
constexpr double kRoughPi = 3.1415;

float degreesToRadians(int degrees) { return static_cast<float>(degrees * kRoughPi / 180); }

// Maps each source pixel forwards to one destination pixel. Nothing fills the
// holes this leaves at odd angles, and where two source pixels meet the later
// one in row-major order wins. The source is read while dst is written, with
// no copy, so rotating a surface onto itself reads back its own fresh writes.
void rotate(int dstX, int dstY, int cx, int cy, float angle, SDL_Surface* src, SDL_Surface* dst,
            bool keyed, Uint32 key)
{
    const double c = std::cos(double(angle));
    const double s = std::sin(double(angle));
    const float pivotX = static_cast<float>(cx);
    const float pivotY = static_cast<float>(cy);

    lockSurface(src);
    lockSurface(dst);
    for (int i = 0; i < src->h; ++i) {
        for (int j = 0; j < src->w; ++j) {
            const double dx = j - cx;
            const double dy = i - cy;
            // The single-precision stores are part of the result: they decide
            // which side of a pixel edge a rotated point truncates to.
            float rx = static_cast<float>(c * dx - s * dy);
            float ry = static_cast<float>(s * dx + c * dy);
            rx = rx + pivotX;
            ry = ry + pivotY;
            const int x = static_cast<int>(dstX + double(rx));
            const int y = static_cast<int>(dstY + double(ry));
            const Uint32 value = getPixel(src, j, i);
            if (keyed && value == key) {
                continue;
            }
            putPixel(dst, x, y, value);
        }
    }
    unlockSurface(dst);
    unlockSurface(src);
}

} // namespace

void mirrorSurface(SDL_Surface* surface)
{
    lockSurface(surface);
    const int half = surface->w / 2;
    for (int i = 0; i < surface->h; ++i) {
        for (int j = 0; j < half; ++j) {
            const int k = surface->w - 1 - j;
            const Uint32 a = getPixel(surface, j, i);
            const Uint32 b = getPixel(surface, k, i);
            putPixel(surface, j, i, b);
            putPixel(surface, k, i, a);
        }
    }
    unlockSurface(surface);
}

void rotateDeg(int dstX, int dstY, int cx, int cy, int degrees, SDL_Surface* src, SDL_Surface* dst)
{
    rotate(dstX, dstY, cx, cy, degreesToRadians(degrees), src, dst, false, 0);
}

void rotateRad(int dstX, int dstY, int cx, int cy, float radians, SDL_Surface* src,
               SDL_Surface* dst)
{
    rotate(dstX, dstY, cx, cy, radians, src, dst, false, 0);
}

void rotateDegKeyed(int dstX, int dstY, int cx, int cy, int degrees, SDL_Surface* src,
                    SDL_Surface* dst, Uint32 key)
{
    rotate(dstX, dstY, cx, cy, degreesToRadians(degrees), src, dst, true, key);
}

void rotateRadKeyed(int dstX, int dstY, int cx, int cy, float radians, SDL_Surface* src,
                    SDL_Surface* dst, Uint32 key)
{
    rotate(dstX, dstY, cx, cy, radians, src, dst, true, key);
}
