// The glass pane: its timed bounce step, its 16-bit position, and a pane
// whose picture could not be converted to the display's format.
#include "glass_pane.h"
#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 120;
constexpr int kMinY = 125;
constexpr int kMaxY = 475;
constexpr Uint32 kStep = 11; // the shortest gap after which a pane moves

class GlassPaneTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        seams::reset();
        ASSERT_TRUE(initMedia("pane test", 800, 600, 16, 0, 0));
    }
    static void TearDownTestSuite() { shutdownMedia(); }
    void SetUp() override
    {
        seams::reset();
        pane.load(kSize, kMinY, kMaxY, "res/glass.dat");
        now = 1000;
    }

    // Moves the pane with the clock standing at ticks.
    void moveAt(Uint32 ticks)
    {
        now = ticks;
        seams::setTicks(ticks);
        pane.move();
    }
    // Moves the pane once, a full step after the previous call.
    void step() { moveAt(now + kStep); }

    std::string where() const
    {
        const SDL_Rect at = pane.getPosition();
        std::ostringstream out;
        out << "(" << at.x << ", " << at.y << ")";
        return out.str();
    }

    GlassPane pane;
    Uint32 now = 0;
};

std::string positions(const std::vector<int>& values)
{
    std::ostringstream out;
    for (size_t i = 0; i < values.size(); ++i) {
        out << (i ? " " : "") << values[i];
    }
    return out.str();
}

TEST_F(GlassPaneTest, MovesOnlyWhenMoreThanTenMillisecondsHavePassed)
{
    pane.setPosition(300, 200);
    moveAt(5000);
    ASSERT_EQ("(301, 201)", where()) << "first move at 5000 ms";
    for (Uint32 gap : {0u, 1u, 10u}) {
        moveAt(5000 + gap);
        EXPECT_EQ("(301, 201)", where()) << "a move " << gap << " ms after the last must change nothing";
    }
    // Had a refused call stored its reading, this one would be refused too.
    moveAt(5000 + kStep);
    EXPECT_EQ("(302, 202)", where()) << "a move 11 ms after the last at 5000 ms";
}

TEST_F(GlassPaneTest, ARefusedMoveTurnsNothing)
{
    // Right and bottom limits: a refused call that turned the pane would be
    // undone by the next real move's own turn, which then steps outward.
    pane.setPosition(679, 354);
    step();
    step();
    ASSERT_EQ("(681, 356)", where());
    moveAt(now + 10);
    moveAt(now);
    EXPECT_EQ("(681, 356)", where());
    step();
    EXPECT_EQ("(680, 355)", where()) << "after two refused calls at (681, 356) heading right and down";
}

TEST_F(GlassPaneTest, ANewPaneMovesOnTheFirstTickCountAboveTen)
{
    GlassPane fresh;
    fresh.load(kSize, kMinY, kMaxY, "res/glass.dat");
    fresh.setPosition(-170, 150);
    for (Uint32 ticks : {0u, 5u, 10u}) {
        seams::setTicks(ticks);
        fresh.move();
        EXPECT_EQ(-170, fresh.getPosition().x) << "a new pane at tick count " << ticks;
        EXPECT_EQ(150, fresh.getPosition().y) << "a new pane at tick count " << ticks;
    }
    seams::setTicks(11);
    fresh.move();
    EXPECT_EQ(-169, fresh.getPosition().x) << "a new pane at tick count 11";
    EXPECT_EQ(151, fresh.getPosition().y) << "a new pane at tick count 11";
}

TEST_F(GlassPaneTest, TheTenMillisecondRuleHoldsAcrossTheWrapOfTheTickCount)
{
    pane.setPosition(300, 200);
    moveAt(4294967290u);
    ASSERT_EQ("(301, 201)", where());
    moveAt(4); // 10 ms later, counting through the wrap
    EXPECT_EQ("(301, 201)", where()) << "tick count 4 after a move at 4294967290";
    moveAt(5); // 11 ms later
    EXPECT_EQ("(302, 202)", where()) << "tick count 5 after a move at 4294967290";
    moveAt(15);
    EXPECT_EQ("(302, 202)", where()) << "tick count 15 after a move at 5";
}

TEST_F(GlassPaneTest, TheMoveIsTimedFromTheReadingTakenAfterTheTest)
{
    // The clock runs on between the test and the store: 100, then 105.
    pane.setPosition(300, 200);
    Uint32 reading = 100;
    seams::clock = [&reading] { return reading++ == 100 ? 100u : 105u; };
    pane.move();
    ASSERT_EQ("(301, 201)", where());
    seams::setTicks(115);
    pane.move();
    EXPECT_EQ("(301, 201)", where()) << "115 ms is 10 ms after the second reading (105) of the last move";
    seams::setTicks(116);
    pane.move();
    EXPECT_EQ("(302, 202)", where()) << "116 ms is 11 ms after the second reading (105) of the last move";
}

