// The glass refraction: the wave table, the block offsets, the rebuilt square
// compared pixel for pixel with a model written here, a scene without its
// work surface, and the drawing order of a whole frame.
#include "scroll_scene.h"
#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;
constexpr int kSquare = 120;
constexpr int kBlock = 10;
constexpr int kHalf = 15000;
constexpr int kBlocks = kSquare * kSquare;
constexpr Uint16 kBlack = 0; // black in any 16-bit RGB layout

// --- The model ----------------------------------------------------------------

// A 16-bit picture held by the test.
struct Picture {
    int w = 0;
    int h = 0;
    std::vector<Uint16> px;
    Picture(int width, int height, Uint16 fill) : w(width), h(height), px(width * height, fill) {}
    Uint16& at(int x, int y) { return px[y * w + x]; }
    Uint16 at(int x, int y) const { return px[y * w + x]; }
};

// SDL 1.2's clipping blit between two surfaces of one pixel format: the
// source rectangle is cut to the source, moving the destination point by
// what was cut at the left or top; then the destination is cut to the
// target, moving the source point the same way.
void clippedCopy(const Picture& src, bool hasRect, SDL_Rect rect, Picture& dst, int toX, int toY)
{
    int sx = 0, sy = 0, w = src.w, h = src.h;
    if (hasRect) {
        sx = rect.x;
        w = rect.w;
        if (sx < 0) {
            w += sx;
            toX -= sx;
            sx = 0;
        }
        w = std::min(w, src.w - sx);
        sy = rect.y;
        h = rect.h;
        if (sy < 0) {
            h += sy;
            toY -= sy;
            sy = 0;
        }
        h = std::min(h, src.h - sy);
    }
    if (toX < 0) {
        w += toX;
        sx -= toX;
        toX = 0;
    }
    w = std::min(w, dst.w - toX);
    if (toY < 0) {
        h += toY;
        sy -= toY;
        toY = 0;
    }
    h = std::min(h, dst.h - toY);
    for (int v = 0; v < h; ++v) {
        for (int u = 0; u < w; ++u) {
            dst.at(toX + u, toY + v) = src.at(sx + u, sy + v);
        }
    }
}

// sin and cos of i * 3.1415 / 500, times 120, truncated toward zero.
struct Wave {
    std::vector<int> sine, cosine;
    Wave()
    {
        for (int i = 0; i < kHalf; ++i) {
            sine.push_back(static_cast<int>(std::sin(i * 3.1415 / 500) * 120));
            cosine.push_back(static_cast<int>(std::cos(i * 3.1415 / 500) * 120));
        }
    }
};

// The screen after one refraction pass of a pane at (x, y) that draws no picture.
void refractModel(Picture& screen, int x, int y, Uint32 ticks)
{
    static const Wave wave;
    Picture work(kSquare, kSquare, kBlack);
    for (Uint32 row = 0; row < kSquare; ++row) {
        for (Uint32 col = 0; col < kSquare; ++col) {
            const int dy = wave.sine[(ticks / 5 + 4 * row + 10 * col) % kHalf] / 10;
            const int dx = wave.cosine[(ticks / 5 + 15 * row + 6 * col) % kHalf] / 10;
            const SDL_Rect block = {static_cast<Sint16>(x + static_cast<int>(col)),
                                    static_cast<Sint16>(y + static_cast<int>(row)), kBlock, kBlock};
            clippedCopy(screen, true, block, work, static_cast<int>(col) + dx, static_cast<int>(row) + dy);
        }
    }
    clippedCopy(work, false, SDL_Rect{}, screen, x, y);
}

// --- The real screen ------------------------------------------------------------

// A different value at nearly every pixel, never black, so a misplaced
// pixel or a stray black one shows.
Uint16 texture(int x, int y, Uint32 seed)
{
    Uint32 h = static_cast<Uint32>(x) * 73856093u ^ static_cast<Uint32>(y) * 19349663u ^ seed * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<Uint16>(h % 65535 + 1);
}

Picture paintScreen(Uint32 seed)
{
    SDL_Surface* screen = getScreen();
    Picture picture(kScreenW, kScreenH, kBlack);
    Uint16* pixels = static_cast<Uint16*>(screen->pixels);
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            picture.at(x, y) = texture(x, y, seed);
            pixels[y * (screen->pitch / 2) + x] = picture.at(x, y);
        }
    }
    return picture;
}

Picture readScreen()
{
    SDL_Surface* screen = getScreen();
    Picture picture(kScreenW, kScreenH, kBlack);
    const Uint16* pixels = static_cast<const Uint16*>(screen->pixels);
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            picture.at(x, y) = pixels[y * (screen->pitch / 2) + x];
        }
    }
    return picture;
}

