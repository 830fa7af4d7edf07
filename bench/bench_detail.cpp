// bench_detail.cpp: the CSV export of a whole page (thirty profiles of 49 or 401 points) and
// the opening of a detail window on a 401-node profile, on the offscreen platform. The first
// open of a process (fonts, styles and chart machinery loaded) is timed once on its own.
// Targets on the two-core machine: the CSV written within 50 ms, a detail window open (built,
// shown, laid out and painted) within 100 ms, the first one too.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtCharts/QChartView>
#include <QWidget>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "offscreen_main.h"
#include "page/plotted_page.h"
#include "page/profiles_csv.h"
#include "window/detail_window.h"

namespace {

using namespace orvex;

// A page shaped like the largest map's (lines 1 and 2 of 49 nodes, lines 3 to 10 of 401),
// electric field, with smooth values up to 4.37E4 V/cm.
const plotted_page& LARGEST_PAGE() {
    static plotted_page page;
    static std::array<std::vector<double>, panel_count> pos, val;
    static constexpr std::array<std::string_view, 3> names = {"Ex", "Ey", "Ez"}, titles = {"Ex (V/cm)", "Ey (V/cm)", "Ez (V/cm)"};
    if (page.panels[0].n == 0) {
        page.map_file = "MW_octant.bin";
        page.field = &orvex::FIELD_ENTRY(0);
        for (int panel = 1; panel <= panel_count; ++panel) {
            const int line = (panel + 2) / 3, c = (panel - 1) % 3, n = line <= 2 ? 49 : 401;
            auto& x = pos[static_cast<std::size_t>(panel - 1)];
            auto& v = val[static_cast<std::size_t>(panel - 1)];
            for (int i = 0; i < n; ++i) {
                x.push_back(line <= 2 ? -2.0 + 4.0 * i / (n - 1) : -50.0 + 100.0 * i / (n - 1));
                v.push_back(4.37e4 * std::sin(0.05 * i * (c + 1)) * std::exp(-1e-4 * i * i) / line);
            }
            page.panels[static_cast<std::size_t>(panel - 1)] = {
                .panel = panel, .line = line, .component = c + 1, .n = n, .pos = x.data(), .val = v.data(),
                .axis = line == 1 ? 'x' : line == 2 ? 'y' : 'z',
                .axis_title = line == 1 ? "X (cm), Y=Z=0" : line == 2 ? "Y (cm), X=Z=0" : "Z (cm), X=Y=0",
                .value_title = titles[static_cast<std::size_t>(c)], .component_name = names[static_cast<std::size_t>(c)],
                .unit = "V/cm", .fixed_names = {'i', 'j'}, .fixed_index = {25, 25}};
        }
    }
    return page;
}

void BM_WriteWholePageCsv(benchmark::State& state) {
    const plotted_page& page = LARGEST_PAGE();
    std::array<int, panel_count> all{};
    std::iota(all.begin(), all.end(), 1);
    std::string dir = (std::filesystem::temp_directory_path() / "orvex_bench_csv_XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string path = dir + "/profiles.csv";
    for (auto _ : state) {
        if (!WRITE_PROFILES_CSV(path, page, all)) state.SkipWithError("the CSV was not written");
    }
    std::remove(path.c_str());
    ::rmdir(dir.c_str());
}
BENCHMARK(BM_WriteWholePageCsv)->Unit(benchmark::kMillisecond);

// Notes the first paint of the chart.
class paint_seen : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Open, show and paint the chart; the window is closed and deleted outside the timing.
void OPEN_AND_PAINT(int panel) {
    QWidget* w = OPEN_DETAIL_WINDOW(LARGEST_PAGE(), panel, nullptr);
    paint_seen seen;
    w->findChild<QChartView*>()->viewport()->installEventFilter(&seen);
    for (int round = 0; round < 1000 && !seen.painted; ++round) QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!seen.painted) std::abort();
}

void CLOSE_ALL() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void BM_OpenFirstDetailWindow(benchmark::State& state) {
    LARGEST_PAGE();
    for (auto _ : state) OPEN_AND_PAINT(9);
    CLOSE_ALL();
}
BENCHMARK(BM_OpenFirstDetailWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenDetailWindow(benchmark::State& state) {
    LARGEST_PAGE();
    int panel = 7;
    for (auto _ : state) {
        OPEN_AND_PAINT(panel);
        state.PauseTiming();
        CLOSE_ALL();
        panel = panel == 30 ? 7 : panel + 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDetailWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return orvex::bench::RUN_OFFSCREEN_BENCHMARKS(argc, argv); }
