// Single pixels at every depth, the lock bracket, the three shapes,
// rectsOverlap and randomFrom. Surfaces are tiny, odd-sized and made here;
// shapes are checked as the ordered list of stores they make, caught by a
// recorder that traps each store into the pixel buffer.

#include "seams.h"
#include "toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Surface makeSurface(int w, int h, int bits)
{
    Surface surface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0, 0, 0, 0));
    EXPECT_NE(surface, nullptr) << SDL_GetError();
    return surface;
}

// A surface over memory of our own: one spare row before and after it and
// four spare bytes at the end of each row, so a stray store anywhere near
// the picture shows up in the bytes around it.
struct GuardedSurface {
    static constexpr int kRowPadding = 4;
    std::vector<Uint32> memory; // Uint32 for alignment; used as bytes
    int pitch = 0;
    Surface surface;

    GuardedSurface(int w, int h, int bits)
    {
        pitch = w * (bits / 8) + kRowPadding;
        memory.assign((pitch * (h + 2) + 3) / 4, 0x5A5A5A5A);
        surface.reset(SDL_CreateRGBSurfaceFrom(bytes() + pitch, w, h, bits, pitch, 0, 0, 0, 0));
        EXPECT_NE(surface, nullptr) << SDL_GetError();
    }
    Uint8* bytes() { return reinterpret_cast<Uint8*>(memory.data()); }
    std::vector<Uint8> snapshot() { return {bytes(), bytes() + memory.size() * 4}; }
};

