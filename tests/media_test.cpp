// Start-up, loaders, blits, fills and alpha of the media toolkit.
#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <SDL/SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string kCaption = "toolkit test";

std::string joined(const std::vector<std::string>& list)
{
    std::string text;
    for (const std::string& item : list) {
        text += "[" + item + "] ";
    }
    return text;
}

// Stops whatever a (possibly failed) start left running.
void stopEverything()
{
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
}

// Must stay the first test of this program: it sees MediaState as the process starts.
TEST(MediaStartTest, AccessorsBeforeStartThenFailedSdlInitKeepsRequestedGeometry)
{
    seams::reset();
    EXPECT_EQ(nullptr, getScreen());
    EXPECT_EQ(0, getScreenWidth());
    EXPECT_EQ(0, getScreenHeight());
    EXPECT_EQ(0, getScreenDepth());
    EXPECT_EQ(0, getUserValue());

    seams::fail.sdlInit = true;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(initMedia(kCaption, 640, 480, 8, 77, 0));
    EXPECT_EQ("injected SDL_Init failure\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(nullptr, getScreen());
    EXPECT_EQ(640, getScreenWidth());
    EXPECT_EQ(480, getScreenHeight());
    EXPECT_EQ(8, getScreenDepth());
    EXPECT_EQ(77, getUserValue());
    EXPECT_EQ(std::vector<std::string>{"SDL_Init"}, seams::lifecycle);
}

struct FailedStep {
    const char* name;
    bool seams::Faults::*fault;
    const char* message;
    bool screenOpen;
    std::vector<std::string> calls; // library start calls made, in order
};

class FailedStartTest : public testing::TestWithParam<FailedStep> {
protected:
    void SetUp() override { seams::reset(); }
    void TearDown() override { stopEverything(); }
};

TEST_P(FailedStartTest, WritesOneLineReturnsFalseAndUndoesNothing)
{
    const FailedStep& step = GetParam();
    seams::fail.*step.fault = true;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(initMedia(kCaption, 800, 600, 16, 0, 0));
    EXPECT_EQ(std::string(step.message) + "\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(step.screenOpen, getScreen() != nullptr);
    EXPECT_EQ(step.calls, seams::lifecycle) << "got " << joined(seams::lifecycle);
    EXPECT_EQ(16, getScreenDepth());
    if (step.screenOpen) {
        EXPECT_NE(0u, SDL_WasInit(SDL_INIT_VIDEO)) << "the display was closed after the failure";
    }
}

const char* const kModeCall = "SDL_SetVideoMode 800x600x16 flags 0";
const char* const kAudioCall = "Mix_OpenAudio 22050 32784 2 2048";

INSTANTIATE_TEST_SUITE_P(
    EachStep, FailedStartTest,
    testing::Values(
        FailedStep{"ModeSet", &seams::Faults::setVideoMode, "injected SDL_SetVideoMode failure", false,
                   {"SDL_Init", kModeCall}},
        FailedStep{"Audio", &seams::Faults::openAudio, "injected Mix_OpenAudio failure", true,
                   {"SDL_Init", kModeCall, kAudioCall}},
        FailedStep{"Fonts", &seams::Faults::ttfInit, "injected TTF_Init failure", true,
                   {"SDL_Init", kModeCall, kAudioCall, "TTF_Init"}}),
    [](const testing::TestParamInfo<FailedStep>& info) { return std::string(info.param.name); });

class StartedMediaTest : public testing::Test {
protected:
    void SetUp() override
    {
        seams::reset();
        ASSERT_TRUE(initMedia(kCaption, 320, 200, 16, 5, 0));
    }
    void TearDown() override
    {
        seams::reset();
        shutdownMedia();
    }

    // A small surface in the display's format holding one colour.
    static SDL_Surface* solid(int w, int h, Uint8 r, Uint8 g, Uint8 b)
    {
        SDL_Surface* made = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(made, nullptr, SDL_MapRGB(made->format, r, g, b));
        return made;
    }

    static Uint16 pixelAt(SDL_Surface* surface, int x, int y)
    {
        return static_cast<Uint16*>(surface->pixels)[y * surface->pitch / 2 + x];
    }
};

TEST_F(StartedMediaTest, StartsInOrderAndSetsTheCaption)
{
    stopEverything();
    seams::reset();
    ASSERT_TRUE(initMedia(kCaption, 320, 200, 16, 5, SDL_SWSURFACE));
    const std::vector<std::string> expected = {"SDL_Init", "SDL_SetVideoMode 320x200x16 flags 0",
                                               kAudioCall, "TTF_Init"};
    EXPECT_EQ(expected, seams::lifecycle) << "got " << joined(seams::lifecycle);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_EQ(kCaption, title == nullptr ? "(null)" : title);
    EXPECT_EQ(nullptr, icon);
    EXPECT_EQ(5, getUserValue());
}

TEST_F(StartedMediaTest, GrantedDepthDoesNotChangeTheRequestedOne)
{
    stopEverything();
    seams::reset();
    seams::grantedDepth = 32;
    ASSERT_TRUE(initMedia(kCaption, 320, 200, 16, 0, 0));
    EXPECT_EQ(32, getScreen()->format->BitsPerPixel);
    EXPECT_EQ(16, getScreenDepth());
}

TEST_F(StartedMediaTest, ShutdownStopsTheLibrariesInOrder)
{
    seams::reset();
    shutdownMedia();
    const std::vector<std::string> expected = {"SDL_FreeSurface", "Mix_CloseAudio", "TTF_Quit", "SDL_Quit"};
    EXPECT_EQ(expected, seams::lifecycle) << "got " << joined(seams::lifecycle);
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_EVERYTHING));
    ASSERT_TRUE(initMedia(kCaption, 320, 200, 16, 5, 0)); // for TearDown
}

