// import_command.cpp: write_field_map --import TABLE ...: the importer's options parsed, the
// table read and imported (fieldio/import_table.h), the output's name checked, the map written
// whole and the control file beside it.
//     --import TABLE  --layout binary|text|nodes  OUT
//     [--columns x,y,z,Ex,Ey,Ez] [--units mm,V/m] [--sym YZ,XZ,XY] [--resample linear|cubic]
//     [--part re|im] [--header D_ELM,APER[,NCELL]] [--mirror-tolerance REL]
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "console/file_output.h"
#include "console/run_stop.h"
#include "fieldio/import_source.h"
#include "fieldio/import_table.h"
#include "map_writer.h"
#include "write_field_map.h"

namespace orvex::mapgen {

namespace {

using mapimport::SHOWN_TEXT;

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
            throw usage_error{"bad number \"" + SHOWN_TEXT(s) + "\" for " + std::string(option)};
        out.push_back(v);
    }
    if (out.size() < least || out.size() > most)
        throw usage_error{std::string(option) + " needs " + std::to_string(least) +
                          (most > least ? " or " + std::to_string(most) : "") + " comma-separated values"};
    return out;
}

// --header D_ELM,APER[,NCELL]: two finite reals and the integer a map's header holds.
mapimport::map_header HEADER(std::string_view text) {
    const std::vector<std::string> parts = LIST(text);
    if (parts.size() < 2 || parts.size() > 3) throw usage_error{"--header needs 2 or 3 comma-separated values"};
    const std::vector<double> reals = NUMBERS(parts[0] + "," + parts[1], "--header", 2, 2);
    mapimport::map_header h{reals[0], reals[1], 0};
    if (parts.size() == 3) {
        const std::string& n = parts[2];
        const auto r = std::from_chars(n.data(), n.data() + n.size(), h.n_cell);
        if (r.ec != std::errc{} || r.ptr != n.data() + n.size())
            throw usage_error{"--header: n_cell \"" + SHOWN_TEXT(n) + "\" is not an integer from -2147483648 to 2147483647"};
    }
    return h;
}

// What is wrong with OUT's name for the map's fields, or "" (the viewer reads the kind from the
// name's token; a positive n_cell in an array layout says both fields whatever the name says).
std::string NAME_PROBLEM(const std::string& out, const mapimport::imported_map& map, bool ncell_says_both) {
    const std::size_t slash = out.rfind('/');
    const std::string name = slash == std::string::npos ? out : out.substr(slash + 1);
    const bool mw = name.find("MW") != std::string::npos;
    const bool single = name.find("EM") != std::string::npos || name.find("PMQ") != std::string::npos ||
                        name.find("RFQ") != std::string::npos;
    const std::string shown = SHOWN_TEXT(name, 200);
    if (ncell_says_both)
        return mw || single ? "" : "the map's name must hold MW, EM, PMQ or RFQ: " + shown;
    if (map.kind == 2 && !mw) return "the table carries both fields, so the map's name must hold MW: " + shown;
    if (map.kind != 2 && (mw || !single))
        return std::string("the table carries only the ") + (map.kind == 0 ? "electric" : "magnetic") +
               " field, so the map's name must hold EM, PMQ or RFQ and not MW: " + shown;
    return {};
}

}  // namespace

bool ASKS_FOR_IMPORT(int argc, const char* const* argv) {
    return std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string_view(a) == "--import"; });
}

