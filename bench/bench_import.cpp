// bench_import.cpp: a whole-region table of the largest map (49 x 49 x 401 nodes, 962,801
// rows of x, y, z and six components, the CSV export) imported and cut to its octant, every
// node left out checked against its unfolded image, then built as a binary map: what
// write_field_map --import does between reading the table and writing the file. Target: within
// 2 s (measured on the 2-core machine after the importer moved to src/fieldio: 1.48 s median
// real time, 0.72 s of CPU).
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <utility>

#include "fieldio/map_export.h"
#include "largest_map.h"
#include "map_writer.h"
#include "fieldio/import_table.h"

namespace {

using namespace orvex;

const std::string& WHOLE_REGION_TABLE() {
    static const std::string table = [] {
        bench::LOAD_LARGEST_MAP();
        std::string text;
        for (const std::string& piece : MAP_AS_CSV(field_grid.full, {"MW_largest.bin", 0.0})) text += piece;
        return text;
    }();
    return table;
}

void BM_ImportWholeRegionTableToOctant(benchmark::State& state) {
    const std::string& table = WHOLE_REGION_TABLE();
    mapimport::import_request request;
    request.sym = std::array<int, 3>{1, 1, 1};
    for (auto _ : state) {
        mapimport::imported_map map = mapimport::IMPORT_TABLE(request, table);
        mapgen::stored_lattice lattice{{map.x.begin(), map.x.end()}, {map.y.begin(), map.y.end()}, {map.z.begin(), map.z.end()},
                                       std::move(map.values)};
        mapgen::map_recipe recipe;
        recipe.kind = map.kind;
        recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
        recipe.lattice = &lattice;
        benchmark::DoNotOptimize(mapgen::BUILD_FIELD_MAP(recipe, mapgen::layout::binary));
    }
    state.counters["rows"] = 49.0 * 49 * 401;
}
BENCHMARK(BM_ImportWholeRegionTableToOctant)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