TEST_F(StartedMediaTest, ShutdownToMenuReturnsWhenTheMenuIsMissing)
{
    struct stat info;
    if (stat("/usr/gp2x/gp2xmenu", &info) == 0) {
        GTEST_SKIP() << "this machine has the handheld's menu program";
    }
    seams::reset();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    shutdownToMenu();
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    const std::vector<std::string> expected = {"SDL_FreeSurface", "Mix_CloseAudio", "TTF_Quit", "SDL_Quit"};
    EXPECT_EQ(expected, seams::lifecycle) << "got " << joined(seams::lifecycle);
    ASSERT_TRUE(initMedia(kCaption, 320, 200, 16, 5, 0));
}

TEST(PrintTest, LinesGoToTheirStreamsWithOneNewline)
{
    testing::internal::CaptureStderr();
    printError("");
    printError("two words");
    EXPECT_EQ("\ntwo words\n", testing::internal::GetCapturedStderr());
    testing::internal::CaptureStdout();
    printLine(std::string("cut\0here", 8));
    EXPECT_EQ("cut\n", testing::internal::GetCapturedStdout());
}

// --- Loaders ---------------------------------------------------------------

using StartedMediaDeathTest = StartedMediaTest;

struct FatalLoad {
    const char* name;
    void (*load)(const std::string& path);
    const char* literal;
};

class FatalLoadTest : public StartedMediaTest, public testing::WithParamInterface<FatalLoad> {};

TEST_P(FatalLoadTest, MissingFileWritesItsLineAndExitsWithOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const FatalLoad& loader = GetParam();
    const std::string path = "res/no such file.dat";
    EXPECT_EXIT(loader.load(path), testing::ExitedWithCode(1),
                testing::Eq(std::string(loader.literal) + path + "\n"));
}

INSTANTIATE_TEST_SUITE_P(
    EachLoader, FatalLoadTest,
    testing::Values(
        FatalLoad{"Font", [](const std::string& p) { loadFont(p, 12); }, "Font load failed! : "},
        FatalLoad{"Sound", [](const std::string& p) { loadSound(p); }, "Soundfx load error! File: "},
        FatalLoad{"Music", [](const std::string& p) { loadMusic(p); }, "Music load error! File: "},
        FatalLoad{"Image", [](const std::string& p) { loadImage(p); }, "Image load error!  File: "},
        FatalLoad{"KeyedImage", [](const std::string& p) { loadKeyedImage(p, 1, 2, 3); },
                  "Image load error!  File: "}),
    [](const testing::TestParamInfo<FatalLoad>& info) { return std::string(info.param.name); });

class ImageFileTest : public StartedMediaTest {
protected:
    void SetUp() override
    {
        StartedMediaTest::SetUp();
        // Red on blue, odd-sized, so a swapped channel or a lost column shows.
        SDL_Surface* picture = solid(5, 3, 0, 0, 255);
        SDL_Rect corner = {0, 0, 2, 1};
        SDL_FillRect(picture, &corner, SDL_MapRGB(picture->format, 255, 0, 0));
        ASSERT_EQ(0, SDL_SaveBMP(picture, path.c_str()));
        SDL_FreeSurface(picture);
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        StartedMediaTest::TearDown();
    }
    const std::string path = testing::TempDir() + "toolkit_picture.bmp";
};

