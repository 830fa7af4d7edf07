// bench_load.cpp: loading a kind-2 field map (six component arrays) in each layout.
//
//   BM_ReadBinaryBytes   the binary file's bytes read into memory: the floor for BM_LoadBinary
//   BM_LoadBinary        READ_FIELD_ARRAYS, binary records (target: within 2x of the floor)
//   BM_LoadTextArrays    READ_FIELD_ARRAYS, text, 17 significant digits (target: >= 400 MB/s)
//   BM_LoadNodeList      READ_FIELD_NODES, 17 significant digits (target: >= 400 MB/s)
// The maps are written once into /tmp by the map writer and read from the page cache.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "field/field_grid.h"
#include "fieldio/field_readers.h"
#include "map_writer.h"

namespace {

using orvex::mapgen::layout;

struct bench_maps {
    std::string binary, text, nodes;
    bench_maps() {
        const std::string stem = "/tmp/orvex_bench_load_" + std::to_string(::getpid());
        binary = stem + "_MW.bin";
        text = stem + "_MW.txt";
        nodes = stem + "_MW.nod";
        orvex::mapgen::map_recipe recipe;
        recipe.kind = 2;
        recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
        recipe.digits = 17;
        if (!orvex::mapgen::WRITE_FIELD_MAP(recipe, layout::binary, binary) ||
            !orvex::mapgen::WRITE_FIELD_MAP(recipe, layout::text, text) ||
            !orvex::mapgen::WRITE_FIELD_MAP(recipe, layout::nodes, nodes)) {
            std::fprintf(stderr, "bench_load: cannot write the maps into /tmp\n");
            std::exit(1);
        }
    }
    ~bench_maps() {
        for (const std::string* p : {&binary, &text, &nodes}) std::remove(p->c_str());
    }
};

const bench_maps& MAPS() {
    static const bench_maps maps;
    return maps;
}

std::int64_t SIZE_OF(const std::string& path) { return static_cast<std::int64_t>(std::filesystem::file_size(path)); }

void BM_ReadBinaryBytes(benchmark::State& state) {
    const std::string& path = MAPS().binary;
    std::vector<char> buffer(static_cast<std::size_t>(SIZE_OF(path)));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        std::size_t got = 0;
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * SIZE_OF(path));
}
BENCHMARK(BM_ReadBinaryBytes)->Unit(benchmark::kMillisecond);

void BM_LoadBinary(benchmark::State& state) {
    const std::string& path = MAPS().binary;
    for (auto _ : state) {
        orvex::field_grid.field_kind = 2;
        orvex::READ_FIELD_ARRAYS(orvex::array_layout::binary, path);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * SIZE_OF(path));
}
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);

void BM_LoadTextArrays(benchmark::State& state) {
    const std::string& path = MAPS().text;
    for (auto _ : state) {
        orvex::field_grid.field_kind = 2;
        orvex::READ_FIELD_ARRAYS(orvex::array_layout::text, path);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * SIZE_OF(path));
}
BENCHMARK(BM_LoadTextArrays)->Unit(benchmark::kMillisecond);

void BM_LoadNodeList(benchmark::State& state) {
    const std::string& path = MAPS().nodes;
    for (auto _ : state) {
        orvex::READ_FIELD_NODES(path);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * SIZE_OF(path));
}
BENCHMARK(BM_LoadNodeList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
