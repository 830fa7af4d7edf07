// bench_probe.cpp: the field between the nodes on the largest map (49 x 49 x 401 nodes), one
// core: one field's three components at 1,000,000 points spread at random over the whole region
// (the worst case for the caches; a measurement file jumps about too) and along a line, by
// each rule. Targets: at least 10 million points a second linear, 4 million cubic. The whole
// run of a probe of 1,000,000 points from a file is timed by run.sh.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "field/probe.h"
#include "largest_map.h"

namespace {

using namespace orvex;

const std::vector<point3>& RANDOM_POINTS() {
    static std::vector<point3> points;
    if (points.empty()) {
        bench::LOAD_LARGEST_MAP();
        const full_map& m = field_grid.full;
        std::mt19937_64 random(27);
        std::uniform_real_distribution<double> x(m.xmin, m.xmax), y(m.ymin, m.ymax), z(m.zmin, m.zmax);
        points.resize(1'000'000);
        for (point3& p : points) p = {x(random), y(random), z(random)};
    }
    return points;
}

const std::vector<point3>& LINE_POINTS() {
    static std::vector<point3> points;
    if (points.empty()) {
        bench::LOAD_LARGEST_MAP();
        const full_map& m = field_grid.full;
        points = SEGMENT_POINTS({m.xmin / 3, m.ymax / 5, m.zmin}, {m.xmax / 2, m.ymin / 7, m.zmax}, 1'000'000);
    }
    return points;
}

void PROBE_ALL(benchmark::State& state, const std::vector<point3>& points, interpolation rule) {
    const full_map& m = field_grid.full;
    const component_triple e = FIELD_TRIPLE(m, 0);
    double sum = 0.0;
    for (auto _ : state) {
        for (const point3& p : points) {
            interpolation_stencil s;
            if (STENCIL(m, rule, p[0], p[1], p[2], s)) sum += APPLY_STENCIL(s, e)[2];
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

void BM_LinearRandomPoints(benchmark::State& state) {
    PROBE_ALL(state, RANDOM_POINTS(), interpolation::linear);
    state.SetLabel("target >= 10M points/s");
}
BENCHMARK(BM_LinearRandomPoints)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_CubicRandomPoints(benchmark::State& state) {
    PROBE_ALL(state, RANDOM_POINTS(), interpolation::cubic);
    state.SetLabel("target >= 4M points/s");
}
BENCHMARK(BM_CubicRandomPoints)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_LinearAlongALine(benchmark::State& state) { PROBE_ALL(state, LINE_POINTS(), interpolation::linear); }
BENCHMARK(BM_LinearAlongALine)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_CubicAlongALine(benchmark::State& state) { PROBE_ALL(state, LINE_POINTS(), interpolation::cubic); }
BENCHMARK(BM_CubicAlongALine)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
