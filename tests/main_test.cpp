// The program's start-up, frame loop and teardown, run in-process with the
// library calls seen through the seams. main() is built here under the name
// glassScrollerMain.
#include "seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

int glassScrollerMain(int argc, char* argv[]);

namespace {

std::string joined(const std::vector<std::string>& list)
{
    std::string text;
    for (const std::string& item : list) {
        text += "[" + item + "] ";
    }
    return text;
}

class MainTest : public testing::Test {
protected:
    void SetUp() override
    {
        seams::reset();
        seams::feedEvents = true;
    }

    // Runs the program with the given arguments; after flip number `at`, the events are queued.
    int run(std::vector<std::string> args, int at, std::vector<SDL_Event> events)
    {
        args.insert(args.begin(), "glass_scroller");
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        seams::onFlip = [at, events](int flip) {
            if (flip == at) {
                seams::events.insert(seams::events.end(), events.begin(), events.end());
            }
            // A run that never ends would hang the suite; end it with a plain quit instead.
            if (flip == at + 20) {
                seams::events.push_back(seams::quitEvent());
            }
        };
        return glassScrollerMain(static_cast<int>(argv.size()) - 1, argv.data());
    }

    int runUntil(int at, std::vector<SDL_Event> events) { return run({"w"}, at, std::move(events)); }