std::string point(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

using Points = std::vector<std::pair<int, int>>;

std::string describe(const Points& points)
{
    std::string text;
    for (const auto& p : points) {
        text += point(p.first, p.second) + " ";
    }
    return text.empty() ? "nothing" : text;
}

// --- A recorder of stores ----------------------------------------------------
//
// The pixel buffer is kept inaccessible. Each access faults; the handler
// notes the address when it was a store, opens the buffer and sets the trap
// flag, so that exactly the faulting instruction runs before the trap handler
// closes the buffer again. The result is every store, in the order made.

#if defined(__linux__) && defined(__x86_64__)
constexpr bool kCanRecordStores = true;

constexpr greg_t kTrapFlag = 0x100;
constexpr greg_t kPageFaultWasWrite = 0x2;
constexpr size_t kMaxStores = 1 << 16;

Uint8* recordBase = nullptr;
size_t recordBytes = 0;
size_t storeOffsets[kMaxStores];
size_t storeCount = 0;

void onFault(int, siginfo_t* info, void* context)
{
    auto* machine = &static_cast<ucontext_t*>(context)->uc_mcontext;
    auto* address = static_cast<Uint8*>(info->si_addr);
    if (recordBase == nullptr || address < recordBase || address >= recordBase + recordBytes) {
        std::signal(SIGSEGV, SIG_DFL); // not ours: let the access fault for real
        return;
    }
    if ((machine->gregs[REG_ERR] & kPageFaultWasWrite) != 0 && storeCount < kMaxStores) {
        storeOffsets[storeCount++] = size_t(address - recordBase);
    }
    mprotect(recordBase, recordBytes, PROT_READ | PROT_WRITE);
    machine->gregs[REG_EFL] |= kTrapFlag;
}

void onStep(int, siginfo_t*, void* context)
{
    auto* machine = &static_cast<ucontext_t*>(context)->uc_mcontext;
    mprotect(recordBase, recordBytes, PROT_NONE);
    machine->gregs[REG_EFL] &= ~kTrapFlag;
}

// A 1-byte-per-pixel surface whose stores can be recorded as points.
class RecordedSurface {
public:
    RecordedSurface(int w, int h) : width(w)
    {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        mapped = (size_t(w) * size_t(h) + page - 1) / page * page;
        memory = static_cast<Uint8*>(
            mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        surface.reset(SDL_CreateRGBSurfaceFrom(memory, w, h, 8, w, 0, 0, 0, 0));
    }
    ~RecordedSurface()
    {
        surface.reset();
        munmap(memory, mapped);
    }
    SDL_Surface* get() const { return surface.get(); }

    template <typename Work> Points storesOf(Work work)
    {
        struct sigaction fault = {}, step = {}, oldFault = {}, oldStep = {};
        fault.sa_sigaction = onFault;
        fault.sa_flags = SA_SIGINFO;
        step.sa_sigaction = onStep;
        step.sa_flags = SA_SIGINFO;
        sigaction(SIGSEGV, &fault, &oldFault);
        sigaction(SIGTRAP, &step, &oldStep);
        recordBase = memory;
        recordBytes = mapped;
        storeCount = 0;
        mprotect(memory, mapped, PROT_NONE);
        work(surface.get());
        mprotect(memory, mapped, PROT_READ | PROT_WRITE);
        recordBase = nullptr;
        sigaction(SIGSEGV, &oldFault, nullptr);
        sigaction(SIGTRAP, &oldStep, nullptr);

        Points stores;
        for (size_t k = 0; k < storeCount; ++k) {
            stores.emplace_back(int(storeOffsets[k] % width), int(storeOffsets[k] / width));
        }
        return stores;
    }

private:
    int width;
    size_t mapped = 0;
    Uint8* memory = nullptr;
    Surface surface;
};
#else
constexpr bool kCanRecordStores = false;
#endif

// --- Fixture -----------------------------------------------------------------

class Pixels : public testing::Test {
protected:
    // The dummy video driver makes SDL's hardware-surface lock a no-op we can count.
    static void SetUpTestSuite() { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override { seams::reset(); }
};

// --- getPixel and putPixel ---------------------------------------------------

struct Depth {
    int bits;
    Uint32 kept; // the part of a 32-bit value that a pixel of this depth keeps
};
const Depth kDepths[] = {{8, 0xFFu}, {16, 0xFFFFu}, {24, 0xFFFFFFu}, {32, 0xFFFFFFFFu}};

constexpr int kW = 5;
constexpr int kH = 3;

// Distinct in every byte, with the top byte set so that narrow depths must drop it.
Uint32 patternAt(int x, int y) { return 0xE0000000u | Uint32(y * kW + x + 1) * 0x00010203u; }

void storePattern(SDL_Surface* s)
{
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            putPixel(s, x, y, patternAt(x, y));
        }
    }
}

TEST_F(Pixels, EveryPixelReadsBackWhatWasStoredAtEveryDepth)
{
    for (const Depth& depth : kDepths) {
        GuardedSurface guarded(kW, kH, depth.bits);
        SDL_Surface* s = guarded.surface.get();
        storePattern(s);
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                EXPECT_EQ(getPixel(s, x, y), patternAt(x, y) & depth.kept)
                    << depth.bits << "-bit surface at " << point(x, y);
            }
        }
        // The last pixel sits at the end of the last row, after pitch-long rows.
        const Uint8* last = guarded.bytes() + guarded.pitch * kH + (kW - 1) * (depth.bits / 8);
        EXPECT_EQ(last[0], Uint8(patternAt(kW - 1, kH - 1))) << depth.bits << "-bit surface";
    }
}

TEST_F(Pixels, OutsideTheSurfaceReadsZeroAndWritesNothing)
{
    const std::pair<int, int> outside[] = {{kW, 0}, {0, kH}, {-1, 0}, {0, -1}, {kW, kH - 1}, {-1, kH}};
    for (const Depth& depth : kDepths) {
        GuardedSurface guarded(kW, kH, depth.bits);
        SDL_Surface* s = guarded.surface.get();
        storePattern(s);
        const std::vector<Uint8> before = guarded.snapshot();
        for (const auto& p : outside) {
            EXPECT_EQ(getPixel(s, p.first, p.second), 0u)
                << depth.bits << "-bit " << kW << "x" << kH << " surface at " << point(p.first, p.second);
            putPixel(s, p.first, p.second, 0xFFFFFFFFu);
            EXPECT_EQ(guarded.snapshot(), before)
                << "putPixel at " << point(p.first, p.second) << " changed memory of a " << depth.bits
                << "-bit " << kW << "x" << kH << " surface";
        }
    }
}

