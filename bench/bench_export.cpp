// bench_export.cpp: the largest map (both fields, all three mirrors, 49 x 49 x 401 nodes)
// exported whole in each format, the file written into a temporary directory as a run writes
// it. Target: each format within 300 ms.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "largest_map.h"
#include "fieldio/map_export.h"

namespace {

using namespace orvex;

const std::filesystem::path& SCRATCH() {
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvex_export_XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return dir;
}

void BM_ExportLargestMap(benchmark::State& state, const char* name) {
    bench::LOAD_LARGEST_MAP();
    const std::string path = (SCRATCH() / name).string();
    for (auto _ : state) {
        std::string why;
        if (!EXPORT_MAP(field_grid.full, path, {"MW_largest.bin", 0.0}, &why)) state.SkipWithError(why.c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_ExportLargestMap, h5, "map.h5")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportLargestMap, vti, "map.vti")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportLargestMap, csv, "map.csv")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(SCRATCH());
    return 0;
}
