// The generated pane pictures: they load through the image library at the
// size the panes assume, each has its own tint, and each has a bright rim
// around a dark body, which is what makes it read as glass over the text.
// Runs in the build folder, where the build has written res/glass*.dat.

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kPaneSize = 120;

const char* const kPanePaths[] = {"res/glass.dat", "res/glass2.dat", "res/glass3.dat"};

struct Rgb {
    double r = 0, g = 0, b = 0;
    double sum() const { return r + g + b; }
};

std::string describe(const Rgb& c) {
    return "(" + std::to_string(int(c.r)) + "," + std::to_string(int(c.g)) + "," +
           std::to_string(int(c.b)) + ")";
}

// A picture as 8-bit RGB, whatever layout the file had: converting once to a
// known 32-bit format keeps the tests free of a per-depth pixel switch.
struct Picture {
    int width = 0, height = 0;
    std::vector<Uint32> pixels;
    SDL_PixelFormat format{};

    // Mean colour of the rectangle [x0, x1) x [y0, y1).
    Rgb mean(int x0, int y0, int x1, int y1) const {
        Rgb total;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Uint8 r, g, b;
                SDL_GetRGB(pixels[y * width + x], const_cast<SDL_PixelFormat*>(&format), &r, &g, &b);
                total.r += r;
                total.g += g;
                total.b += b;
            }
        }
        const double n = double(x1 - x0) * (y1 - y0);
        return {total.r / n, total.g / n, total.b / n};
    }

    // The middle of the pane, well clear of the bevel.
    Rgb interior() const { return mean(20, 20, width - 20, height - 20); }
};

bool loadPicture(const char* path, Picture& out) {
    SDL_Surface* loaded = IMG_Load(path);
    if (!loaded) return false;
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00,
                                            0x000000FF, 0);
    SDL_Surface* converted = SDL_ConvertSurface(loaded, rgb->format, SDL_SWSURFACE);
    SDL_FreeSurface(loaded);
    if (!converted) {
        SDL_FreeSurface(rgb);
        return false;
    }
    out.width = converted->w;
    out.height = converted->h;
    out.format = *rgb->format;
    out.format.palette = nullptr;
    out.pixels.resize(size_t(out.width) * out.height);
    SDL_LockSurface(converted);
    for (int y = 0; y < out.height; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(converted->pixels) + y * converted->pitch);
        for (int x = 0; x < out.width; ++x) out.pixels[y * out.width + x] = row[x];
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    SDL_FreeSurface(rgb);
    return true;
}

class PanePicture : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadPicture(GetParam(), picture))
            << "expected " << GetParam() << " to load, got: " << IMG_GetError();
        ASSERT_EQ(picture.width, kPaneSize) << "width of " << GetParam();
        ASSERT_EQ(picture.height, kPaneSize) << "height of " << GetParam();
    }
    Picture picture;
};

// Loading and the 120 x 120 size are checked in SetUp, for every picture.
TEST_P(PanePicture, LoadsAtPaneSize) { SUCCEED(); }

// Each side of the rim, not just the lit ones, must glint against the body,
// or the pane loses its outline where it lies over black.
TEST_P(PanePicture, EveryBevelSideIsBrighterThanTheBody) {
    struct Side {
        const char* name;
        int x0, y0, x1, y1;
    };
    const int n = kPaneSize;
    const Side sides[] = {
        {"top", 10, 0, n - 10, 2},
        {"left", 0, 10, 2, n - 10},
        {"bottom", 10, n - 2, n - 10, n},
        {"right", n - 2, 10, n, n - 10},
    };
    // At least a tenth of the way from the body to white, summed over channels:
    // the shaded sides are meant to be dim, but never as dark as the body.
    const Rgb body = picture.interior();
    const double minimum = body.sum() + (3 * 255 - body.sum()) / 10;
    for (const Side& side : sides) {
        const Rgb rim = picture.mean(side.x0, side.y0, side.x1, side.y1);
        EXPECT_GT(rim.sum(), minimum)
            << GetParam() << ", " << side.name << " bevel: expected channel sum above "
            << int(minimum) << " (body " << describe(body) << "), got " << describe(rim);
    }
}

// Over the demo's near-white text the pane adds 175/255 of its colour to the
// 80/255 share of the text; a body brighter than this would wash the letters
// out against the glass around them.
TEST_P(PanePicture, BodyIsDarkEnoughForTheTextToShowThrough) {
    constexpr double kBrightestChannel = 150;
    const Rgb body = picture.interior();
    for (double channel : {body.r, body.g, body.b}) {
        EXPECT_LE(channel, kBrightestChannel)
            << GetParam() << ": expected every body channel at most " << kBrightestChannel
            << ", got " << describe(body);
    }
}

INSTANTIATE_TEST_SUITE_P(AllPanes, PanePicture, testing::ValuesIn(kPanePaths));

// The three panes drift past and over each other; they must be told apart.
TEST(PanePictures, TintsAreDistinct) {
    constexpr double kMinimumDistance = 60;  // sum of channel differences
    Rgb tints[3];
    for (int i = 0; i < 3; ++i) {
        Picture picture;
        ASSERT_TRUE(loadPicture(kPanePaths[i], picture))
            << "expected " << kPanePaths[i] << " to load, got: " << IMG_GetError();
        tints[i] = picture.interior();
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            const double distance = std::abs(tints[i].r - tints[j].r) +
                                    std::abs(tints[i].g - tints[j].g) +
                                    std::abs(tints[i].b - tints[j].b);
            EXPECT_GE(distance, kMinimumDistance)
                << kPanePaths[i] << " " << describe(tints[i]) << " vs " << kPanePaths[j] << " "
                << describe(tints[j]) << ": expected colour distance at least "
                << kMinimumDistance << ", got " << distance;
        }
    }
}

}  // namespace
