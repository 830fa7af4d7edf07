// bench_probe.cpp: the field between the nodes on the largest map (49 x 49 x 401 nodes), one
// core: one field's three components at 1,000,000 points, by each rule, along a line (a track,
// a segment, a circle: the nodes of one point are those of the next) and spread at random over
// the whole region (a measurement file in any order), the latter read as the probe reads them,
// in the order of their z cells (the ordering included), and, for comparison, in the order
// given, where every point waits for memory. Targets: at least 10 million points a second
// linear and 4 million cubic. The whole run of a probe of 1,000,000 points from a file is timed
// by run.sh.
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

// The probe's way with many points: ordered by their z cells first (the order's cost included).
void PROBE_IN_Z_CELL_ORDER(benchmark::State& state, const std::vector<point3>& points, interpolation rule) {
    const full_map& m = field_grid.full;
    const std::array<component_triple, 1> e{FIELD_TRIPLE(m, 0)};
    std::vector<double> values(3 * points.size());
    for (auto _ : state) {
        for (const std::uint32_t k : Z_CELL_ORDER(m, points)) PROBE_AT(m, rule, points[k], e, values.data() + 3 * k);
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

void BM_LinearRandomPointsInZCellOrder(benchmark::State& state) {
    PROBE_IN_Z_CELL_ORDER(state, RANDOM_POINTS(), interpolation::linear);
    state.SetLabel("target >= 10M points/s");
}
BENCHMARK(BM_LinearRandomPointsInZCellOrder)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_CubicRandomPointsInZCellOrder(benchmark::State& state) {
    PROBE_IN_Z_CELL_ORDER(state, RANDOM_POINTS(), interpolation::cubic);
    state.SetLabel("target >= 4M points/s");
}
BENCHMARK(BM_CubicRandomPointsInZCellOrder)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_LinearRandomPoints(benchmark::State& state) {
    PROBE_ALL(state, RANDOM_POINTS(), interpolation::linear);
    state.SetLabel("in the order given: bound by memory latency");
}
BENCHMARK(BM_LinearRandomPoints)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_CubicRandomPoints(benchmark::State& state) {
    PROBE_ALL(state, RANDOM_POINTS(), interpolation::cubic);
    state.SetLabel("in the order given: bound by memory latency");
}
BENCHMARK(BM_CubicRandomPoints)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_LinearAlongALine(benchmark::State& state) {
    PROBE_ALL(state, LINE_POINTS(), interpolation::linear);
    state.SetLabel("target >= 10M points/s");
}
BENCHMARK(BM_LinearAlongALine)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_CubicAlongALine(benchmark::State& state) {
    PROBE_ALL(state, LINE_POINTS(), interpolation::cubic);
    state.SetLabel("target >= 4M points/s");
}
BENCHMARK(BM_CubicAlongALine)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