struct TurnCase {
    const char* what;
    int headingX; // +1 right, -1 left
    int headingY; // +1 down, -1 up
    int startX;
    int startY;
    std::vector<int> xs; // positions after each of the next moves
    std::vector<int> ys;
};

void PrintTo(const TurnCase& c, std::ostream* out) { *out << c.what; }

class PaneTurnTest : public GlassPaneTest, public testing::WithParamInterface<TurnCase> {};

TEST_P(PaneTurnTest, FollowsTheExpectedPositions)
{
    const TurnCase& c = GetParam();
    // A pane starts heading right and down; a move from beyond the right and
    // bottom limits turns it left and up.
    pane.setPosition(c.headingX < 0 ? 700 : 300, c.headingY < 0 ? 400 : 200);
    if (c.headingX < 0 || c.headingY < 0) {
        step();
    }
    pane.setPosition(c.startX, c.startY);
    std::vector<int> xs;
    std::vector<int> ys;
    for (size_t i = 0; i < c.xs.size(); ++i) {
        step();
        xs.push_back(pane.getPosition().x);
        ys.push_back(pane.getPosition().y);
    }
    EXPECT_EQ(positions(c.xs), positions(xs))
        << c.what << ": x after each move from (" << c.startX << ", " << c.startY << "), heading "
        << c.headingX << ", " << c.headingY;
    EXPECT_EQ(positions(c.ys), positions(ys))
        << c.what << ": y after each move from (" << c.startX << ", " << c.startY << "), heading "
        << c.headingX << ", " << c.headingY;
}

INSTANTIATE_TEST_SUITE_P(
    Turns, PaneTurnTest,
    testing::Values(
        TurnCase{"right edge: passes 680 by one, turns at 681", 1, 1, 679, 200, {680, 681, 680, 679}, {201, 202, 203, 204}},
        TurnCase{"left edge: passes 0 by one, turns at -1", -1, 1, 1, 200, {0, -1, 0, 1}, {201, 202, 203, 204}},
        TurnCase{"bottom: passes 355 by one, turns at 356", 1, 1, 300, 354, {301, 302, 303, 304}, {355, 356, 355, 354}},
        TurnCase{"top: passes 125 by one, turns at 124", 1, -1, 300, 126, {301, 302, 303, 304}, {125, 124, 125, 126}},
        TurnCase{"both limits at once", 1, 1, 681, 356, {680, 679}, {355, 354}},
        TurnCase{"left of the screen heading right keeps going right", 1, 1, -170, 150, {-169, -168, -167}, {151, 152, 153}},
        TurnCase{"left of the screen heading left turns right at once", -1, -1, -50, 300, {-49, -48, -47}, {299, 298, 297}},
        TurnCase{"far left of the screen heading left", -1, 1, -32768, 200, {-32767, -32766}, {201, 202}}),
    [](const testing::TestParamInfo<TurnCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(GlassPaneTest, PositionsKeepTheirLow16Bits)
{
    struct Case {
        int x, y;
        int wantX, wantY;
    };
    const Case cases[] = {
        {65366, 150, -170, 150},
        {-170, 65536 + 150, -170, 150},
        {40000, -32769, -25536, 32767},
    };
    for (const Case& c : cases) {
        pane.setPosition(c.x, c.y);
        const SDL_Rect at = pane.getPosition();
        EXPECT_EQ(c.wantX, at.x) << "setPosition(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(c.wantY, at.y) << "setPosition(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(kSize, at.w) << "width after load(" << kSize << ", ...)";
        EXPECT_EQ(kSize, at.h) << "height after load(" << kSize << ", ...)";
    }
}

TEST_F(GlassPaneTest, APaneWhosePictureCouldNotBeConvertedDrawsNothing)
{
    SDL_Surface* screen = getScreen();
    SDL_FillRect(screen, nullptr, 0x1234);
    GlassPane blind;
    // SDL_SetAlpha on a null picture would crash here.
    seams::fail.displayFormat = true;
    blind.load(kSize, kMinY, kMaxY, "res/glass.dat");
    seams::fail.displayFormat = false;
    blind.setPosition(300, 200);

    seams::record = true;
    blind.draw(screen);
    seams::record = false;
    EXPECT_TRUE(seams::calls.empty()) << "expected no library call from draw, got " << seams::calls.size()
                                      << ", the first " << seams::calls.front().name;
    const Uint16* pixels = static_cast<const Uint16*>(screen->pixels);
    const int pitch = screen->pitch / 2;
    for (int y = 0; y < screen->h; ++y) {
        for (int x = 0; x < screen->w; ++x) {
            ASSERT_EQ(0x1234, pixels[y * pitch + x]) << "screen pixel (" << x << ", " << y << ")";
        }
    }

    // It still moves by the clock, and destroying it frees nothing twice.
    seams::setTicks(50);
    blind.move();
    EXPECT_EQ(301, blind.getPosition().x);
    EXPECT_EQ(201, blind.getPosition().y);
}

} // namespace
