// Tests of the demo's soundtrack, "res/zak.dat", as the build generates it.
// Run with the build folder as working directory: it holds res/zak.dat and
// the generator make_music.

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kMusicPath = "res/zak.dat";
const char* const kGenerator = "./make_music";

// ProTracker layout: title, 31 sample headers, song length, restart byte,
// 128-entry order list, signature, then 64-row patterns of 4-byte cells.
constexpr size_t kSampleHeaders = 20;
constexpr size_t kSampleHeaderSize = 30;
constexpr int kSampleSlots = 31;
constexpr size_t kSongLengthOffset = 950;
constexpr size_t kOrderOffset = 952;
constexpr int kOrderSlots = 128;
constexpr size_t kSignatureOffset = 1080;
constexpr size_t kPatternOffset = 1084;
constexpr int kRows = 64;
constexpr int kChannels = 4;
constexpr size_t kPatternSize = kRows * kChannels * 4;

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t bigEndian16(const std::vector<uint8_t>& b, size_t at) { return (size_t{b[at]} << 8) | b[at + 1]; }

// "" when equal, else where and how two files first differ.
std::string firstDifference(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual) {
    if (expected == actual) return "";
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    return "sizes " + std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
           ", first difference at byte " + std::to_string(at);
}

int patternCount(const std::vector<uint8_t>& mod) {
    int highest = 0;
    for (int i = 0; i < kOrderSlots; ++i) highest = std::max<int>(highest, mod[kOrderOffset + i]);
    return highest + 1;
}

// Plays the order list the way a tracker does, row by row, applying speed
// and tempo (Fxx), position jumps (Bxx) and pattern breaks (Dxx), and adds up
// the time until a row comes round a second time or the song runs out.
double secondsBeforeRepeat(const std::vector<uint8_t>& mod) {
    const int songLength = mod[kSongLengthOffset];
    int speed = 6, tempo = 125;
    int pos = 0, row = 0;
    double seconds = 0.0;
    std::set<std::pair<int, int>> visited;
    while (pos < songLength && visited.insert({pos, row}).second) {
        const size_t rowAt = kPatternOffset + mod[kOrderOffset + pos] * kPatternSize + row * kChannels * 4;
        int nextPos = pos, nextRow = row + 1;
        bool jumped = false;
        for (int ch = 0; ch < kChannels; ++ch) {
            const int effect = mod[rowAt + ch * 4 + 2] & 0x0F;
            const int param = mod[rowAt + ch * 4 + 3];
            if (effect == 0xF && param > 0) (param < 32 ? speed : tempo) = param;
            if (effect == 0xB) { nextPos = param; nextRow = 0; jumped = true; }
            if (effect == 0xD) {
                if (!jumped) nextPos = pos + 1;
                nextRow = (param >> 4) * 10 + (param & 0x0F);
                jumped = true;
            }
        }
        seconds += speed * 2.5 / tempo;  // a tick lasts 2.5 / tempo seconds
        if (!jumped && nextRow == kRows) { nextPos = pos + 1; nextRow = 0; }
        pos = nextPos;
        row = nextRow;
    }
    return seconds;
}

TEST(Music, LoadsAndPlaysInTheMixer) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(0, SDL_Init(SDL_INIT_AUDIO)) << SDL_GetError();
    ASSERT_EQ(0, Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 2048)) << Mix_GetError();
    Mix_Music* music = Mix_LoadMUS(kMusicPath);
    EXPECT_NE(nullptr, music) << "expected " << kMusicPath << " to load, got: " << Mix_GetError();
    if (music) {
        EXPECT_EQ(0, Mix_PlayMusic(music, -1)) << Mix_GetError();
        EXPECT_EQ(1, Mix_PlayingMusic());
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_Quit();
}

TEST(Music, IsAFourChannelModuleOfAtLeastAMinute) {
    const std::vector<uint8_t> mod = readFile(kMusicPath);
    ASSERT_GT(mod.size(), kPatternOffset) << "expected a module in " << kMusicPath << ", got " << mod.size() << " bytes";
    EXPECT_EQ("M.K.", std::string(mod.begin() + kSignatureOffset, mod.begin() + kPatternOffset))
        << "the signature that means 4 channels";
    const int songLength = mod[kSongLengthOffset];
    ASSERT_GE(songLength, 1);
    ASSERT_LE(songLength, kOrderSlots);

    // Header, patterns and samples account for every byte: nothing is
    // truncated and nothing trails.
    size_t sampleBytes = 0;
    for (int i = 0; i < kSampleSlots; ++i)
        sampleBytes += 2 * bigEndian16(mod, kSampleHeaders + i * kSampleHeaderSize + 22);
    const int patterns = patternCount(mod);
    EXPECT_EQ(kPatternOffset + patterns * kPatternSize + sampleBytes, mod.size())
        << "with " << patterns << " patterns and " << sampleBytes << " sample bytes";

    const double seconds = secondsBeforeRepeat(mod);
    EXPECT_GE(seconds, 60.0) << "expected at least a minute before the song repeats, got " << seconds << " s";
}

TEST(Music, GeneratorWritesTheSameBytesEveryTime) {
    std::ifstream generator(kGenerator);
    ASSERT_TRUE(generator.good()) << "expected the generator at " << kGenerator << " in the build folder";
    const std::string first = "music_test_first.dat", second = "music_test_second.dat";
    ASSERT_EQ(0, std::system((std::string(kGenerator) + " " + first).c_str()));
    ASSERT_EQ(0, std::system((std::string(kGenerator) + " " + second).c_str()));
    const std::vector<uint8_t> a = readFile(first), b = readFile(second), installed = readFile(kMusicPath);
    std::remove(first.c_str());
    std::remove(second.c_str());
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(std::string(), firstDifference(a, b)) << "two runs of the generator differ";
    EXPECT_EQ(std::string(), firstDifference(a, installed)) << kMusicPath << " is not what the generator writes now";
}

}  // namespace
