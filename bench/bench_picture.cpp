// bench_picture.cpp: what --slice costs beyond reading the map, on the largest map (both fields,
// all three mirrors, 49 x 49 x 401 nodes): the XZ plane's magnitude (401 x 49 cells) taken as
// shown, drawn as a scene and made into each file's bytes, at the default sizes (900 x 560
// pixels; the PDF on the A5 page). A whole --slice run is a headless run's reading of the map
// and this; no target of its own beyond staying a small part of the run.
#include <benchmark/benchmark.h>

#include <string>

#include "largest_map.h"
#include "picture/slice_picture.h"

namespace {

using namespace orvex;

void BM_SlicePictureFile(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    const auto format = static_cast<picture_format>(state.range(0));
    const slice_cut cut{slice_plane::xz, 25, slice_quantity::magnitude, 0};
    std::string bytes, why;
    for (auto _ : state) {
        const scene picture = SLICE_SCENE(SHOW_SLICE(field_grid.full, cut, "MW_map.bin"),
                                          format == picture_format::pdf ? print_look : screen_look);
        if (!SCENE_BYTES(picture, format, bytes, why)) state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetLabel(format == picture_format::png ? "png" : format == picture_format::svg ? "svg" : "pdf");
}
BENCHMARK(BM_SlicePictureFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
