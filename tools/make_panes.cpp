// make_panes: draws the three tinted glass pane pictures of glass_scroller.
//
// Usage: make_panes OUTDIR
// Writes OUTDIR/glass.dat, OUTDIR/glass2.dat and OUTDIR/glass3.dat, each a
// 120 x 120 uncompressed 24-bit BMP (bottom-up rows padded to 4 bytes), the
// plainest format the image library reads with no extra decoders. The output
// depends on nothing but this file, so every build makes identical pictures.
//
// The demo blits each picture at per-surface alpha 175 over black and over
// near-white text, so the eye sees 69% pane plus 31% background. A pane only
// reads as glass if the text still shows through it: the body is kept dark and
// saturated, and all the brightness goes into a thin bevel and soft streaks.
//
// Each picture is built in layers on a floating-point canvas: the tinted
// body, the specular streaks, the bevel; then it is quantised to the
// display's RGB565 levels with ordered dithering and written out.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kPaneSize = 120;

// Bevel width in pixels: wide enough to read as a moulded edge at a glance,
// narrow enough to leave most of the pane clear for the text behind.
constexpr int kBevelWidth = 5;

// Just inside the bevel the glass is darkened by this share, a thin seam that
// separates the rim from the body the way a cut edge does.
constexpr float kSeamShade = 0.30f;

// How far each bevel face is lifted from the body colour towards white.
// The light comes from the top left, so those faces catch it; the bottom and
// right faces stay brighter than the body so the whole rim still glints.
constexpr float kBevelLiftTop = 0.62f;
constexpr float kBevelLiftLeft = 0.50f;
constexpr float kBevelLiftBottom = 0.28f;
constexpr float kBevelLiftRight = 0.36f;

// The body brightens towards the top-left corner by this factor, as if the
// glass were thicker (and darker) towards the bottom right.
constexpr float kBodyGradient = 0.35f;

// RGB565 keeps 5 bits of red and blue and 6 of green.
constexpr int kRedBlueLevels = 31;
constexpr int kGreenLevels = 63;

struct Colour {
    float r, g, b;  // 0..255
};

// A soft diagonal highlight, running from bottom-left to top-right, placed
// where x + y equals `centre`, with a Gaussian cross-section.
struct Streak {
    float centre;    // value of x + y along the streak's middle
    float halfWidth; // in units of x + y
    float strength;  // 0..1, share of white added at the middle
};

struct PaneLook {
    const char* fileName;
    Colour body;  // interior tint at the middle of the pane
    Streak streaks[2];
};

// Three tints far apart on the colour wheel, so the panes stay distinguishable
// where they overlap and drift past each other.
const PaneLook kPanes[] = {
    {"glass.dat", {12, 90, 132}, {{70, 14, 0.36f}, {104, 4, 0.32f}}},   // icy cyan-blue
    {"glass2.dat", {106, 20, 116}, {{84, 16, 0.34f}, {122, 5, 0.30f}}}, // magenta-violet
    {"glass3.dat", {14, 104, 56}, {{96, 15, 0.34f}, {60, 4, 0.30f}}},   // emerald
};

using Canvas = std::vector<Colour>;

Colour& at(Canvas& canvas, int x, int y) { return canvas[y * kPaneSize + x]; }

Colour towardsWhite(Colour c, float amount) {
    return {c.r + (255 - c.r) * amount, c.g + (255 - c.g) * amount,
            c.b + (255 - c.b) * amount};
}

// Layer 1: the tint, brighter at the top left and darker at the bottom
// right, so the pane has some depth instead of being a flat filter.
void paintBody(Canvas& canvas, Colour body) {
    const float span = 2.0f * (kPaneSize - 1);
    for (int y = 0; y < kPaneSize; ++y) {
        for (int x = 0; x < kPaneSize; ++x) {
            const float t = 0.5f - (x + y) / span;  // +0.5 top-left, -0.5 bottom-right
            const float scale = 1.0f + kBodyGradient * t;
            at(canvas, x, y) = {body.r * scale, body.g * scale, body.b * scale};
        }
    }
}

// Layer 2: reflections of a window somewhere up and to the left. They fade
// towards both ends so they look like light on a surface, not painted bars.
void paintStreaks(Canvas& canvas, const Streak (&streaks)[2]) {
    for (const Streak& s : streaks) {
        for (int y = 0; y < kPaneSize; ++y) {
            for (int x = 0; x < kPaneSize; ++x) {
                const float across = (x + y - s.centre) / s.halfWidth;
                const float along = (x - y) / float(kPaneSize);  // -1..1
                const float fade = 1.0f - along * along;
                const float amount = s.strength * fade * std::exp(-across * across);
                Colour& c = at(canvas, x, y);
                c = towardsWhite(c, amount);
            }
        }
    }
}