TEST_F(Pixels, NarrowPixelsKeepTheLowBytesOfTheValue)
{
    const Uint32 value = 0xAABBCCDDu;
    for (const Depth& depth : kDepths) {
        GuardedSurface guarded(kW, kH, depth.bits);
        putPixel(guarded.surface.get(), 2, 1, value);
        EXPECT_EQ(getPixel(guarded.surface.get(), 2, 1), value & depth.kept)
            << "stored 0x" << std::hex << value << " on a " << std::dec << depth.bits << "-bit surface";
    }
}

TEST_F(Pixels, ThreeBytePixelsLieLeastSignificantByteFirst)
{
    GuardedSurface guarded(kW, kH, 24);
    SDL_Surface* s = guarded.surface.get();
    putPixel(s, 1, 1, 0xAABBCCDDu);
    const Uint8* at = guarded.bytes() + guarded.pitch * 2 + 3;
    EXPECT_EQ(at[0], 0xDD) << "lowest address";
    EXPECT_EQ(at[1], 0xCC);
    EXPECT_EQ(at[2], 0xBB);
    EXPECT_EQ(at[3], 0x5A) << "the top byte spilled into the next pixel";
    EXPECT_EQ(at[-1], 0x5A) << "the byte before the pixel was touched";

    Uint8* raw = guarded.bytes() + guarded.pitch + 2 * 3; // pixel (2, 0)
    raw[0] = 0x11;
    raw[1] = 0x22;
    raw[2] = 0x33;
    EXPECT_EQ(getPixel(s, 2, 0), 0x332211u) << "bytes 11 22 33 in memory";
}

TEST_F(Pixels, AnUnknownPixelSizeReadsZeroAndWritesNothing)
{
    GuardedSurface guarded(kW, kH, 32);
    SDL_Surface* s = guarded.surface.get();
    putPixel(s, 1, 1, 0x01020304u);
    const Uint8 realSize = s->format->BytesPerPixel;
    const std::vector<Uint8> before = guarded.snapshot();
    for (Uint8 size : {Uint8(0), Uint8(5)}) {
        s->format->BytesPerPixel = size;
        EXPECT_EQ(getPixel(s, 1, 1), 0u) << "with " << int(size) << " bytes per pixel";
        putPixel(s, 1, 1, 0xFFFFFFFFu);
        EXPECT_EQ(guarded.snapshot(), before) << "with " << int(size) << " bytes per pixel";
    }
    s->format->BytesPerPixel = realSize;
}

// --- The lock rule -----------------------------------------------------------

TEST_F(Pixels, SurfacesThatNeedNoLockAreNeverLockedThroughSdl)
{
    struct Case {
        const char* what;
        Uint32 flags;
    };
    const Case cases[] = {
        {"a plain software surface", 0},
        {"a colour-keyed surface without RLE", SDL_SRCCOLORKEY},
        {"a surface with per-surface alpha", SDL_SRCALPHA},
    };
    for (const Case& c : cases) {
        seams::reset();
        Surface surface = makeSurface(kW, kH, 32);
        surface->flags |= c.flags;
        lockSurface(surface.get());
        unlockSurface(surface.get());
        EXPECT_EQ(seams::lockCalls, 0) << c.what;
        EXPECT_EQ(seams::unlockCalls, 0) << c.what;
        surface->flags &= ~c.flags;
    }
}