    static size_t indexOf(const std::string& item)
    {
        const auto found = std::find(seams::lifecycle.begin(), seams::lifecycle.end(), item);
        return static_cast<size_t>(found - seams::lifecycle.begin());
    }
};

struct EventCase {
    const char* name;
    std::vector<SDL_Event> events;
    bool quits;
};

class QuitEventTest : public MainTest, public testing::WithParamInterface<EventCase> {};

TEST_P(QuitEventTest, OnlyQuitRequestsEndTheRunAfterOneMoreFrame)
{
    const EventCase& c = GetParam();
    EXPECT_EQ(0, runUntil(3, c.events));
    // Queued after flip 3, seen in pass 4, which is still drawn and flipped.
    EXPECT_EQ(c.quits ? 4 : 3 + 20 + 1, seams::flips) << c.name;
    EXPECT_TRUE(seams::events.empty()) << "the queue was not drained";
}

INSTANTIATE_TEST_SUITE_P(
    Events, QuitEventTest,
    testing::Values(
        EventCase{"WindowClose", {seams::quitEvent()}, true},
        EventCase{"Escape", {seams::keyDown(SDLK_ESCAPE)}, true},
        EventCase{"EscapeWithModifiers",
                  {seams::keyDown(SDLK_ESCAPE, static_cast<SDLMod>(KMOD_LSHIFT | KMOD_LCTRL | KMOD_LALT))},
                  true},
        EventCase{"JoystickButton8", {seams::joyButton(0, 8, true)}, true},
        EventCase{"JoystickButton8OnAnotherJoystick", {seams::joyButton(3, 8, true)}, true},
        EventCase{"EscapeReleased", {seams::keyUp(SDLK_ESCAPE)}, false},
        EventCase{"OtherKey", {seams::keyDown(SDLK_q), seams::keyDown(SDLK_SPACE)}, false},
        EventCase{"JoystickButtons7And9", {seams::joyButton(0, 7, true), seams::joyButton(0, 9, true)}, false},
        EventCase{"JoystickButton8Released", {seams::joyButton(0, 8, false)}, false},
        EventCase{"SeveralRequestsAndMoreBehindThem",
                  {seams::quitEvent(), seams::keyDown(SDLK_a), seams::keyDown(SDLK_ESCAPE),
                   seams::joyButton(1, 8, true), seams::keyUp(SDLK_a)},
                  true}),
    [](const testing::TestParamInfo<EventCase>& info) { return std::string(info.param.name); });

TEST_F(MainTest, EachPassClearsPollsDrawsAndFlips)
{
    seams::record = true;
    EXPECT_EQ(0, runUntil(2, {seams::quitEvent()}));
    // Cut the record into passes at each flip and look at how a pass starts.
    std::vector<std::vector<seams::Call>> passes(1);
    bool started = false;
    for (const seams::Call& call : seams::calls) {
        if (!started) {
            started = call.name == "fill" && call.wholeSurface; // the first clear
            if (!started) {
                continue;
            }
        }
        passes.back().push_back(call);
        if (call.name == "flip") {
            passes.emplace_back();
        }
    }
    passes.pop_back();
    ASSERT_EQ(3u, passes.size());
    for (const std::vector<seams::Call>& pass : passes) {
        ASSERT_GE(pass.size(), 3u);
        EXPECT_EQ("fill", pass[0].name);
        EXPECT_TRUE(pass[0].wholeSurface);
        EXPECT_EQ(0u, pass[0].colour) << "the screen is cleared to black";
        EXPECT_EQ("poll", pass[1].name);
        EXPECT_EQ("flip", pass.back().name);
    }
}

TEST_F(MainTest, OnlyASingleExactWSelectsAWindow)
{
    const std::string windowed = "flags 1073741825";    // SDL_HWSURFACE | SDL_DOUBLEBUF
    const std::string fullScreen = "flags 3221225473";  // ... | SDL_FULLSCREEN
    struct Case {
        std::vector<std::string> args;
        std::string flags;
    };
    const Case cases[] = {{{"w"}, windowed}, {{}, fullScreen},        {{"W"}, fullScreen},
                          {{"wx"}, fullScreen}, {{""}, fullScreen}, {{"w", "w"}, fullScreen},
                          {{"x"}, fullScreen}};
    for (const Case& c : cases) {
        seams::reset();
        seams::feedEvents = true;
        ASSERT_EQ(0, run(c.args, 1, {seams::quitEvent()}));
        const std::string mode = "SDL_SetVideoMode 800x600x16 " + c.flags;
        EXPECT_NE(seams::lifecycle.size(), indexOf(mode))
            << "arguments " << joined(c.args) << ": expected " << mode << ", got " << joined(seams::lifecycle);
    }
}

TEST_F(MainTest, StartsEverythingInOrderBeforeTheMusicPlays)
{
    ASSERT_EQ(0, run({"w"}, 1, {seams::quitEvent()}));
    const std::vector<std::string> expected = {
        "SDL_Init",
        "SDL_SetVideoMode 800x600x16 flags 1073741825",
        "Mix_OpenAudio 22050 32784 2 2048",
        "TTF_Init",
        "Mix_LoadMUS res/zak.dat",
        "TTF_OpenFont res/bigFont.ttf 60",
        "IMG_Load res/glass.dat",
        "SDL_FreeSurface",
        "IMG_Load res/glass2.dat",
        "SDL_FreeSurface",
        "IMG_Load res/glass3.dat",
        "SDL_FreeSurface",
        "Mix_PlayMusic -1",
    };
    ASSERT_GE(seams::lifecycle.size(), expected.size());
    EXPECT_EQ(expected, std::vector<std::string>(seams::lifecycle.begin(), seams::lifecycle.begin() + expected.size()))
        << "got " << joined(seams::lifecycle);
}

TEST_F(MainTest, HidesTheMousePointer)
{
    int shown = -1;
    seams::onFlip = [&](int) {
        shown = SDL_ShowCursor(SDL_QUERY);
        seams::events.push_back(seams::quitEvent());
    };
    std::string name = "glass_scroller";
    char* argv[] = {name.data(), nullptr};
    ASSERT_EQ(0, glassScrollerMain(1, argv));
    EXPECT_EQ(SDL_DISABLE, shown);
}

TEST_F(MainTest, TeardownFreesTheSceneBeforeTheLibrariesStop)
{
    ASSERT_EQ(0, runUntil(1, {seams::quitEvent()}));
    const std::vector<std::string>& life = seams::lifecycle;
    const size_t musicFreed = indexOf("Mix_FreeMusic");
    const size_t audioClosed = indexOf("Mix_CloseAudio");
    const size_t sdlQuit = indexOf("SDL_Quit");
    ASSERT_LT(sdlQuit, life.size()) << "got " << joined(life);
    EXPECT_LT(musicFreed, audioClosed);
    // Six surfaces of the scene, then the screen handed back by the shutdown.
    const long frees = std::count(life.begin() + musicFreed, life.begin() + audioClosed, "SDL_FreeSurface");
    EXPECT_EQ(7, frees) << "got " << joined(life);
    EXPECT_EQ(audioClosed + 2, sdlQuit);
    EXPECT_EQ(sdlQuit + 1, life.size()) << "something ran after SDL_Quit: " << joined(life);
}

TEST_F(MainTest, FailedStartReturnsOneAndLoadsNothing)
{
    seams::fail.setVideoMode = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, runUntil(1, {seams::quitEvent()}));
    EXPECT_EQ("injected SDL_SetVideoMode failure\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(seams::lifecycle.size(), indexOf("Mix_LoadMUS res/zak.dat")) << "got " << joined(seams::lifecycle);
    EXPECT_EQ(0, seams::flips);
    SDL_Quit();
}

TEST_F(MainTest, MusicThatWillNotStartEndsTheRunWithOneBeforeAnyFrame)
{
    seams::fail.playMusic = true;
    seams::record = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, runUntil(1, {seams::quitEvent()}));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ(0, seams::flips);
    // The scene is gone: its six surfaces were freed.
    const long frees = std::count_if(seams::calls.begin(), seams::calls.end(),
                                     [](const seams::Call& call) { return call.name == "free"; });
    EXPECT_EQ(3 + 6, frees) << "three loaded pictures freed after conversion, then the scene";
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
}

} // namespace