// Empty when the two agree; otherwise the first differing pixel and how many differ.
std::string firstMismatch(const Picture& want, const Picture& got)
{
    int count = 0;
    std::string first;
    for (int y = 0; y < want.h; ++y) {
        for (int x = 0; x < want.w; ++x) {
            if (want.at(x, y) != got.at(x, y)) {
                if (count++ == 0) {
                    char text[120];
                    std::snprintf(text, sizeof text, "pixel (%d, %d): expected 0x%04x, got 0x%04x", x, y,
                                  want.at(x, y), got.at(x, y));
                    first = text;
                }
            }
        }
    }
    return count == 0 ? "" : first + " (" + std::to_string(count) + " pixels differ)";
}

std::string rectText(const SDL_Rect& r)
{
    std::ostringstream out;
    out << "(" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ")";
    return out.str();
}

// --- Fixture ------------------------------------------------------------------

// A scene built with its construction recorded, so the test knows its surfaces.
struct RecordedScene {
    std::unique_ptr<ScrollScene> scene;
    SDL_Surface* work = nullptr;
    std::vector<SDL_Surface*> texts;

    RecordedScene()
    {
        seams::record = true;
        seams::calls.clear();
        scene = std::make_unique<ScrollScene>();
        seams::record = false;
        for (const seams::Call& call : seams::calls) {
            if (call.name == "create") {
                work = call.src;
            } else if (call.name == "render") {
                texts.push_back(call.src);
            }
        }
        seams::calls.clear();
    }
};

class RefractionTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        seams::reset();
        ASSERT_TRUE(initMedia("refraction test", kScreenW, kScreenH, 16, 0, 0));
        built = new RecordedScene;
    }
    static void TearDownTestSuite()
    {
        delete built;
        shutdownMedia();
    }
    void SetUp() override
    {
        seams::reset();
        // A pane whose picture could not be converted draws nothing, so the
        // screen after its pass is the refraction alone.
        seams::fail.displayFormat = true;
        blind.load(kSquare, 125, 475, "res/glass.dat");
        seams::fail.displayFormat = false;
    }

    static ScrollScene& scene() { return *built->scene; }

    static RecordedScene* built;
    GlassPane blind;
};

RecordedScene* RefractionTest::built = nullptr;

TEST_F(RefractionTest, WaveTableEntries)
{
    struct Entry {
        int index;
        Sint32 value;
    };
    const Entry entries[] = {
        {0, 0},       {1, 0},         {2, 1},     {250, 119},     {500, 0},    {750, -119},
        {15000, 120}, {15001, 119}, {15250, 0}, {15500, -119},
    };
    for (const Entry& e : entries) {
        EXPECT_EQ(e.value, scene().waveEntry(e.index)) << "wave table entry " << e.index;
    }
}

TEST_F(RefractionTest, BlockOffsetIsATenthOfTheTableValueTruncatedTowardZero)
{
    // Block (0, 0) is the first copy of a pass; at phase p it reads sine entry p
    // for its vertical offset and cosine entry 15000 + p for its horizontal one,
    // and lands at (dx, dy), as passed to the blit before any clipping.
    struct Case {
        Sint32 tableValue;
        int offset;
    };
    const Case cases[] = {{9, 0}, {10, 1}, {19, 1}, {-9, 0}, {-10, -1}, {-119, -11}, {120, 12}};
    blind.setPosition(300, 200);
    for (const Case& c : cases) {
        int checked = 0;
        for (int half = 0; half < 2; ++half) {
            int phase = 0;
            while (phase < kHalf && scene().waveEntry(half * kHalf + phase) != c.tableValue) {
                ++phase;
            }
            if (phase == kHalf) {
                continue;
            }
            ++checked;
            seams::setTicks(static_cast<Uint32>(phase) * 5);
            seams::record = true;
            seams::calls.clear();
            scene().refractPane(blind, getScreen());
            seams::record = false;
            const seams::Call* first = nullptr;
            for (const seams::Call& call : seams::calls) {
                if (call.name == "blit" && call.hasSrcRect) {
                    first = &call;
                    break;
                }
            }
            ASSERT_NE(nullptr, first) << "no block copy at tick count " << phase * 5;
            const int got = half == 0 ? first->dstRect.y : first->dstRect.x;
            EXPECT_EQ(c.offset, got) << (half == 0 ? "dy from sine" : "dx from cosine") << " entry "
                                     << half * kHalf + phase << " = " << c.tableValue << " (tick count "
                                     << phase * 5 << ")";
        }
        EXPECT_GT(checked, 0) << "no table entry holds " << c.tableValue;
    }
}