TEST_F(Pixels, SurfacesThatNeedALockAreLockedAndUnlockedOnce)
{
    struct Case {
        const char* what;
        Uint32 flags;
        Uint32 offset;
    };
    const Case cases[] = {
        {"a hardware surface", SDL_HWSURFACE, 0},
        {"an asynchronous-blit surface", SDL_ASYNCBLIT, 0},
        {"a surface with a pixel offset", 0, 8},
    };
    for (const Case& c : cases) {
        seams::reset();
        Surface surface = makeSurface(kW, kH, 32);
        surface->flags |= c.flags;
        surface->offset = int(c.offset);

        lockSurface(surface.get());
        EXPECT_EQ(seams::lockCalls, 1) << c.what << " after lockSurface";
        EXPECT_EQ(seams::unlockCalls, 0) << c.what << " after lockSurface";
        EXPECT_EQ(surface->locked, 1) << c.what;
        unlockSurface(surface.get());
        EXPECT_EQ(seams::lockCalls, 1) << c.what << " after unlockSurface";
        EXPECT_EQ(seams::unlockCalls, 1) << c.what << " after unlockSurface";
        EXPECT_EQ(surface->locked, 0) << c.what;

        surface->flags &= ~c.flags;
        surface->offset = 0;
    }
}

// An RLE-encoded picture has no plain pixels until SDL decodes it under the lock.
TEST_F(Pixels, AnRleSurfaceIsReadableInsideTheBracket)
{
    Surface picture = makeSurface(kW, kH, 32);
    Surface target = makeSurface(kW, kH, 32);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            putPixel(picture.get(), x, y, (x + y) % 2 == 0 ? 0u : patternAt(x, y) & 0xFFFFFFu);
        }
    }
    ASSERT_EQ(SDL_SetColorKey(picture.get(), SDL_SRCCOLORKEY | SDL_RLEACCEL, 0), 0);
    SDL_BlitSurface(picture.get(), nullptr, target.get(), nullptr); // the first blit encodes it
    ASSERT_NE(picture->flags & SDL_RLEACCEL, 0u) << "SDL did not RLE-encode the picture";
    seams::reset();

    lockSurface(picture.get());
    EXPECT_EQ(getPixel(picture.get(), 1, 0), patternAt(1, 0) & 0xFFFFFFu);
    EXPECT_EQ(getPixel(picture.get(), 4, 2), 0u) << "a pixel of the key colour";
    unlockSurface(picture.get());
    EXPECT_EQ(seams::lockCalls, 1);
    EXPECT_EQ(seams::unlockCalls, 1);
}

TEST_F(Pixels, PixelsAndShapesNeverLockByThemselves)
{
    Surface surface = makeSurface(kW, kH, 32);
    surface->flags |= SDL_HWSURFACE;
    putPixel(surface.get(), 1, 1, 7);
    getPixel(surface.get(), 1, 1);
    drawLine(surface.get(), 0, 0, 4, 2, 7);
    drawCircle(surface.get(), 2, 1, 1, 7);
    drawDisc(surface.get(), 0, 0, 4, 7);
    EXPECT_EQ(seams::lockCalls, 0);
    EXPECT_EQ(seams::unlockCalls, 0);
    surface->flags &= ~SDL_HWSURFACE;
}

TEST_F(Pixels, AFailedLockEndsTheProcessWithSdlsErrorText)
{
    Surface surface = makeSurface(kW, kH, 32);
    EXPECT_EXIT(
        {
            seams::fail.lock = true;
            surface->flags |= SDL_HWSURFACE;
            lockSurface(surface.get());
        },
        testing::ExitedWithCode(1), "^injected lock failure\n$");
}

// --- drawLine ----------------------------------------------------------------

