#include "glass_pane.h"

#include "toolkit.h"

namespace {

constexpr int kPaneAlpha = 175;
// A pane moves only when more than this many milliseconds have passed, so
// its speed does not depend on the frame rate while frames come faster.
constexpr Uint32 kMoveIntervalMs = 10;

} // namespace

GlassPane::~GlassPane() { SDL_FreeSurface(image); }

void GlassPane::load(int size, int minY, int maxY, const std::string& path)
{
    image = loadImage(path);
    // A picture that could not be converted stays missing: the pane then draws nothing.
    if (image != nullptr) {
        setAlpha(image, kPaneAlpha);
    }
    bounds.w = static_cast<Uint16>(size);
    bounds.h = static_cast<Uint16>(size);
    this->minY = minY;
    this->maxY = maxY;
}

void GlassPane::setPosition(int x, int y)
{
    bounds.x = static_cast<Sint16>(x);
    bounds.y = static_cast<Sint16>(y);
}

SDL_Rect GlassPane::getPosition() const { return bounds; }

void GlassPane::draw(SDL_Surface* target) const
{
    if (image != nullptr) {
        blit(bounds.x, bounds.y, image, target);
    }
}

void GlassPane::move()
{
    // Unsigned difference: stays right across the wrap of the tick count.
    if (SDL_GetTicks() - lastMoveTicks <= kMoveIntervalMs) {
        return;
    }
    const int x = bounds.x;
    const int y = bounds.y;
    // The limits are tested before the step, so a pane overshoots each by one pixel before it turns.
    if (y < minY || y > maxY - static_cast<int>(bounds.h)) {
        stepY = -stepY;
    }
    // Left of the screen always means "head right": a plain reversal would
    // leave a pane that starts off screen stepping back and forth on the spot.
    if (x < 0) {
        stepX = 1;
    } else if (x > getScreenWidth() - static_cast<int>(bounds.w)) {
        stepX = -stepX;
    }
    lastMoveTicks = SDL_GetTicks();
    bounds.y = static_cast<Sint16>(y + stepY);
    bounds.x = static_cast<Sint16>(x + stepX);
}
