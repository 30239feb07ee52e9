// mirrorSurface and the four rotations, on tiny odd-sized surfaces of
// distinct pixel values, so that every moved pixel can be told apart and a
// pixel left behind shows as the background.

#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

constexpr Uint32 kBackground = 0xDEADBEEFu;

// Distinct in every byte, and never the background.
Uint32 valueAt(int x, int y) { return 0xA0000000u | Uint32(y * 16 + x + 1) * 0x00010101u; }

struct Grid {
    int w = 0, h = 0;
    std::vector<Uint32> cells;

    Grid(int width, int height, Uint32 fill) : w(width), h(height), cells(size_t(width * height), fill) {}
    Uint32& at(int x, int y) { return cells[size_t(y * w + x)]; }
    Uint32 at(int x, int y) const { return cells[size_t(y * w + x)]; }
    bool inside(int x, int y) const { return x >= 0 && x < w && y >= 0 && y < h; }
    bool operator==(const Grid& other) const { return w == other.w && h == other.h && cells == other.cells; }
};

std::string show(const Grid& grid)
{
    std::ostringstream out;
    out << std::hex;
    for (int y = 0; y < grid.h; ++y) {
        out << "\n   ";
        for (int x = 0; x < grid.w; ++x) {
            const Uint32 v = grid.at(x, y);
            out << " ";
            if (v == kBackground) {
                out << "--------";
            } else {
                out.width(8);
                out.fill('0');
                out << v;
            }
        }
    }
    return out.str();
}

Surface makeSurface(const Grid& grid, int bits = 32)
{
    Surface surface(SDL_CreateRGBSurface(SDL_SWSURFACE, grid.w, grid.h, bits, 0, 0, 0, 0));
    EXPECT_NE(surface, nullptr) << SDL_GetError();
    for (int y = 0; y < grid.h; ++y) {
        for (int x = 0; x < grid.w; ++x) {
            putPixel(surface.get(), x, y, grid.at(x, y));
        }
    }
    return surface;
}

Grid pattern(int w, int h)
{
    Grid grid(w, h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            grid.at(x, y) = valueAt(x, y);
        }
    }
    return grid;
}

Grid read(SDL_Surface* surface)
{
    Grid grid(surface->w, surface->h, 0);
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            grid.at(x, y) = getPixel(surface, x, y);
        }
    }
    return grid;
}

class Transforms : public testing::Test {
protected:
    // The dummy video driver makes SDL's hardware-surface lock a no-op we can count.
    static void SetUpTestSuite() { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override { seams::reset(); }
};

// --- mirrorSurface -------------------------------------------------------------

TEST_F(Transforms, MirrorTurnsEachRowAroundItsMiddle)
{
    for (int width : {1, 2, 5}) {
        const Grid original = pattern(width, 3);
        Grid expected = original;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                expected.at(x, y) = original.at(width - 1 - x, y);
            }
        }
        Surface surface = makeSurface(original);
        mirrorSurface(surface.get());
        EXPECT_EQ(read(surface.get()), expected)
            << "mirror of width " << width << ": expected" << show(expected) << "\ngot" << show(read(surface.get()));
        mirrorSurface(surface.get());
        EXPECT_EQ(read(surface.get()), original)
            << "mirror twice of width " << width << ": expected" << show(original) << "\ngot"
            << show(read(surface.get()));
    }
}

TEST_F(Transforms, MirrorTakesAndGivesBackItsOwnLock)
{
    Surface plain = makeSurface(pattern(5, 3));
    mirrorSurface(plain.get());
    EXPECT_EQ(seams::lockCalls, 0) << "a plain software surface";
    EXPECT_EQ(seams::unlockCalls, 0) << "a plain software surface";

    Surface hardware = makeSurface(pattern(5, 3));
    hardware->flags |= SDL_HWSURFACE;
    mirrorSurface(hardware.get());
    EXPECT_EQ(seams::lockCalls, 1) << "a hardware surface";
    EXPECT_EQ(seams::unlockCalls, 1) << "a hardware surface";
    EXPECT_EQ(hardware->locked, 0) << "a hardware surface";
    hardware->flags &= ~SDL_HWSURFACE;
}

