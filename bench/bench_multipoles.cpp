// bench_multipoles.cpp: the multipoles of one field on the largest map (49 x 49 x 401 nodes,
// the reference disc of 2/3 of the half-width holding some 800 nodes of each plane): every
// plane's fit, the factor of the disc included, and the integrated figures (target: at most
// 100 ms); and the same through the figures of one field, as --figures and the window make them.
#include <benchmark/benchmark.h>

#include "field/figures.h"
#include "field/multipoles.h"
#include "largest_map.h"

namespace {

using namespace orvex;

void BM_MultipolesAllPlanesOneField(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    const full_map& m = field_grid.full;
    const int field = static_cast<int>(state.range(0));
    FIELD_TRIPLE(m, field);  // unfolded before, as a run has it
    const double r_ref = REFERENCE_RADIUS(m, std::nullopt);
    int nodes = 0;
    for (auto _ : state) {
        const multipole_planes planes = MULTIPOLE_PLANES(m, field, r_ref);
        const multipole_figures f = MULTIPOLE_FIGURES(m, planes);
        nodes = planes.nodes;
        benchmark::DoNotOptimize(f.integrated);
    }
    state.SetLabel("target <= 100 ms; " + std::to_string(nodes) + " disc nodes x " + std::to_string(m.nz) + " planes");
}
BENCHMARK(BM_MultipolesAllPlanesOneField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
