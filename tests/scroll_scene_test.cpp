// The scroller, the guide bars and the scene's life, for the edition this
// program is built with (the build compiles this file once per edition).
#include "edition.h"
#include "scroll_scene.h"
#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

class SceneTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        seams::reset();
        ASSERT_TRUE(initMedia("scene test", 800, 600, 16, 0, 0));
        seams::record = true;
        scene = new ScrollScene;
        made = seams::calls;
        seams::reset();
    }
    static void TearDownTestSuite()
    {
        delete scene;
        shutdownMedia();
    }
    void SetUp() override { seams::reset(); }

    // The surfaces the constructor made, in the order it made them.
    static std::vector<SDL_Surface*> madeSurfaces(const char* kind)
    {
        std::vector<SDL_Surface*> found;
        for (const seams::Call& call : made) {
            if (call.name == kind) {
                found.push_back(call.src);
            }
        }
        return found;
    }

    struct TextBlits {
        std::optional<SDL_Rect> first;
        std::optional<SDL_Rect> second;
    };

    // Where drawScroller put each text with the clock standing at ticks.
    static TextBlits scrollAt(Uint32 ticks)
    {
        seams::setTicks(ticks);
        seams::record = true;
        seams::calls.clear();
        scene->drawScroller(getScreen());
        seams::record = false;
        const std::vector<SDL_Surface*> texts = madeSurfaces("render");
        TextBlits blits;
        for (const seams::Call& call : seams::calls) {
            if (call.name != "blit") {
                continue;
            }
            EXPECT_EQ(getScreen(), call.dst);
            if (call.src == texts.at(0)) {
                blits.first = call.dstRect;
            } else if (call.src == texts.at(1)) {
                blits.second = call.dstRect;
            } else {
                ADD_FAILURE() << "drawScroller blitted something other than its texts";
            }
        }
        return blits;
    }

    static ScrollScene* scene;
    static std::vector<seams::Call> made;
};

ScrollScene* SceneTest::scene = nullptr;
std::vector<seams::Call> SceneTest::made;

#ifdef GLASS_EDITION_TR
constexpr Uint32 kLastAlone = 84999;
constexpr Sint16 kSecondAtStart = 1634; // 800 - 85000 / 6 + 15000
constexpr Uint32 kSecondEnters = 90006;
#else
constexpr Uint32 kLastAlone = 79999;
constexpr Sint16 kSecondAtStart = 967; // 800 - 80000 / 6 + 13500
constexpr Uint32 kSecondEnters = 81006;
#endif

TEST_F(SceneTest, FirstTextMovesOnePixelEverySixMillisecondsAndWrapsAt16Bits)
{
    struct Case {
        Uint32 ticks;
        Sint16 x;
    };
    const Case cases[] = {{0, 800},         {5, 800},         {6, 799},        {4800, 0},
                          {6000, -200},     {201408, -32768}, {201414, 32767}, {393216, 800},
                          {393222, 799},    {4294967295u, static_cast<Sint16>(800u - 4294967295u / 6)}};
    for (const Case& c : cases) {
        const TextBlits blits = scrollAt(c.ticks);
        ASSERT_TRUE(blits.first.has_value()) << "at " << c.ticks << " ms";
        EXPECT_EQ(c.x, blits.first->x) << "first text at " << c.ticks << " ms";
        EXPECT_EQ(252, blits.first->y) << "first text at " << c.ticks << " ms";
    }
}

TEST_F(SceneTest, SecondTextFollowsFromItsStartTime)
{
    EXPECT_FALSE(scrollAt(0).second.has_value());
    EXPECT_FALSE(scrollAt(kLastAlone).second.has_value()) << "second text drawn at " << kLastAlone << " ms";

    const TextBlits atStart = scrollAt(kEdition.secondMessageStart);
    ASSERT_TRUE(atStart.second.has_value()) << "no second text at " << kEdition.secondMessageStart << " ms";
    EXPECT_EQ(kSecondAtStart, atStart.second->x);
    EXPECT_EQ(252, atStart.second->y);

    const TextBlits entering = scrollAt(kSecondEnters);
    ASSERT_TRUE(entering.second.has_value());
    EXPECT_EQ(799, entering.second->x) << "at " << kSecondEnters << " ms";
    EXPECT_EQ(800, scrollAt(kSecondEnters - 1).second->x);

    // One period later the pair comes round again at the same distance.
    const TextBlits later = scrollAt(kSecondEnters + 393216);
    ASSERT_TRUE(later.second.has_value());
    EXPECT_EQ(799, later.second->x);
}

TEST_F(SceneTest, EachPositionReadsTheClockAfreshAndTheGateUsesTheFirstReading)
{
    std::vector<Uint32> readings = {kLastAlone, 6, 12, 18};
    size_t next = 0;
    seams::clock = [&] { return readings.at(std::min(next++, readings.size() - 1)); };
    seams::record = true;
    scene->drawScroller(getScreen());
    EXPECT_EQ(2u, next) << "clock readings for a frame before the second text starts";
    ASSERT_EQ(1u, seams::calls.size());
    EXPECT_EQ(800 - 1, seams::calls[0].dstRect.x);

    readings = {kEdition.secondMessageStart, 6, 12};
    next = 0;
    seams::calls.clear();
    scene->drawScroller(getScreen());
    EXPECT_EQ(3u, next);
    ASSERT_EQ(2u, seams::calls.size());
    EXPECT_EQ(799, seams::calls[0].dstRect.x);
    EXPECT_EQ(static_cast<Sint16>(798 + kEdition.secondMessageOffset), seams::calls[1].dstRect.x);
}

