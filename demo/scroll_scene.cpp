#include "scroll_scene.h"

#include "edition.h"
#include "toolkit.h"

#include <cmath>

namespace {

const char* const kFontPath = "res/bigFont.ttf";
constexpr int kFontPoints = 60;
constexpr SDL_Color kTextColour = {250, 250, 250, 0};
// The texts' top edge sits this far above the middle of the screen.
constexpr int kTextRaise = 48;
// One pixel of scroll every 6 ms, whatever the frame rate.
constexpr Uint32 kMsPerScrollPixel = 6;

constexpr Uint8 kBarGrey = 170;
constexpr int kBandTop = 125;
constexpr int kBandBottom = 475;
constexpr Uint16 kBarHeight = 5;

struct PaneSetup {
    const char* path;
    int startX;
    int startY;
};
// One behind the other, left of the screen, so they slide in one after another.
constexpr PaneSetup kPaneSetups[ScrollScene::kPaneCount] = {
    {"res/glass.dat", -170, 150},
    {"res/glass2.dat", -400, 250},
    {"res/glass3.dat", -630, 200},
};
constexpr int kPaneSize = 120;
constexpr int kWorkDepth = 16;

constexpr int kBlockSize = 10;
// Offsets are a tenth of the table's amplitude of 120: at most 12 pixels.
constexpr Sint32 kOffsetDivisor = 10;
// The phase advances by one table entry every 5 ms.
constexpr Uint32 kMsPerPhaseStep = 5;
// How far each block's two offsets move through the table per row and per
// column: the vertical wave repeats about every 250 rows and 100 columns,
// the horizontal one about every 67 rows and 167 columns.
constexpr Uint32 kDyRowStep = 4;
constexpr Uint32 kDyColStep = 10;
constexpr Uint32 kDxRowStep = 15;
constexpr Uint32 kDxColStep = 6;
constexpr double kWaveAmplitude = 120.0;
// The table steps by 3.1415 / 500 radians: 3.1415 as written, not pi, so a
// period spans about 1000.03 entries rather than exactly 1000.
constexpr double kWaveAngleStep = 3.1415 / 500;

// Where a text's left edge lies now. The subtraction wraps modulo 2^32 and
// blit keeps only the low 16 bits, so the scroll repeats every 65536 * 6 ms
// without anything ever resetting it.
Uint32 scrollX()
{
    return static_cast<Uint32>(getScreenWidth()) - SDL_GetTicks() / kMsPerScrollPixel;
}

} // namespace

ScrollScene::ScrollScene()
{
    workSurface = SDL_CreateRGBSurface(SDL_HWSURFACE, kPaneSize, kPaneSize, kWorkDepth, 0, 0, 0, 0);
    font = loadFont(kFontPath, kFontPoints);
    firstText = TTF_RenderText_Solid(font, kEdition.firstMessage, kTextColour);
    secondText = TTF_RenderText_Solid(font, kEdition.secondMessage, kTextColour);
    for (int i = 0; i < kPaneCount; ++i) {
        panes[i].load(kPaneSize, kBandTop, kBandBottom, kPaneSetups[i].path);
        panes[i].setPosition(kPaneSetups[i].startX, kPaneSetups[i].startY);
    }
    for (int i = 0; i < kWaveHalf; ++i) {
        const double angle = i * kWaveAngleStep;
        waveTable[i] = static_cast<Sint32>(std::sin(angle) * kWaveAmplitude);
        waveTable[kWaveHalf + i] = static_cast<Sint32>(std::cos(angle) * kWaveAmplitude);
    }
}

ScrollScene::~ScrollScene()
{
    SDL_FreeSurface(workSurface);
    SDL_FreeSurface(firstText);
    SDL_FreeSurface(secondText);
    // The panes go after this body, last one first; the font stays open.
}

void ScrollScene::drawFrame(SDL_Surface* target)
{
    drawScroller(target);
    for (GlassPane& pane : panes) {
        refractPane(pane, target);
        pane.move();
    }
    drawGuideBars(target);
}

void ScrollScene::drawScroller(SDL_Surface* target)
{
    const Uint32 now = SDL_GetTicks();
    const int y = getScreenHeight() / 2 - kTextRaise;
    blit(static_cast<int>(scrollX()), y, firstText, target);
    if (now >= kEdition.secondMessageStart) {
        const Uint32 x = scrollX() + static_cast<Uint32>(kEdition.secondMessageOffset);
        blit(static_cast<int>(x), y, secondText, target);
    }
}

void ScrollScene::drawGuideBars(SDL_Surface* target)
{
    const Uint16 width = static_cast<Uint16>(getScreenWidth());
    for (int top : {kBandTop, kBandBottom}) {
        SDL_Rect bar = {0, static_cast<Sint16>(top), width, kBarHeight};
        SDL_FillRect(target, &bar, SDL_MapRGB(getScreen()->format, kBarGrey, kBarGrey, kBarGrey));
    }
}

void ScrollScene::refractPane(const GlassPane& pane, SDL_Surface* target)
{
    // Without a work surface the pane is still drawn, only unbent.
    if (workSurface != nullptr) {
        SDL_FillRect(workSurface, nullptr, SDL_MapRGB(getScreen()->format, 0, 0, 0));
        // Reduced in unsigned arithmetic, so every index stays inside its half
        // of the table at any tick count, across the 2^32 wrap included.
        const Uint32 phase = SDL_GetTicks() / kMsPerPhaseStep % kWaveHalf;
        const SDL_Rect square = pane.getPosition();
        for (Uint32 row = 0; row < static_cast<Uint32>(kPaneSize); ++row) {
            for (Uint32 col = 0; col < static_cast<Uint32>(kPaneSize); ++col) {
                const Uint32 sineIndex = (phase + kDyRowStep * row + kDyColStep * col) % kWaveHalf;
                const Uint32 cosineIndex = (phase + kDxRowStep * row + kDxColStep * col) % kWaveHalf;
                const Sint32 dy = waveTable[sineIndex] / kOffsetDivisor;
                const Sint32 dx = waveTable[kWaveHalf + cosineIndex] / kOffsetDivisor;
                SDL_Rect block = {static_cast<Sint16>(square.x + col), static_cast<Sint16>(square.y + row),
                                  kBlockSize, kBlockSize};
                // Later blocks land over earlier ones: each work pixel keeps the last block that reached it.
                blitPart(static_cast<int>(col) + dx, static_cast<int>(row) + dy, target, workSurface, &block);
            }
        }
        blit(square.x, square.y, workSurface, target);
    }
    pane.draw(target);
}
