// The scroll texts are data, but the scroller trusts them: it renders each as
// one line with TTF_RenderText_Solid and places the second text at a fixed
// distance behind the first. These tests pin down the shape of every text and
// check, in the font that ships as res/bigFont.ttf, that the wording still fits
// that distance.
#include "edition.h"

#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const int kPointSize = 60;
const int kScreenWidth = 800;
// x is kept to 16 signed bits on its way to the screen, so a text as wide as
// the negative half of that range would still be on screen when its position
// jumps back to the far right.
const int kMaxTextWidth = 32000;

struct MessageCase {
    const char* name;
    const Edition* edition;
    const char* Edition::*field;
    std::size_t length;
    std::size_t leadingSpaces;
};

const MessageCase kMessages[] = {
    {"English firstMessage", &kEnglishEdition, &Edition::firstMessage, 451, 13},
    {"English secondMessage", &kEnglishEdition, &Edition::secondMessage, 464, 4},
    {"Turkish firstMessage", &kTurkishEdition, &Edition::firstMessage, 486, 6},
    {"Turkish secondMessage", &kTurkishEdition, &Edition::secondMessage, 372, 0},
};

struct EditionCase {
    const char* name;
    const Edition* edition;
    Uint32 secondMessageStart;
    Sint32 secondMessageOffset;
};

const EditionCase kEditions[] = {
    {"English", &kEnglishEdition, 80000, 13500},
    {"Turkish", &kTurkishEdition, 85000, 15000},
};

std::string text(const MessageCase& c) { return c.edition->*c.field; }

bool allowedByte(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           std::strchr(" !'(),-.:?", ch) != nullptr;
}

bool isLower(char ch) { return ch >= 'a' && ch <= 'z'; }
bool isUpper(char ch) { return ch >= 'A' && ch <= 'Z'; }

// gtest names may hold only letters, digits and underscores.
template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (ch == ' ') ch = '_';
    return name;
}

class MessageTest : public testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, HasItsLength) {
    const MessageCase& c = GetParam();
    EXPECT_EQ(c.length, text(c).size())
        << c.name << ": expected " << c.length << " characters, got " << text(c).size();
}

TEST_P(MessageTest, StartsWithItsSpaces) {
    const MessageCase& c = GetParam();
    const std::string t = text(c);
    const std::size_t spaces = t.find_first_not_of(' ');
    EXPECT_EQ(c.leadingSpaces, spaces)
        << c.name << ": expected " << c.leadingSpaces << " leading spaces, got " << spaces;
}

TEST_P(MessageTest, EndsWithoutSpace) {
    const MessageCase& c = GetParam();
    const std::string t = text(c);
    ASSERT_FALSE(t.empty()) << c.name << ": expected text, got an empty string";
    EXPECT_NE(' ', t.back()) << c.name << ": expected no trailing space, got one after \""
                             << t.substr(t.size() > 20 ? t.size() - 20 : 0) << "\"";
}

TEST_P(MessageTest, UsesOnlyTheFontsSafeCharacters) {
    const MessageCase& c = GetParam();
    const std::string t = text(c);
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_TRUE(allowedByte(t[i]))
            << c.name << ": expected A-Z, a-z, 0-9, space or !'(),-.:? at index " << i
            << ", got byte 0x" << std::hex << (static_cast<unsigned>(t[i]) & 0xFF) << std::dec;
    }
}

// Lower case is kept for handles, which are written whole in lower case; a word
// mixing cases is a typo in the upper-case prose.
TEST_P(MessageTest, WritesEachWordInOneCase) {
    const MessageCase& c = GetParam();
    const std::string t = text(c);
    std::size_t i = 0;
    while (i < t.size()) {
        if (!isLower(t[i]) && !isUpper(t[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool lower = false, upper = false;
        for (; i < t.size() && (isLower(t[i]) || isUpper(t[i])); ++i) {
            lower = lower || isLower(t[i]);
            upper = upper || isUpper(t[i]);
        }
        EXPECT_FALSE(lower && upper) << c.name << ": expected a word in one case at index " << start
                                     << ", got \"" << t.substr(start, i - start) << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Messages, MessageTest, testing::ValuesIn(kMessages),
                         caseName<MessageCase>);

class EditionTest : public testing::TestWithParam<EditionCase> {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(0, TTF_Init()) << "expected TTF_Init to succeed, got: " << TTF_GetError();
        font = TTF_OpenFont("res/bigFont.ttf", kPointSize);
    }

    static void TearDownTestSuite() {
        if (font) TTF_CloseFont(font);
        font = nullptr;
        TTF_Quit();
    }

    void SetUp() override {
        ASSERT_NE(nullptr, font) << "expected res/bigFont.ttf to open at " << kPointSize
                                 << " points, got: " << TTF_GetError();
    }

    static int widthOf(const char* text) {
        int w = -1, h = -1;
        EXPECT_EQ(0, TTF_SizeText(font, text, &w, &h))
            << "expected TTF_SizeText to measure \"" << text << "\", got: " << TTF_GetError();
        return w;
    }

    static TTF_Font* font;
};

TTF_Font* EditionTest::font = nullptr;

TEST_P(EditionTest, HasItsTimingConstants) {
    const EditionCase& c = GetParam();
    EXPECT_EQ(c.secondMessageStart, c.edition->secondMessageStart)
        << c.name << " secondMessageStart: expected " << c.secondMessageStart << ", got "
        << c.edition->secondMessageStart;
    EXPECT_EQ(c.secondMessageOffset, c.edition->secondMessageOffset)
        << c.name << " secondMessageOffset: expected " << c.secondMessageOffset << ", got "
        << c.edition->secondMessageOffset;
}

// The second text starts a fixed distance behind the first; if the first runs
// past that point the two overlap, and if it ends more than a screen earlier
// the scroll goes black in between.
TEST_P(EditionTest, SecondTextFollowsTheFirstWithinAScreen) {
    const EditionCase& c = GetParam();
    const int width = widthOf(c.edition->firstMessage);
    const int gap = c.edition->secondMessageOffset - width;
    EXPECT_TRUE(gap >= 0 && gap <= kScreenWidth)
        << c.name << ": expected secondMessageOffset " << c.edition->secondMessageOffset
        << " minus the first text's width to be 0.." << kScreenWidth << " pixels, got " << gap
        << " (width " << width << ")";
}

TEST_P(EditionTest, TextsStayWithinTheSixteenBitScroll) {
    const EditionCase& c = GetParam();
    const struct {
        const char* field;
        const char* text;
    } texts[] = {{"firstMessage", c.edition->firstMessage},
                 {"secondMessage", c.edition->secondMessage}};
    for (const auto& t : texts) {
        const int width = widthOf(t.text);
        EXPECT_LT(width, kMaxTextWidth) << c.name << " " << t.field << ": expected narrower than "
                                        << kMaxTextWidth << " pixels, got " << width;
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, EditionTest, testing::ValuesIn(kEditions),
                         caseName<EditionCase>);

}  // namespace