TEST_F(Pixels, LinesAreWalkedFromTheFirstEndPointAndClippedPixelByPixel)
{
    if (!kCanRecordStores) {
        GTEST_SKIP() << "recording stores needs Linux on x86-64";
    }
#if defined(__linux__) && defined(__x86_64__)
    constexpr int kLineW = 9;
    constexpr int kLineH = 8;
    struct Case {
        int x1, y1, x2, y2;
        Points walk; // every point of the walk, in order, also those off the surface
    };
    const Case cases[] = {
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        {5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 1}, {0, 0}}},
        {0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}}},
        {2, 5, 0, 0, {{2, 5}, {2, 4}, {1, 3}, {1, 2}, {1, 1}, {0, 0}}},
        {4, 0, 4, 3, {{4, 0}, {4, 1}, {4, 2}, {4, 3}}},
        {2, 7, -2, 7, {{2, 7}, {1, 7}, {0, 7}, {-1, 7}, {-2, 7}}},
        {3, 3, 3, 3, {{3, 3}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {0, 0, 1, 1, {{0, 0}, {0, 1}}},
        {7, 0, 11, 2, {{7, 0}, {8, 0}, {9, 1}, {10, 1}, {11, 2}}},
    };
    for (const Case& c : cases) {
        RecordedSurface surface(kLineW, kLineH);
        const Points stores = surface.storesOf([&](SDL_Surface* s) { drawLine(s, c.x1, c.y1, c.x2, c.y2, 9); });
        Points expected;
        for (const auto& p : c.walk) {
            if (p.first >= 0 && p.first < kLineW && p.second >= 0 && p.second < kLineH) {
                expected.push_back(p);
            }
        }
        EXPECT_EQ(stores, expected) << "drawLine from " << point(c.x1, c.y1) << " to " << point(c.x2, c.y2)
                                    << " on a " << kLineW << "x" << kLineH << " surface: expected "
                                    << describe(expected) << "got " << describe(stores);
        for (const auto& p : stores) {
            EXPECT_EQ(getPixel(surface.get(), p.first, p.second), 9u) << point(p.first, p.second);
        }
    }
#endif
}

// --- drawCircle ----------------------------------------------------------------

TEST_F(Pixels, ACircleIsTwelveHundredEightyPointsStartingAtAngleZero)
{
    if (!kCanRecordStores) {
        GTEST_SKIP() << "recording stores needs Linux on x86-64";
    }
#if defined(__linux__) && defined(__x86_64__)
    struct Case {
        int radius;
        Points firstTwo;
    };
    // Radius 10: the second point is at 59.99987, which truncates to 59.
    const Case cases[] = {{10, {{60, 50}, {59, 50}}}, {0, {{50, 50}, {50, 50}}}};
    for (const Case& c : cases) {
        RecordedSurface surface(101, 101);
        const Points stores =
            surface.storesOf([&](SDL_Surface* s) { drawCircle(s, 50, 50, c.radius, 1); });
        ASSERT_EQ(stores.size(), 1280u) << "radius " << c.radius << " about (50, 50)";
        EXPECT_EQ(Points(stores.begin(), stores.begin() + 2), c.firstTwo)
            << "radius " << c.radius << " about (50, 50): expected " << describe(c.firstTwo) << "got "
            << describe(Points(stores.begin(), stores.begin() + 2));
        // Truncation moves each point by less than a pixel in x and in y.
        for (const auto& p : stores) {
            const double distance = std::hypot(p.first - 50, p.second - 50);
            EXPECT_LE(std::fabs(distance - c.radius), c.radius == 0 ? 0.0 : 1.5)
                << point(p.first, p.second) << " is off the outline of radius " << c.radius
                << " about (50, 50)";
        }
    }
#endif
}

// Truncation toward zero: a centre beyond the left edge still reaches in.
TEST_F(Pixels, ACircleIsClippedAtTheSurfaceEdge)
{
    Surface surface = makeSurface(7, 9, 8);
    SDL_FillRect(surface.get(), nullptr, 0);
    drawCircle(surface.get(), -2, 4, 3, 1);
    EXPECT_EQ(getPixel(surface.get(), 1, 4), 1u) << "the rightmost point of the outline";
    EXPECT_EQ(getPixel(surface.get(), 2, 4), 0u);
    for (int y = 0; y < 9; ++y) {
        for (int x = 2; x < 7; ++x) {
            EXPECT_EQ(getPixel(surface.get(), x, y), 0u) << point(x, y);
        }
    }
}

// --- drawDisc ----------------------------------------------------------------