// --- Rotations -------------------------------------------------------------------

enum class Variant { Deg, Rad, DegKeyed, RadKeyed };

const char* name(Variant variant)
{
    switch (variant) {
    case Variant::Deg: return "rotateDeg";
    case Variant::Rad: return "rotateRad";
    case Variant::DegKeyed: return "rotateDegKeyed";
    case Variant::RadKeyed: return "rotateRadKeyed";
    }
    return "?";
}

struct Turn {
    int dstX, dstY, cx, cy;
    int degrees;   // used by the degree variants
    float radians; // used by the radian variants
};

std::string describe(Variant variant, const Turn& t)
{
    std::ostringstream out;
    out << name(variant) << " by ";
    if (variant == Variant::Deg || variant == Variant::DegKeyed) {
        out << t.degrees << " degrees";
    } else {
        out << t.radians << " radians";
    }
    out << " about (" << t.cx << ", " << t.cy << ") to (" << t.dstX << ", " << t.dstY << ")";
    return out.str();
}

void rotate(Variant variant, const Turn& t, SDL_Surface* src, SDL_Surface* dst, Uint32 key = 0)
{
    switch (variant) {
    case Variant::Deg: rotateDeg(t.dstX, t.dstY, t.cx, t.cy, t.degrees, src, dst); break;
    case Variant::Rad: rotateRad(t.dstX, t.dstY, t.cx, t.cy, t.radians, src, dst); break;
    case Variant::DegKeyed: rotateDegKeyed(t.dstX, t.dstY, t.cx, t.cy, t.degrees, src, dst, key); break;
    case Variant::RadKeyed: rotateRadKeyed(t.dstX, t.dstY, t.cx, t.cy, t.radians, src, dst, key); break;
    }
}

// Rotates a fresh pattern of srcW x srcH onto a background of dstW x dstH.
Grid rotatedPattern(Variant variant, const Turn& t, int srcW, int srcH, int dstW, int dstH)
{
    Surface src = makeSurface(pattern(srcW, srcH));
    Surface dst = makeSurface(Grid(dstW, dstH, kBackground));
    rotate(variant, t, src.get(), dst.get(), kBackground);
    return read(dst.get());
}

struct Landing {
    int srcX, srcY, dstX, dstY;
};