TEST_F(RefractionTest, RebuiltSquareMatchesTheModel)
{
    ASSERT_NE(nullptr, built->work);
    const SDL_PixelFormat* a = built->work->format;
    const SDL_PixelFormat* b = getScreen()->format;
    // The model copies raw pixels, as SDL does between surfaces of one layout.
    ASSERT_EQ(16, b->BitsPerPixel);
    ASSERT_TRUE(a->BitsPerPixel == b->BitsPerPixel && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
                a->Bmask == b->Bmask)
        << "work surface and screen differ in pixel layout";

    struct Place {
        const char* what;
        int x, y;
    };
    const Place places[] = {
        {"middle", 340, 240},
        {"partly off the left edge", -50, 200},
        {"one column on screen", -119, 300},
        {"partly off the right edge", 740, 200},
        {"one column on screen at the right", 799, 250},
        {"partly off the top", 300, -40},
        {"partly off the bottom", 300, 540},
        {"off the top-left corner", -60, -60},
        {"off the bottom-right corner", 700, 520},
        {"next to the corner, inside", 0, 0},
    };
    const Uint32 tickCounts[] = {0u, 4u, 5u, 2147483647u, 2147483648u, 4294967295u};
    Uint32 seed = 0;
    for (const Place& place : places) {
        for (Uint32 ticks : tickCounts) {
            Picture model = paintScreen(++seed);
            blind.setPosition(place.x, place.y);
            seams::setTicks(ticks);
            scene().refractPane(blind, getScreen());
            refractModel(model, place.x, place.y, ticks);
            EXPECT_EQ("", firstMismatch(model, readScreen()))
                << "pane " << place.what << " at (" << place.x << ", " << place.y << "), tick count " << ticks;
        }
    }
}

TEST_F(RefractionTest, APaneWhollyOffTheScreenLeavesItUnchanged)
{
    struct Place {
        int x, y;
    };
    const Place places[] = {{-120, 200}, {-121, 200}, {-500, 300}, {800, 200}, {300, 600}, {300, -120}};
    for (const Place& place : places) {
        const Picture before = paintScreen(place.x * 7 + place.y);
        blind.setPosition(place.x, place.y);
        seams::setTicks(12345);
        scene().refractPane(blind, getScreen());
        EXPECT_EQ("", firstMismatch(before, readScreen()))
            << "pane at (" << place.x << ", " << place.y << ") should leave the screen as it was";
    }
}

TEST_F(RefractionTest, ALaterPaneBendsWhatAnEarlierPaneDrew)
{
    Picture model = paintScreen(77);
    GlassPane glass;
    glass.load(kSquare, 125, 475, "res/glass.dat");
    glass.setPosition(300, 250);
    seams::setTicks(1000);
    scene().refractPane(glass, getScreen());
    refractModel(model, 300, 250, 1000);
    const Picture afterFirst = readScreen();
    // The first pass ends with the translucent picture over its square.
    ASSERT_NE("", firstMismatch(model, afterFirst)) << "the first pane's picture left no trace";

    blind.setPosition(360, 300);
    seams::setTicks(1237);
    scene().refractPane(blind, getScreen());
    Picture second = afterFirst;
    refractModel(second, 360, 300, 1237);
    EXPECT_EQ("", firstMismatch(second, readScreen()))
        << "pane at (360, 300), tick count 1237, over a pane drawn at (300, 250) at tick count 1000";
}

TEST_F(RefractionTest, WithoutAWorkSurfaceAFrameStillDrawsThePanes)
{
    seams::fail.createSurface = true;
    RecordedScene broken;
    seams::fail.createSurface = false;
    ASSERT_EQ(nullptr, broken.work);

    seams::setTicks(100000);
    seams::record = true;
    broken.scene->drawFrame(getScreen());
    seams::record = false;

    const SDL_Rect starts[] = {{-170, 150, 0, 0}, {-400, 250, 0, 0}, {-630, 200, 0, 0}};
    std::vector<SDL_Rect> panes;
    for (const seams::Call& call : seams::calls) {
        EXPECT_FALSE(call.name == "blit" && call.hasSrcRect) << "a block copy without a work surface";
        EXPECT_FALSE(call.name == "fill" && call.wholeSurface) << "a fill of a missing work surface";
        const bool text = call.src == broken.texts.at(0) || call.src == broken.texts.at(1);
        if (call.name == "blit" && !text) {
            EXPECT_EQ(getScreen(), call.dst);
            panes.push_back(call.dstRect);
        }
    }
    ASSERT_EQ(3u, panes.size()) << "expected the three pane pictures drawn";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[i].x, panes[i].x) << "pane " << i + 1;
        EXPECT_EQ(starts[i].y, panes[i].y) << "pane " << i + 1;
    }
}