// Layer 3: the bevelled rim. Each pixel within kBevelWidth of the border
// belongs to the face of its nearest edge, which gives mitred corners for
// free; the lift fades inwards so the bevel looks rounded, not stuck on, and
// the one-pixel seam just inside it keeps the rim from melting into the body.
void paintBevel(Canvas& canvas) {
    const int last = kPaneSize - 1;
    for (int y = 0; y < kPaneSize; ++y) {
        for (int x = 0; x < kPaneSize; ++x) {
            const int toTop = y, toLeft = x, toBottom = last - y, toRight = last - x;
            const int nearest = std::min({toTop, toLeft, toBottom, toRight});
            Colour& c = at(canvas, x, y);
            if (nearest == kBevelWidth) {
                c = {c.r * (1 - kSeamShade), c.g * (1 - kSeamShade), c.b * (1 - kSeamShade)};
            }
            if (nearest >= kBevelWidth) continue;

            float lift;
            if (nearest == toTop && toTop <= toRight) {
                lift = kBevelLiftTop;
            } else if (nearest == toLeft && toLeft <= toBottom) {
                lift = kBevelLiftLeft;
            } else if (nearest == toBottom) {
                lift = kBevelLiftBottom;
            } else {
                lift = kBevelLiftRight;
            }
            const float depth = float(kBevelWidth - nearest) / kBevelWidth;  // 1 at the rim
            c = towardsWhite(c, lift * (0.45f + 0.55f * depth));
        }
    }
}

// The 4 x 4 Bayer matrix: spreads the rounding of each 565 level over a small
// regular pattern so the soft gradients show no bands on the 16-bit display.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Rounds one channel to one of `levels` + 1 steps with a dither threshold,
// and widens it back to 8 bits with the high bits repeated, so that the
// display's own truncation to 565 lands exactly on the chosen step.
std::uint8_t quantise(float value, int levels, int bits, float threshold) {
    const float scaled = std::clamp(value, 0.0f, 255.0f) * levels / 255.0f;
    const int step = std::min(levels, int(std::floor(scaled + threshold)));
    const int shift = 8 - bits;
    return std::uint8_t((step << shift) | (step >> (bits - shift)));
}

struct Rgb8 {
    std::uint8_t r, g, b;
};

std::vector<Rgb8> toRgb565Levels(const Canvas& canvas) {
    std::vector<Rgb8> out(canvas.size());
    for (int y = 0; y < kPaneSize; ++y) {
        for (int x = 0; x < kPaneSize; ++x) {
            const float threshold = (kBayer[y % 4][x % 4] + 0.5f) / 16.0f;
            const Colour& c = canvas[y * kPaneSize + x];
            out[y * kPaneSize + x] = {quantise(c.r, kRedBlueLevels, 5, threshold),
                                      quantise(c.g, kGreenLevels, 6, threshold),
                                      quantise(c.b, kRedBlueLevels, 5, threshold)};
        }
    }
    return out;
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

bool writeBmp(const std::string& path, const std::vector<Rgb8>& pixels) {
    constexpr std::uint32_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
    const std::uint32_t rowBytes = (kPaneSize * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * kPaneSize;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, offset + imageBytes, 4);
    putLe(out, 0, 4);  // reserved
    putLe(out, offset, 4);
    putLe(out, kInfoHeaderSize, 4);
    putLe(out, kPaneSize, 4);  // width
    putLe(out, kPaneSize, 4);  // positive height: rows stored bottom-up
    putLe(out, 1, 2);          // planes
    putLe(out, 24, 2);         // bits per pixel
    putLe(out, 0, 4);          // no compression
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);  // 72 dpi, horizontally and vertically
    putLe(out, 2835, 4);
    putLe(out, 0, 4);  // no palette
    putLe(out, 0, 4);
    for (int y = kPaneSize - 1; y >= 0; --y) {
        for (int x = 0; x < kPaneSize; ++x) {
            const Rgb8& p = pixels[y * kPaneSize + x];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = kPaneSize * 3; pad < rowBytes; ++pad) out.push_back(0);
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_panes OUTDIR\n");
        return 1;
    }
    const std::string outDir = argv[1];
    for (const PaneLook& look : kPanes) {
        Canvas canvas(kPaneSize * kPaneSize);
        paintBody(canvas, look.body);
        paintStreaks(canvas, look.streaks);
        paintBevel(canvas);
        const std::string path = outDir + "/" + look.fileName;
        if (!writeBmp(path, toRgb565Levels(canvas))) {
            std::fprintf(stderr, "make_panes: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
