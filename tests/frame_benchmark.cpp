// The cost of a frame and of one pane's refraction, on the 800 x 600 x 16
// display. Run from the build folder (it reads res/), headless with
// SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy.
//
// The scene's own panes start left of the screen and take several seconds of
// real time to slide in, and they are private, so the frame here is put
// together from the same public steps drawFrame takes: the black clear,
// drawScroller, then for three panes loaded from the scene's pictures and
// placed in view, refractPane and move, then drawGuideBars. The panes bounce
// on the real clock while the benchmark runs and stay in view.
#include "scroll_scene.h"
#include "toolkit.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

ScrollScene* scene = nullptr;

struct InView {
    const char* path;
    int x, y;
};
constexpr InView kInView[] = {
    {"res/glass.dat", 100, 150},
    {"res/glass2.dat", 340, 250},
    {"res/glass3.dat", 560, 200},
};

void placePanes(GlassPane (&panes)[3])
{
    for (int i = 0; i < 3; ++i) {
        panes[i].load(120, 125, 475, kInView[i].path);
        panes[i].setPosition(kInView[i].x, kInView[i].y);
    }
}

void BM_FrameWithThreePanesInView(benchmark::State& state)
{
    SDL_Surface* screen = getScreen();
    GlassPane panes[3];
    placePanes(panes);
    for (auto _ : state) {
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        scene->drawScroller(screen);
        for (GlassPane& pane : panes) {
            scene->refractPane(pane, screen);
            pane.move();
        }
        scene->drawGuideBars(screen);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameWithThreePanesInView)->Unit(benchmark::kMillisecond);

void BM_RefractOnePaneInView(benchmark::State& state)
{
    SDL_Surface* screen = getScreen();
    GlassPane pane;
    pane.load(120, 125, 475, "res/glass.dat");
    pane.setPosition(340, 240);
    for (auto _ : state) {
        scene->refractPane(pane, screen);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 120 * 120); // block copies
}
BENCHMARK(BM_RefractOnePaneInView)->Unit(benchmark::kMillisecond);

// The scene's own frame in its first second: all three panes still left of
// the screen, so their block copies are clipped away.
void BM_DrawFrameWithPanesOffScreen(benchmark::State& state)
{
    SDL_Surface* screen = getScreen();
    ScrollScene fresh;
    for (auto _ : state) {
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        fresh.drawFrame(screen);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawFrameWithPanesOffScreen)->Unit(benchmark::kMillisecond)->MinTime(0.3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!initMedia("frame benchmark", 800, 600, 16, 0, 0)) {
        std::fprintf(stderr, "the display could not be opened\n");
        return 1;
    }
    scene = new ScrollScene;
    benchmark::RunSpecifiedBenchmarks();
    delete scene;
    shutdownMedia();
    return 0;
}