TEST_F(SceneTest, TextsAreSolidNearWhiteOnATransparentBackground)
{
    const std::vector<SDL_Surface*> texts = madeSurfaces("render");
    ASSERT_EQ(2u, texts.size());
    for (SDL_Surface* text : texts) {
        ASSERT_NE(nullptr, text);
        ASSERT_EQ(8, text->format->BitsPerPixel) << "solid text is a two-colour palette picture";
        const SDL_Color ink = text->format->palette->colors[1];
        EXPECT_EQ(250, ink.r);
        EXPECT_EQ(250, ink.g);
        EXPECT_EQ(250, ink.b);
        EXPECT_EQ(Uint32(SDL_SRCCOLORKEY), text->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(0u, text->format->colorkey);
    }
}

TEST_F(SceneTest, BarsAreFiveGreyRowsAcrossTheScreenAt125And475)
{
    SDL_Surface* screen = getScreen();
    const Uint32 background = SDL_MapRGB(screen->format, 1, 2, 3);
    const Uint32 grey = SDL_MapRGB(screen->format, 170, 170, 170);
    SDL_FillRect(screen, nullptr, background);
    scene->drawGuideBars(screen);
    const Uint16* pixels = static_cast<const Uint16*>(screen->pixels);
    for (int y = 0; y < screen->h; ++y) {
        const bool inBar = (y >= 125 && y < 130) || (y >= 475 && y < 480);
        for (int x : {0, 1, 400, 798, 799}) {
            const Uint32 got = pixels[y * screen->pitch / 2 + x];
            ASSERT_EQ(inBar ? grey : background, got) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(SceneTest, FrameDrawsTextsThenPanesThenBars)
{
    seams::setTicks(kEdition.secondMessageStart + 2000);
    seams::record = true;
    scene->drawFrame(getScreen());
    const std::vector<SDL_Surface*> texts = madeSurfaces("render");
    std::vector<std::string> order;
    for (const seams::Call& call : seams::calls) {
        std::string what = call.name;
        if (call.name == "blit" && (call.src == texts[0] || call.src == texts[1])) {
            what = call.src == texts[0] ? "first text" : "second text";
        } else if (call.name == "blit" && call.src != nullptr && (call.src->flags & SDL_SRCALPHA)) {
            what = "pane";
        } else if (call.name == "fill" && call.dst == getScreen()) {
            what = "bar";
        } else {
            continue; // the ripple's own work
        }
        order.push_back(what);
    }
    const std::vector<std::string> expected = {"first text", "second text", "pane", "pane", "pane", "bar", "bar"};
    EXPECT_EQ(expected, order);
}

TEST_F(SceneTest, WaveTableHoldsTruncatedSinesThenCosines)
{
    struct Case {
        int index;
        Sint32 value;
    };
    const Case cases[] = {{0, 0},       {1, 0},     {2, 1},      {250, 119},   {500, 0},     {750, -119},
                          {15000, 120}, {15001, 119}, {15250, 0}, {15500, -119}, {29999, 119}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, scene->waveEntry(c.index)) << "entry " << c.index;
    }
}

TEST(SceneLifeTest, BuildsInOrderAndFreesItsSurfacesOnceThenThePanesLastFirst)
{
    seams::reset();
    ASSERT_TRUE(initMedia("scene test", 800, 600, 16, 0, 0));
    seams::record = true;
    auto scene = std::make_unique<ScrollScene>();
    const std::vector<std::string> loads(seams::lifecycle.begin() + 4, seams::lifecycle.end());
    const std::vector<std::string> expectedLoads = {"TTF_OpenFont res/bigFont.ttf 60", "IMG_Load res/glass.dat",
                                                    "SDL_FreeSurface", "IMG_Load res/glass2.dat",
                                                    "SDL_FreeSurface", "IMG_Load res/glass3.dat",
                                                    "SDL_FreeSurface"};
    EXPECT_EQ(expectedLoads, loads);

    std::vector<SDL_Surface*> made;
    for (const seams::Call& call : seams::calls) {
        if (call.name == "create" || call.name == "render") {
            made.push_back(call.src);
        }
    }
    ASSERT_EQ(3u, made.size()) << "the work surface and two texts";
    EXPECT_EQ(120, made[0]->w);
    EXPECT_EQ(16, made[0]->format->BitsPerPixel);
    EXPECT_EQ(0u, made[0]->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA));

    // The pane pictures, in drawing order, as a frame shows them.
    seams::calls.clear();
    scene->drawFrame(getScreen());
    std::vector<SDL_Surface*> pictures;
    for (const seams::Call& call : seams::calls) {
        if (call.name == "blit" && call.src != nullptr && (call.src->flags & SDL_SRCALPHA)) {
            pictures.push_back(call.src);
        }
    }
    ASSERT_EQ(3u, pictures.size());

    seams::calls.clear();
    scene.reset();
    std::vector<SDL_Surface*> freed;
    for (const seams::Call& call : seams::calls) {
        if (call.name == "free") {
            freed.push_back(call.src);
        }
    }
    const std::vector<SDL_Surface*> expected = {made[0], made[1], made[2], pictures[2], pictures[1], pictures[0]};
    EXPECT_EQ(expected, freed);
    shutdownMedia();
}

} // namespace