TEST_F(ImageFileTest, KeyedImageGetsItsKeyInTheDisplayFormat)
{
    SDL_Surface* image = loadKeyedImage(path, 255 + 256, 0, 0);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(getScreen()->format->BitsPerPixel, image->format->BitsPerPixel);
    EXPECT_EQ(SDL_MapRGB(image->format, 255, 0, 0), image->format->colorkey);
    EXPECT_EQ(Uint32(SDL_SRCCOLORKEY), image->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(Uint32(SDL_RLEACCELOK), image->flags & SDL_RLEACCELOK) << "RLE acceleration was not asked for";
    // The key makes the red corner transparent and leaves the blue.
    SDL_Surface* target = solid(5, 3, 0, 255, 0);
    blit(0, 0, image, target);
    EXPECT_EQ(SDL_MapRGB(target->format, 0, 255, 0), pixelAt(target, 0, 0));
    EXPECT_EQ(SDL_MapRGB(target->format, 0, 0, 255), pixelAt(target, 4, 2));
    SDL_FreeSurface(target);
    SDL_FreeSurface(image);
}

TEST_F(ImageFileTest, FailedConversionReturnsNullAndOnlyTheKeyedLoaderSaysSo)
{
    seams::fail.displayFormat = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, loadImage(path));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, loadKeyedImage(path, 0, 0, 0));
    EXPECT_EQ("Image optimization error! File: " + path + "\n", testing::internal::GetCapturedStderr());
}

TEST_F(ImageFileTest, ImageIsConvertedAndTheLoadedCopyFreed)
{
    seams::record = true;
    SDL_Surface* image = loadImage(path);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(5, image->w);
    EXPECT_EQ(getScreen()->format->Rmask, image->format->Rmask);
    ASSERT_EQ(1u, seams::calls.size());
    EXPECT_EQ("free", seams::calls[0].name);
    EXPECT_NE(image, seams::calls[0].src);
    SDL_FreeSurface(image);
}

TEST_F(StartedMediaTest, NoJoystickGivesNullAndSilence)
{
    ASSERT_EQ(0, SDL_NumJoysticks()) << "this test needs a machine without joysticks";
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, openJoystick());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}

// --- Blits, fills, alpha ---------------------------------------------------------

TEST_F(StartedMediaTest, PositionsKeepTheirLow16Bits)
{
    struct Case {
        int x, y;
        Sint16 wantX, wantY;
    };
    const Case cases[] = {{65636, 3, 100, 3},       {40000, 0, -25536, 0}, {-32769, 65537, 32767, 1},
                          {-1, -65536, -1, 0},      {32767, 32768, 32767, -32768}};
    SDL_Surface* source = solid(1, 1, 255, 255, 255);
    SDL_Surface* target = solid(8, 8, 0, 0, 0);
    seams::record = true;
    for (const Case& c : cases) {
        seams::calls.clear();
        blit(c.x, c.y, source, target);
        blitPart(c.x, c.y, source, target, nullptr);
        ASSERT_EQ(2u, seams::calls.size());
        for (const seams::Call& call : seams::calls) {
            EXPECT_EQ(c.wantX, call.dstRect.x) << "x " << c.x;
            EXPECT_EQ(c.wantY, call.dstRect.y) << "y " << c.y;
        }
    }
    SDL_FreeSurface(target);
    SDL_FreeSurface(source);
}

TEST_F(StartedMediaTest, WrappedBlitDrawsWhereTheLow16BitsPoint)
{
    SDL_Surface* dot = solid(1, 1, 255, 255, 255);
    SDL_Surface* screen = getScreen();
    SDL_FillRect(screen, nullptr, 0);
    blit(65636, 7, dot, screen);
    EXPECT_EQ(SDL_MapRGB(screen->format, 255, 255, 255), pixelAt(screen, 100, 7));
    EXPECT_EQ(0, pixelAt(screen, 99, 7));

    // 40000 is -25536: nowhere on screen.
    SDL_FillRect(screen, nullptr, 0);
    blit(40000, 7, dot, screen);
    for (int x = 0; x < screen->w; ++x) {
        ASSERT_EQ(0, pixelAt(screen, x, 7)) << "pixel drawn at x " << x;
    }
    SDL_FreeSurface(dot);
}

