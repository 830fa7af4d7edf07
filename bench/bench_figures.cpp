// bench_figures.cpp: the figures on the largest map (both fields unfolded: 49 x 49 x 401 nodes):
// every figure of both fields with the search for the best beta at 352.21 MHz and the figures
// at beta 0.5 (target: at most 20 ms), and the divergence check of one field alone, which every
// plotting run makes.
#include <benchmark/benchmark.h>

#include "field/figures.h"
#include "largest_map.h"

namespace {

using namespace orvex;

void BM_AllFiguresBothFields(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    for (auto _ : state) {
        const field_figures e = COMPUTE_FIGURES(field_grid.full, 0, {352.21, 0.5});
        const field_figures b = COMPUTE_FIGURES(field_grid.full, 1, {352.21, 0.5});
        benchmark::DoNotOptimize(e.divergence);
        benchmark::DoNotOptimize(b.divergence);
    }
    state.SetLabel("target <= 20 ms");
}
BENCHMARK(BM_AllFiguresBothFields)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DivergenceOneField(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    for (auto _ : state) benchmark::DoNotOptimize(DIVERGENCE(field_grid.full, 0));
}
BENCHMARK(BM_DivergenceOneField)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
