// import_command.cpp: the importer's options, the table read, the name checked, the map written.
#include "import_command.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "console/file_output.h"
#include "map_writer.h"
#include "table_import.h"

namespace orvex::mapimport {

namespace {

struct usage_error {
    std::string text;
};

std::vector<std::string> LIST(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        out.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

std::vector<double> NUMBERS(std::string_view text, std::string_view option, std::size_t least, std::size_t most) {
    std::vector<double> out;
    for (const std::string& s : LIST(text)) {
        double v = 0.0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (r.ec != std::errc{} || r.ptr != s.data() + s.size() || !std::isfinite(v))
            throw usage_error{"bad number \"" + s + "\" for " + std::string(option)};
        out.push_back(v);
    }
    if (out.size() < least || out.size() > most) throw usage_error{std::string(option) + " needs " + std::to_string(least) +
                                                                   (most > least ? " or " + std::to_string(most) : "") + " comma-separated values"};
    return out;
}

// The kind token OUT's file name must hold, or "" when it holds the right one.
std::string NAME_PROBLEM(const std::string& out, int kind) {
    const std::string name = std::filesystem::path(out).filename().string();
    const bool mw = name.find("MW") != std::string::npos;
    const bool single = name.find("EM") != std::string::npos || name.find("PMQ") != std::string::npos ||
                        name.find("RFQ") != std::string::npos;
    if (kind == 2 && !mw) return "the table carries both fields, so the map's name must hold MW: " + name;
    if (kind != 2 && (mw || !single))
        return std::string("the table carries only the ") + (kind == 0 ? "electric" : "magnetic") +
               " field, so the map's name must hold EM, PMQ or RFQ and not MW: " + name;
    return {};
}

}  // namespace

bool ASKS_FOR_IMPORT(int argc, const char* const* argv) {
    return std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string_view(a) == "--import"; });
}

int IMPORT_COMMAND(int argc, const char* const* argv) {
    import_request request;
    std::string table, out;
    mapgen::layout layout = mapgen::layout::binary;
    bool have_layout = false, have_header = false, have_part = false;
    std::vector<double> header;
    try {
        for (int a = 1; a < argc; ++a) {
            const std::string_view opt = argv[a];
            const auto value = [&]() -> std::string_view {
                if (a + 1 >= argc) throw usage_error{std::string(opt) + " needs a value"};
                return argv[++a];
            };
            if (opt == "--import") {
                table = value();
            } else if (opt == "--columns") {
                request.columns = LIST(value());
            } else if (opt == "--units") {
                request.units = LIST(value());
            } else if (opt == "--sym") {
                const std::vector<double> v = NUMBERS(value(), opt, 3, 3);
                for (std::size_t n = 0; n < 3; ++n) {
                    if (v[n] != 0.0 && v[n] != 1.0) throw usage_error{"--sym takes three flags, each 0 or 1"};
                    request.sym[n] = static_cast<int>(v[n]);
                }
            } else if (opt == "--layout") {
                const std::string_view v = value();
                layout = v == "binary" ? mapgen::layout::binary : v == "text" ? mapgen::layout::text : mapgen::layout::nodes;
                if (v != "binary" && v != "text" && v != "nodes") throw usage_error{"layout must be binary, text or nodes"};
                have_layout = true;
            } else if (opt == "--resample") {
                const std::string_view v = value();
                if (v != "linear" && v != "cubic") throw usage_error{"--resample takes linear or cubic"};
                request.resample = v == "linear" ? resampling::linear : resampling::cubic;
            } else if (opt == "--part") {
                const std::string_view v = value();
                if (v != "re" && v != "im") throw usage_error{"--part takes re or im"};
                request.part = v == "re" ? column_part::real : column_part::imaginary;
                have_part = true;
            } else if (opt == "--header") {
                header = NUMBERS(value(), opt, 2, 3);
                have_header = true;
            } else if (opt.starts_with("--")) {
                throw usage_error{"the option " + std::string(opt) + " does not go with --import"};
            } else {
                if (!out.empty()) throw usage_error{"more than one output file"};
                out = opt;
            }
        }
        if (!have_layout) throw usage_error{"--layout is required"};
        if (out.empty()) throw usage_error{"no output file"};
        if (table.empty()) throw usage_error{"--import needs a table's file name"};
    } catch (const usage_error& e) {
        std::fprintf(stderr, "write_field_map: %s\n", e.text.c_str());
        return 2;
    }
    (void)have_part;

    try {
        std::ifstream in(table, std::ios::binary);
        std::string text;
        if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in || in.bad() || std::filesystem::is_directory(table))
            REFUSE("cannot read " + table + ": " + (errno != 0 ? std::strerror(errno) : "not a file"));
        const imported_map map = IMPORT_TABLE(request, text);
        if (const std::string problem = NAME_PROBLEM(out, map.kind); !problem.empty()) REFUSE(problem);

        mapgen::map_recipe recipe;
        recipe.kind = map.kind;
        recipe.ksym_yz = request.sym[0], recipe.ksym_xz = request.sym[1], recipe.ksym_xy = request.sym[2];
        recipe.lattice = &map.lattice;
        recipe.x_lo = map.lattice.x.front(), recipe.x_hi = map.lattice.x.back();
        recipe.y_lo = map.lattice.y.front(), recipe.y_hi = map.lattice.y.back();
        recipe.z_lo = map.lattice.z.front(), recipe.z_hi = map.lattice.z.back();
        recipe.d_elm = recipe.z_hi - (request.sym[2] == 1 ? -recipe.z_hi : recipe.z_lo);
        recipe.aper = std::min(recipe.x_hi, recipe.y_hi);
        recipe.n_cell = 0;
        if (have_header) {
            recipe.d_elm = header[0], recipe.aper = header[1];
            if (header.size() == 3) recipe.n_cell = static_cast<int>(header[2]);
        }
        std::string why;
        if (!WRITE_FILE_ATOMICALLY(out, mapgen::BUILD_FIELD_MAP(recipe, layout), &why)) REFUSE("cannot write " + out + ": " + why);
    } catch (const import_refusal& r) {
        std::fprintf(stderr, "write_field_map: %s: %s\n", table.c_str(), r.text.c_str());
        return 1;
    }
    return 0;
}

}  // namespace orvex::mapimport