TEST_F(RefractionTest, AFrameDrawsTextsThenEachPaneThenTheBars)
{
    RecordedScene fresh;
    ASSERT_EQ(2u, fresh.texts.size());
    SDL_Surface* const screen = getScreen();
    const SDL_Rect starts[] = {{-170, 150, 0, 0}, {-400, 250, 0, 0}, {-630, 200, 0, 0}};

    // Each frame shows the panes where they stood before its moves: the second
    // frame, at the same tick count, shows each one step further.
    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame + 1) + " at tick count 100000");
        seams::setTicks(100000);
        seams::record = true;
        seams::calls.clear();
        fresh.scene->drawFrame(screen);
        seams::record = false;
        const std::vector<seams::Call>& calls = seams::calls;
        size_t at = 0;
        auto next = [&](const char* what) -> const seams::Call& {
            if (at >= calls.size()) {
                ADD_FAILURE() << "expected " << what << ", got the end of the frame after " << at << " calls";
                static const seams::Call none;
                return none;
            }
            return calls[at++];
        };

        for (int t = 0; t < 2; ++t) {
            const seams::Call& call = next("a text");
            EXPECT_EQ("blit", call.name) << "call " << at - 1;
            EXPECT_EQ(fresh.texts[t], call.src) << "call " << at - 1 << ": expected text " << t + 1;
            EXPECT_EQ(screen, call.dst) << "call " << at - 1;
        }
        std::vector<SDL_Surface*> pictures;
        for (int p = 0; p < 3; ++p) {
            const int x = starts[p].x + frame;
            const int y = starts[p].y + frame;
            const seams::Call& fill = next("the fill of the work surface");
            ASSERT_EQ("fill", fill.name) << "pane " << p + 1 << ", call " << at - 1;
            EXPECT_EQ(fresh.work, fill.dst) << "pane " << p + 1;
            EXPECT_TRUE(fill.wholeSurface) << "pane " << p + 1;
            EXPECT_EQ(kBlack, fill.colour) << "pane " << p + 1;
            for (int k = 0; k < kBlocks; ++k) {
                const seams::Call& block = next("a block copy");
                const SDL_Rect want = {static_cast<Sint16>(x + k % kSquare), static_cast<Sint16>(y + k / kSquare),
                                       kBlock, kBlock};
                const bool ok = block.name == "blit" && block.src == screen && block.dst == fresh.work &&
                                block.hasSrcRect && rectText(block.srcRect) == rectText(want);
                ASSERT_TRUE(ok) << "pane " << p + 1 << ", block " << k << ": expected a copy of screen "
                                << rectText(want) << " into the work surface, got " << block.name
                                << " of source rectangle " << rectText(block.srcRect);
            }
            const seams::Call& back = next("the copy back");
            EXPECT_EQ("blit", back.name) << "pane " << p + 1;
            EXPECT_EQ(fresh.work, back.src) << "pane " << p + 1 << ": expected the work surface copied back";
            EXPECT_EQ(screen, back.dst) << "pane " << p + 1;
            EXPECT_FALSE(back.hasSrcRect) << "pane " << p + 1;
            EXPECT_EQ(x, back.dstRect.x) << "pane " << p + 1 << " copy back";
            EXPECT_EQ(y, back.dstRect.y) << "pane " << p + 1 << " copy back";
            const seams::Call& picture = next("the pane's picture");
            EXPECT_EQ("blit", picture.name) << "pane " << p + 1;
            EXPECT_EQ(screen, picture.dst) << "pane " << p + 1;
            EXPECT_FALSE(picture.hasSrcRect) << "pane " << p + 1;
            EXPECT_EQ(x, picture.dstRect.x) << "pane " << p + 1 << " picture";
            EXPECT_EQ(y, picture.dstRect.y) << "pane " << p + 1 << " picture";
            for (SDL_Surface* other : {screen, fresh.work, fresh.texts[0], fresh.texts[1]}) {
                EXPECT_NE(other, picture.src) << "pane " << p + 1 << ": expected its own picture";
            }
            for (SDL_Surface* earlier : pictures) {
                EXPECT_NE(earlier, picture.src) << "pane " << p + 1 << " drew an earlier pane's picture";
            }
            pictures.push_back(picture.src);
        }
        for (int top : {125, 475}) {
            const seams::Call& bar = next("a guide bar");
            EXPECT_EQ("fill", bar.name) << "bar at " << top;
            EXPECT_EQ(screen, bar.dst) << "bar at " << top;
            EXPECT_EQ("(0, " + std::to_string(top) + ", 800, 5)", rectText(bar.dstRect)) << "bar at " << top;
        }
        EXPECT_EQ(calls.size(), at) << "expected nothing after the bars";
    }
}

} // namespace