TEST_F(Transforms, RotationsPutEachSourcePixelWhereTheCasesSay)
{
    struct Case {
        Variant variant;
        Turn turn;
        int srcW, srcH, dstW, dstH;
        std::vector<Landing> landings; // every destination pixel not listed keeps the background
    };
    const Case cases[] = {
        // Angle 0 copies, whatever the pivot.
        {Variant::Deg, {2, 1, 1, 1, 0, 0}, 3, 2, 7, 4,
         {{0, 0, 2, 1}, {1, 0, 3, 1}, {2, 0, 4, 1}, {0, 1, 2, 2}, {1, 1, 3, 2}, {2, 1, 4, 2}}},
        {Variant::Rad, {2, 1, 1, 1, 0, 0.0f}, 3, 2, 7, 4,
         {{0, 0, 2, 1}, {1, 0, 3, 1}, {2, 0, 4, 1}, {0, 1, 2, 2}, {1, 1, 3, 2}, {2, 1, 4, 2}}},
        // Clockwise on screen: right of the pivot goes below it.
        {Variant::Deg, {10, 10, 0, 0, 90, 0}, 2, 2, 12, 12,
         {{0, 0, 10, 10}, {1, 0, 10, 11}, {0, 1, 9, 10}, {1, 1, 9, 11}}},
        // (0, 1) lands on column -1; (1, 0) and (1, 1) meet at (0, 1) and the later one stays.
        {Variant::Deg, {0, 0, 0, 0, 90, 0}, 2, 2, 3, 3, {{0, 0, 0, 0}, {1, 1, 0, 1}}},
        // 3.1415 falls short of pi, so the pixel left of the pivot ends a row higher.
        {Variant::Deg, {10, 10, 1, 0, 180, 0}, 3, 1, 13, 11, {{2, 0, 10, 10}, {1, 0, 11, 10}, {0, 0, 12, 9}}},
        // Not a copy either: 6.283 is a little short of a full turn.
        {Variant::Deg, {10, 10, 1, 0, 360, 0}, 3, 1, 13, 11, {{0, 0, 10, 10}, {1, 0, 11, 10}, {2, 0, 12, 9}}},
        // Counter-clockwise: right of the pivot goes above it.
        {Variant::Deg, {10, 10, 0, 0, -90, 0}, 2, 2, 12, 12,
         {{0, 0, 10, 10}, {1, 0, 10, 9}, {0, 1, 11, 10}, {1, 1, 11, 9}}},
        // A hair short of a quarter turn; -1.5708 would overshoot and truncate a column left.
        {Variant::Rad, {10, 10, 0, 0, 0, -1.5707f}, 2, 2, 12, 12,
         {{0, 0, 10, 10}, {1, 0, 10, 9}, {0, 1, 11, 10}, {1, 1, 11, 9}}},
    };
    for (const Case& c : cases) {
        Grid expected(c.dstW, c.dstH, kBackground);
        for (const Landing& l : c.landings) {
            expected.at(l.dstX, l.dstY) = valueAt(l.srcX, l.srcY);
        }
        const Grid got = rotatedPattern(c.variant, c.turn, c.srcW, c.srcH, c.dstW, c.dstH);
        EXPECT_EQ(got, expected) << describe(c.variant, c.turn) << " of a " << c.srcW << "x" << c.srcH
                                 << " source: expected" << show(expected) << "\ngot" << show(got);
    }
}

TEST_F(Transforms, KeyedRotationsSkipOnlyPixelsEqualToTheKey)
{
    const Turn turns[] = {{1, 2, 2, 1, 0, 0.0f}, {3, 1, 2, 1, 30, 0.5f}, {4, 4, 1, 1, -135, -2.3f}};
    const Variant pairs[][2] = {{Variant::DegKeyed, Variant::Deg}, {Variant::RadKeyed, Variant::Rad}};
    for (const Turn& t : turns) {
        for (const auto& pair : pairs) {
            const Grid source = pattern(5, 3);
            Surface src = makeSurface(source);
            Surface plainDst = makeSurface(Grid(9, 8, kBackground));
            rotate(pair[1], t, src.get(), plainDst.get());
            const Grid unkeyed = read(plainDst.get());

            // A key that matches nothing changes nothing.
            Surface keyedDst = makeSurface(Grid(9, 8, kBackground));
            rotate(pair[0], t, src.get(), keyedDst.get(), 0x12345678u);
            EXPECT_EQ(read(keyedDst.get()), unkeyed)
                << describe(pair[0], t) << " with a key that matches nothing: expected" << show(unkeyed)
                << "\ngot" << show(read(keyedDst.get()));

            // A key that matches everything writes nothing.
            Surface uniform = makeSurface(Grid(5, 3, 0x00C0FFEEu));
            Surface untouched = makeSurface(Grid(9, 8, kBackground));
            rotate(pair[0], t, uniform.get(), untouched.get(), 0x00C0FFEEu);
            EXPECT_EQ(read(untouched.get()), Grid(9, 8, kBackground))
                << describe(pair[0], t) << " with a key that matches every pixel: got" << show(read(untouched.get()));
        }
    }
}