TEST_F(Pixels, ADiscFillsWhatLiesStrictlyInsideItsCircle)
{
    struct Case {
        int size;
        int first, last;  // the block of box offsets it covers, empty when last < first
        bool cutCorners;  // without the block's four corner pixels
    };
    const Case cases[] = {
        {-3, 1, 0, false}, {0, 1, 0, false}, {1, 1, 0, false}, {2, 1, 1, false}, {3, 1, 1, false},
        {4, 1, 3, false},  {5, 1, 3, false}, {6, 1, 5, false}, {8, 1, 7, true},
    };
    constexpr int kX = 2;
    constexpr int kY = 1;
    for (const Case& c : cases) {
        Surface surface = makeSurface(11, 10, 8);
        SDL_FillRect(surface.get(), nullptr, 0);
        drawDisc(surface.get(), kX, kY, c.size, 1);
        int written = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 11; ++x) {
                const int i = x - kX;
                const int j = y - kY;
                const bool edgeI = i == c.first || i == c.last;
                const bool edgeJ = j == c.first || j == c.last;
                const bool expected = i >= c.first && i <= c.last && j >= c.first && j <= c.last &&
                                      !(c.cutCorners && edgeI && edgeJ);
                const Uint32 got = getPixel(surface.get(), x, y);
                written += got != 0;
                EXPECT_EQ(got, expected ? 1u : 0u)
                    << "drawDisc of size " << c.size << " at " << point(kX, kY) << ", pixel " << point(x, y);
            }
        }
        if (c.size == 8) {
            EXPECT_EQ(written, 45) << "size 8";
        }
    }
}

// --- rectsOverlap ------------------------------------------------------------

TEST_F(Pixels, RectanglesOverlapOnlyWhenTheyShareArea)
{
    struct Case {
        SDL_Rect a, b;
        bool overlap;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 0, 10, 10}, false},      // shared vertical edge
        {{0, 0, 10, 10}, {0, 10, 10, 10}, false},      // shared horizontal edge
        {{0, 0, 10, 10}, {9, 9, 10, 10}, true},        // one corner pixel in common
        {{5, 0, 0, 10}, {0, 0, 10, 10}, true},         // zero width, edge strictly inside
        {{3, 3, 0, 0}, {3, 3, 0, 0}, false},           // two empty rectangles in one place
        {{0, 0, 10, 10}, {20, 20, 5, 5}, false},       // far apart
        {{32760, 0, 20, 10}, {32767, 0, 10, 10}, true} // right edge 32780 must not wrap to 16 bits
    };
    for (const Case& c : cases) {
        auto text = [](const SDL_Rect& r) {
            std::ostringstream out;
            out << "(" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ")";
            return out.str();
        };
        EXPECT_EQ(rectsOverlap(&c.a, &c.b), c.overlap) << text(c.a) << " against " << text(c.b);
        EXPECT_EQ(rectsOverlap(&c.b, &c.a), c.overlap) << text(c.b) << " against " << text(c.a);
    }
}

// --- randomFrom --------------------------------------------------------------

TEST_F(Pixels, RandomFromAddsTheRemainderOfRandToTheBase)
{
    for (int base : {10, -7}) {
        std::srand(42);
        std::vector<int> expected;
        for (int k = 0; k < 50; ++k) {
            expected.push_back(base + std::rand() % 5);
        }
        std::srand(42);
        for (int k = 0; k < 50; ++k) {
            EXPECT_EQ(randomFrom(base, 5), expected[k]) << "draw " << k << " with base " << base << ", span 5";
        }
    }
}

TEST_F(Pixels, RandomFromStaysInItsRange)
{
    struct Case {
        int base, span, low, high;
    };
    // A span of 0 would divide by zero; it gives the base instead.
    const Case cases[] = {{10, 5, 10, 14}, {10, 1, 10, 10}, {10, 0, 10, 10}, {-3, 0, -3, -3}};
    for (const Case& c : cases) {
        std::set<int> seen;
        for (int k = 0; k < 500; ++k) {
            const int value = randomFrom(c.base, c.span);
            seen.insert(value);
            ASSERT_TRUE(value >= c.low && value <= c.high)
                << "randomFrom(" << c.base << ", " << c.span << ") gave " << value << ", expected "
                << c.low << " to " << c.high;
        }
        EXPECT_EQ(int(seen.size()), c.high - c.low + 1)
            << "randomFrom(" << c.base << ", " << c.span << ") in 500 draws";
    }
}

} // namespace
