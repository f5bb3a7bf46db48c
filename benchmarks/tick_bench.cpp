// How much of the 25 ms tick the world update and the frame take, with a
// crowded field. Run from the data directory (make bench); each result also
// reports tick_share: the time of one call as a fraction of the tick.
#include "assets.h"
#include "presentation.h"
#include "rules.h"
#include "shell.h"
#include "sprites.h"
#include "state.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Game;

namespace {

constexpr double tick_seconds = 0.025;

// A field of n sprites of every kind, spread over the screen.
void Crowd(int n) {
    const int codes[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 20, 41};
    ClearSprites();
    for (int i = 0; i < n; ++i) AddSprite(40 + (i * 37) % 700, 40 + (i * 53) % 420, codes[i % 15]);
}

void ReportShare(benchmark::State& state) {
    state.counters["tick_share"] = benchmark::Counter(
        double(state.iterations()) * tick_seconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Update(benchmark::State& state) {
    StartGame();
    std::srand(1);
    for (auto _ : state) {
        state.PauseTiming();
        Crowd(int(state.range(0)));
        state.ResumeTiming();
        Update();
    }
    ReportShare(state);
}
BENCHMARK(BM_Update)->Arg(20)->Arg(100)->Arg(400);

void BM_Draw(benchmark::State& state) {
    StartGame();
    Crowd(int(state.range(0)));
    for (auto _ : state) Draw();
    ReportShare(state);
}
BENCHMARK(BM_Draw)->Arg(20)->Arg(100)->Arg(400);

void BM_MenuFrame(benchmark::State& state) {
    StartGame();
    menu = true;
    Crowd(20);
    for (auto _ : state) Draw();
    ReportShare(state);
}
BENCHMARK(BM_MenuFrame);

}  // namespace

int main(int argc, char** argv) {
    if (!Init()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Destroy();
    return 0;
}