TEST_F(Transforms, AKeyedCopyLeavesOutTheKeyPixelsAndComparesAllThirtyTwoBits)
{
    Grid source = pattern(3, 2);
    source.at(1, 0) = 0x00112233u;
    source.at(2, 1) = 0x00112233u;
    const Turn copy = {1, 1, 0, 0, 0, 0.0f};
    for (Variant variant : {Variant::DegKeyed, Variant::RadKeyed}) {
        Surface src = makeSurface(source);
        Surface dst = makeSurface(Grid(5, 4, kBackground));
        rotate(variant, copy, src.get(), dst.get(), 0x00112233u);
        Grid expected(5, 4, kBackground);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                if (source.at(x, y) != 0x00112233u) {
                    expected.at(x + 1, y + 1) = source.at(x, y);
                }
            }
        }
        EXPECT_EQ(read(dst.get()), expected)
            << describe(variant, copy) << ", key 0x00112233: expected" << show(expected) << "\ngot"
            << show(read(dst.get()));

        // A key with a high byte never equals a zero-extended 16-bit pixel.
        Surface narrow = makeSurface(Grid(3, 2, 0x2233u), 16);
        Surface narrowDst = makeSurface(Grid(5, 4, 0u), 16);
        rotate(variant, copy, narrow.get(), narrowDst.get(), 0xFFFF2233u);
        EXPECT_EQ(getPixel(narrowDst.get(), 2, 2), 0x2233u)
            << describe(variant, copy) << " of a 16-bit 0x2233 source with key 0xFFFF2233";
    }
}

