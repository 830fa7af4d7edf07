// bench_track.cpp: tracking on the largest map (both fields, 49 x 49 x 401 nodes, 100 cm along
// z): one proton of 10 MeV at 352.21 MHz, off the axis, tracked from the first z plane to the
// last (target: at most 5 ms), and a scan of 360 phases with its crest (target: at most 0.5 s,
// on all cores). The label says how many steps a track takes and how far apart halving them
// puts the gain and the slopes.
#include <benchmark/benchmark.h>

#include <string>

#include "beam/phase_scan.h"
#include "console/number_text.h"
#include "largest_map.h"

namespace {

using namespace orvex;

track_request PROTON() {
    track_request r;
    r.who = *PARTICLE_NAMED("proton");
    r.energy_mev = 10.0;
    r.frequency_mhz = 352.21;
    r.phase_deg = -30.0;
    r.x_cm = 0.2, r.y_cm = -0.1, r.xp_mrad = 1.0, r.yp_mrad = -2.0;
    return r;
}

void BM_OneTrack(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    const track_request r = PROTON();
    track_result t;
    for (auto _ : state) {
        t = TRACK(field_grid.full, r);
        benchmark::DoNotOptimize(t.gain_mev);
    }
    const std::optional<halving_check> h = HALVING_CHECK(field_grid.full, r, t);
    state.SetLabel("target <= 5 ms; " + std::string(t.loss == track_loss::none ? "through" : "lost") + ", " +
                   NUMBER_I(t.steps) + " steps, " + NUMBER_I(t.clock_iterations) + " clock passes, halving: gain " +
                   (h ? NUMBER_G(h->gain_change_mev / std::fabs(t.gain_mev), 2) : std::string("-")) + " relative, slopes " +
                   (h ? NUMBER_G(h->slope_change_mrad, 2) : std::string("-")) + " mrad");
}
BENCHMARK(BM_OneTrack)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Scan360(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    const track_request r = PROTON();
    phase_scan s;
    for (auto _ : state) {
        s = PHASE_SCAN(field_grid.full, r, 360);
        benchmark::DoNotOptimize(s.crest);
    }
    state.SetLabel("target <= 500 ms; crest " + (s.crest ? NUMBER_G(s.crest->phase_deg, 10) : std::string("-")) + " deg");
}
BENCHMARK(BM_Scan360)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