TEST_F(StartedMediaTest, PartBlitCopiesTheCallersRectangleAndLeavesItAlone)
{
    SDL_Surface* source = solid(4, 4, 0, 0, 255);
    SDL_Rect redPart = {1, 1, 2, 1};
    SDL_FillRect(source, &redPart, SDL_MapRGB(source->format, 255, 0, 0));
    SDL_Surface* target = solid(6, 6, 0, 0, 0);
    SDL_Rect part = {1, 1, 2, 2};
    blitPart(3, 4, source, target, &part);
    EXPECT_EQ(1, part.x);
    EXPECT_EQ(2, part.w);
    EXPECT_EQ(SDL_MapRGB(target->format, 255, 0, 0), pixelAt(target, 3, 4));
    EXPECT_EQ(SDL_MapRGB(target->format, 255, 0, 0), pixelAt(target, 4, 4));
    EXPECT_EQ(SDL_MapRGB(target->format, 0, 0, 255), pixelAt(target, 4, 5));
    EXPECT_EQ(0, pixelAt(target, 5, 4));
    EXPECT_EQ(0, pixelAt(target, 2, 4));
    SDL_FreeSurface(target);
    SDL_FreeSurface(source);
}

TEST_F(StartedMediaTest, FreeingBlitsFreeTheirSourceEvenWhenNothingIsDrawn)
{
    SDL_Surface* target = solid(4, 4, 0, 0, 0);
    seams::record = true;
    SDL_Surface* wholly = solid(2, 2, 1, 2, 3);
    blitFree(40000, 0, wholly, target);
    SDL_Surface* part = solid(2, 2, 1, 2, 3);
    SDL_Rect rect = {0, 0, 1, 1};
    blitPartFree(0, -5000, part, target, &rect);
    SDL_Surface* neverDrawn = solid(2, 2, 1, 2, 3);
    blitFree(0, 0, neverDrawn, nullptr); // a failing blit
    std::vector<std::string> names;
    std::vector<SDL_Surface*> freed;
    for (const seams::Call& call : seams::calls) {
        if (call.name == "free") {
            freed.push_back(call.src);
        }
    }
    EXPECT_EQ((std::vector<SDL_Surface*>{wholly, part, neverDrawn}), freed);
    SDL_FreeSurface(target);
}

TEST_F(StartedMediaTest, FillWrapsItsRectangleAndUsesTheLow8BitsOfEachComponent)
{
    struct Case {
        int x, y, w, h, r, g, b;
        SDL_Rect want;
        Uint8 wantR, wantG, wantB;
    };
    const Case cases[] = {
        {0, 0, 65536, 5, 255, 255, 255, {0, 0, 0, 5}, 255, 255, 255},
        {1, 2, 70000, -1, 256, 300, 511, {1, 2, 4464, 65535}, 0, 44, 255},
        {65636, 40000, 3, 4, 8, 16, 24, {100, -25536, 3, 4}, 8, 16, 24},
    };
    SDL_Surface* target = solid(16, 16, 0, 0, 0);
    seams::record = true;
    for (const Case& c : cases) {
        seams::calls.clear();
        fillRect(target, c.x, c.y, c.w, c.h, c.r, c.g, c.b);
        ASSERT_EQ(1u, seams::calls.size());
        const SDL_Rect& got = seams::calls[0].dstRect;
        EXPECT_EQ(c.want.x, got.x) << "fill at " << c.x;
        EXPECT_EQ(c.want.y, got.y) << "fill at y " << c.y;
        EXPECT_EQ(c.want.w, got.w) << "width " << c.w;
        EXPECT_EQ(c.want.h, got.h) << "height " << c.h;
        EXPECT_EQ(SDL_MapRGB(target->format, c.wantR, c.wantG, c.wantB), seams::calls[0].colour)
            << "colour " << c.r << "," << c.g << "," << c.b;
    }
    // A width of 65536 is a width of 0: nothing changes.
    fillRect(target, 0, 0, 65536, 16, 255, 255, 255);
    EXPECT_EQ(0, pixelAt(target, 0, 0));
    SDL_FreeSurface(target);
}

TEST_F(StartedMediaTest, AlphaKeepsItsLow8BitsAndAsksForRle)
{
    struct Case {
        int alpha;
        Uint8 want;
    };
    const Case cases[] = {{175, 175}, {300, 44}, {256, 0}, {255, 255}, {-1, 255}};
    for (const Case& c : cases) {
        SDL_Surface* surface = solid(2, 2, 9, 9, 9);
        setAlpha(surface, c.alpha);
        EXPECT_EQ(c.want, surface->format->alpha) << "alpha " << c.alpha;
        EXPECT_EQ(Uint32(SDL_SRCALPHA), surface->flags & SDL_SRCALPHA) << "alpha " << c.alpha;
        EXPECT_EQ(Uint32(SDL_RLEACCELOK), surface->flags & SDL_RLEACCELOK) << "alpha " << c.alpha;
        SDL_FreeSurface(surface);
    }
}

} // namespace