int IMPORT_COMMAND(int argc, const char* const* argv) {
    mapimport::import_request request;
    std::string table, out;
    layout lay = layout::binary;
    bool have_layout = false;
    try {
        for (int a = 1; a < argc; ++a) {
            const std::string_view opt = argv[a];
            const auto value = [&]() -> std::string_view {
                if (a + 1 >= argc) throw usage_error{std::string(opt) + " needs a value"};
                return argv[++a];
            };
            if (opt == "--help" || opt == "-h") return ANSWER_HELP();
            if (opt == "--version" || opt == "-V") return ANSWER_VERSION();
            if (opt == "--import") {
                table = value();
            } else if (opt == "--columns") {
                request.columns = LIST(value());
            } else if (opt == "--units") {
                request.units = LIST(value());
            } else if (opt == "--sym") {
                const std::vector<double> v = NUMBERS(value(), opt, 3, 3);
                std::array<int, 3> sym{};
                for (std::size_t n = 0; n < 3; ++n) {
                    if (v[n] != 0.0 && v[n] != 1.0) throw usage_error{"--sym takes three flags, each 0 or 1"};
                    sym[n] = static_cast<int>(v[n]);
                }
                request.sym = sym;
            } else if (opt == "--layout") {
                const std::string_view v = value();
                if (v != "binary" && v != "text" && v != "nodes") throw usage_error{"layout must be binary, text or nodes"};
                lay = v == "binary" ? layout::binary : v == "text" ? layout::text : layout::nodes;
                have_layout = true;
            } else if (opt == "--resample") {
                const std::string_view v = value();
                if (v != "linear" && v != "cubic") throw usage_error{"--resample takes linear or cubic"};
                request.resample = v == "linear" ? mapimport::resampling::linear : mapimport::resampling::cubic;
            } else if (opt == "--part") {
                const std::string_view v = value();
                if (v != "re" && v != "im") throw usage_error{"--part takes re or im"};
                request.part = v == "re" ? mapimport::column_part::real : mapimport::column_part::imaginary;
            } else if (opt == "--header") {
                request.header = HEADER(value());
            } else if (opt == "--mirror-tolerance") {
                request.mirror_tolerance = NUMBERS(value(), opt, 1, 1)[0];
                if (request.mirror_tolerance < 0.0) throw usage_error{"--mirror-tolerance must be 0 or more"};
            } else if (opt.starts_with("--")) {
                throw usage_error{"the option " + SHOWN_TEXT(opt) + " does not go with --import"};
            } else {
                if (!out.empty()) throw usage_error{"more than one output file"};
                out = opt;
            }
        }
        if (!have_layout) throw usage_error{"--layout is required"};
        if (out.empty()) throw usage_error{"no output file"};
        if (table.empty()) throw usage_error{"--import needs a table's file name"};
    } catch (const usage_error& e) {
        SAY(e.text);
        return 2;
    }
    request.ncell_marks_both = lay != layout::nodes;

    const std::string shown_table = SHOWN_TEXT(table, 200), shown_out = SHOWN_TEXT(out, 200);
    mapimport::imported_map map;
    try {
        mapimport::file_identity table_id;
        const std::string bytes = mapimport::READ_TABLE_FILE(table, table_id);
        const mapimport::file_identity out_id = mapimport::IDENTITY_OF(out);
        if (out_id.known && out_id.device == table_id.device && out_id.inode == table_id.inode)
            mapimport::REFUSE("the output " + shown_out + " is the table itself; write the map to another file");
        map = mapimport::IMPORT_TABLE(request, bytes);
    } catch (const run_stop& refusal) {
        SAY(shown_table + ": " + refusal.message);
        return 1;
    }
    const bool ncell_says_both = request.ncell_marks_both && map.header.n_cell > 0;
    if (const std::string problem = NAME_PROBLEM(out, map, ncell_says_both); !problem.empty()) {
        SAY(shown_table + ": " + problem);
        return 1;
    }

    stored_lattice lattice;
    lattice.x.assign(map.x.begin(), map.x.end());
    lattice.y.assign(map.y.begin(), map.y.end());
    lattice.z.assign(map.z.begin(), map.z.end());
    lattice.values = std::move(map.values);
    map_recipe recipe;
    recipe.kind = map.kind;
    recipe.ksym_yz = map.sym[0], recipe.ksym_xz = map.sym[1], recipe.ksym_xy = map.sym[2];
    recipe.lattice = &lattice;
    recipe.x_lo = lattice.x.front(), recipe.x_hi = lattice.x.back();
    recipe.y_lo = lattice.y.front(), recipe.y_hi = lattice.y.back();
    recipe.z_lo = lattice.z.front(), recipe.z_hi = lattice.z.back();
    recipe.d_elm = map.header.d_elm, recipe.aper = map.header.aper, recipe.n_cell = map.header.n_cell;
    std::string why;
    if (!WRITE_FILE_ATOMICALLY(out, BUILD_FIELD_MAP(recipe, lay), &why)) {
        SAY("cannot write " + shown_out + ": " + why);
        return 1;
    }
    CONTROL_FILE_BESIDE(out, static_cast<int>(lay), map.electric ? 0 : 1);
    return 0;
}

}  // namespace orvex::mapgen