TEST_F(Transforms, ValuesAreStoredByTheDestinationsDepthUnconverted)
{
    Surface src = makeSurface(pattern(3, 2));
    Surface dst = makeSurface(Grid(3, 2, 0u), 16);
    rotateDeg(0, 0, 0, 0, 0, src.get(), dst.get());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(getPixel(dst.get(), x, y), valueAt(x, y) & 0xFFFFu) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(Transforms, RotationsLockTheSourceFirstAndGiveItBackLast)
{
    for (Variant variant : {Variant::Deg, Variant::Rad, Variant::DegKeyed, Variant::RadKeyed}) {
        seams::reset();
        Surface src = makeSurface(pattern(3, 2));
        Surface dst = makeSurface(Grid(4, 4, kBackground));
        src->flags |= SDL_HWSURFACE;
        dst->flags |= SDL_HWSURFACE;
        seams::record = true;
        const Turn t = {1, 1, 0, 0, 90, 1.5f};
        rotate(variant, t, src.get(), dst.get(), 0x1u);
        seams::record = false;
        std::vector<std::string> order;
        for (const seams::Call& call : seams::calls) {
            order.push_back(call.name + (call.src == src.get() ? " src" : call.src == dst.get() ? " dst" : " other"));
        }
        const std::vector<std::string> expected = {"lock src", "lock dst", "unlock dst", "unlock src"};
        EXPECT_EQ(order, expected) << describe(variant, t);
        src->flags &= ~SDL_HWSURFACE;
        dst->flags &= ~SDL_HWSURFACE;
    }
}

TEST_F(Transforms, RotationsTakeAndGiveBackBothLocks)
{
    struct Case {
        int srcW, srcH;
        bool srcLocks, dstLocks;
        int lockCalls;
    };
    // A source with no pixels still takes and gives back both locks.
    const Case cases[] = {
        {0, 3, true, true, 2}, {3, 0, true, true, 2}, {0, 0, true, false, 1},
        {3, 2, true, true, 2}, {3, 2, false, true, 1}, {3, 2, false, false, 0},
    };
    for (Variant variant : {Variant::Deg, Variant::Rad, Variant::DegKeyed, Variant::RadKeyed}) {
        for (const Case& c : cases) {
            seams::reset();
            Surface src(SDL_CreateRGBSurface(SDL_SWSURFACE, c.srcW, c.srcH, 32, 0, 0, 0, 0));
            Surface dst = makeSurface(Grid(4, 4, kBackground));
            ASSERT_NE(src, nullptr) << SDL_GetError();
            src->flags |= c.srcLocks ? SDL_HWSURFACE : 0;
            dst->flags |= c.dstLocks ? SDL_HWSURFACE : 0;
            const Turn t = {1, 1, 0, 0, 45, 0.8f};
            rotate(variant, t, src.get(), dst.get(), 0x1u);
            const std::string what = describe(variant, t) + " of a " + std::to_string(c.srcW) + "x" +
                                     std::to_string(c.srcH) + " source, " + (c.srcLocks ? "" : "un") +
                                     "lockable, onto a " + (c.dstLocks ? "" : "un") + "lockable target";
            EXPECT_EQ(seams::lockCalls, c.lockCalls) << what;
            EXPECT_EQ(seams::unlockCalls, c.lockCalls) << what;
            EXPECT_EQ(src->locked, 0) << what;
            EXPECT_EQ(dst->locked, 0) << what;
            if (c.srcW == 0 || c.srcH == 0) {
                EXPECT_EQ(read(dst.get()), Grid(4, 4, kBackground)) << what << " wrote pixels";
            }
            src->flags &= ~SDL_HWSURFACE;
            dst->flags &= ~SDL_HWSURFACE;
        }
    }
}

// --- A surface rotated onto itself ------------------------------------------------

// Where a source pixel goes: the rotation as documented, with its single-
// precision stores, the 3.1415 factor and truncation toward zero.
void landing(const Turn& t, int j, int i, int& x, int& y)
{
    const float angle = float(t.degrees * 3.1415 / 180);
    const double c = std::cos(double(angle));
    const double s = std::sin(double(angle));
    float rx = float(c * (j - t.cx) - s * (i - t.cy));
    float ry = float(s * (j - t.cx) + c * (i - t.cy));
    rx += float(t.cx);
    ry += float(t.cy);
    x = int(t.dstX + double(rx));
    y = int(t.dstY + double(ry));
}

// The pass reads the live picture, so earlier writes become later sources.
Grid inPlaceModel(Grid grid, const Turn& t)
{
    for (int i = 0; i < grid.h; ++i) {
        for (int j = 0; j < grid.w; ++j) {
            int x = 0, y = 0;
            landing(t, j, i, x, y);
            if (grid.inside(x, y)) {
                grid.at(x, y) = grid.at(j, i);
            }
        }
    }
    return grid;
}

// The same mapping from an untouched copy of the picture.
Grid fromCopyModel(const Grid& grid, const Turn& t)
{
    Grid result = grid;
    for (int i = 0; i < grid.h; ++i) {
        for (int j = 0; j < grid.w; ++j) {
            int x = 0, y = 0;
            landing(t, j, i, x, y);
            if (result.inside(x, y)) {
                result.at(x, y) = grid.at(j, i);
            }
        }
    }
    return result;
}

TEST_F(Transforms, ASurfaceRotatedOntoItselfReadsBackItsOwnWrites)
{
    const Turn turns[] = {{0, 0, 2, 1, 90, 0}, {1, 0, 1, 2, -45, 0}, {1, 1, 2, 2, 200, 0}, {0, 0, 3, 1, 33, 0}};
    const Grid original = pattern(5, 4);
    for (const Turn& t : turns) {
        Surface surface = makeSurface(original);
        surface->flags |= SDL_HWSURFACE; // the same surface, locked twice
        rotateDeg(t.dstX, t.dstY, t.cx, t.cy, t.degrees, surface.get(), surface.get());
        surface->flags &= ~SDL_HWSURFACE;
        const Grid expected = inPlaceModel(original, t);
        EXPECT_EQ(read(surface.get()), expected) << describe(Variant::Deg, t) << " onto itself: expected"
                                                 << show(expected) << "\ngot" << show(read(surface.get()));
        EXPECT_EQ(surface->locked, 0) << describe(Variant::Deg, t);
    }
    // The case that shows the re-reading: the 90-degree turn differs from one made from a copy.
    EXPECT_FALSE(inPlaceModel(original, turns[0]) == fromCopyModel(original, turns[0]));
}

} // namespace
