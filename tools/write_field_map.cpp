// write_field_map: writes an analytic field map, clean or damaged, for tests and examples.
// Its options and exit statuses are usage_text below, which --help prints (and man
// write_field_map explains).
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "import_command.h"
#include "map_writer.h"

namespace {

using namespace orvex::mapgen;

constexpr std::string_view usage_text = R"(Usage: write_field_map --layout binary|text|nodes [OPTION...] OUT
       write_field_map --import TABLE --layout binary|text|nodes [IMPORT OPTION...] OUT
       write_field_map --help | --version

Writes a 3-D field map for plot_orvex_3dfields in one of its three layouts: the analytic test
field or an example device, clean or damaged, for tests and examples.

The map:
  --model M             analytic (default: the test field), rfq, solenoid or lens-doublet
                        (device fields for the bundled examples), or a field free of
                        divergence with closed-form figures: gaussian-gap (Ez Gaussian on the
                        axis, sigma 3 cm), gaussian-solenoid (Bz Gaussian on the axis, sigma
                        3 cm), quadrupole (dBy/dx = 500 Gs/cm, dEx/dx = 2000 V/cm^2) or harmonic
                        (gradients of cosh(ax) cosh(by) cos(cz), c^2 = a^2 + b^2); or an RF
                        mode: pillbox (the TM010 mode of a pillbox cavity at 1300 MHz between
                        the first and last z planes, Ez = E0 J0(kr), B_phi = -(E0 / c) J1(kr),
                        E0 = 10 kV/cm; no mirror in z)
  --kind K              0 E only, 1 B only, 2 both (default 2); other values write no components
  --sym YZ,XZ,XY        the three mirror flags (default 0,0,0)
  --range XHI,YHI,ZHI   upper coordinate limits in cm (default 2,2,50); the lower limit is 0 on
                        a mirrored axis and -hi otherwise
  --lo XLO,YLO,ZLO      lower limits instead of that rule
  --header D_ELM,APER[,NCELL]  header of the array layouts (default 100,2,0)
  --ncell N             header integer of the array layouts (default 0)
  --counts NX,NY,NZ     node counts written in the node list (default 25,25,201); the nodes
                        written are always the 25 x 25 x 201 lattice
  --node-kind K         kind written on the node list's first line (default: --kind)
  --digits D            significant digits in the text layouts (default 17)
  --per-line N          values per line inside a text group (default 5; 0: whole group on one)

Text style (inputs a reader must accept):
  --crlf                "\r\n" line ends
  --tabs                a tab between values; --commas: ", " between values
  --d-exponent          every double in exponent form with D (1.5D+03)
  --nan I,J,K           the components of stored node (I,J,K) written as NaN (repeatable);
  --inf I,J,K           ... as +Infinity;  --neg-inf I,J,K  ... as -Infinity

Damage (inputs a reader must refuse):
  --cut-at N            the file ends after N bytes
  --record R            binary: record R (1-based) gets the lengths below
  --lead L, --trail T   its leading / trailing length (32-bit integers, may be negative)
  --pad R,N             binary: record R gets N zero bytes after its values (a longer
                        record, which a reader must accept)
  --node-lines N        node list: only N node lines are written
  --poke TEXT --at L,V  text layouts: value V (1-based) of line L is written as TEXT; V = 0
                        replaces the whole line. Repeatable, each --poke with its own --at.

Defects (maps that contradict their own header; the field stays that of the clean lattice):
  --coord AXIS,NODE,VALUE  array layouts: coordinate NODE of axis x, y or z written as VALUE
                        (a number, nan, inf or -inf); repeatable
  --shift AXIS,CM       every coordinate of the axis written CM further (node list: its range)
  --leak C,FRACTION     C gets FRACTION of its largest absolute value added at every stored
                        node on a mirror plane (node 1 of a mirrored axis); C is ex, ey, ez,
                        bx, by, bz, or e, b or all for several
  --zero C              C written as 0 everywhere (C as for --leak)
  --negate C            C written with its sign wrong everywhere (C as for --leak)
  --value C,I,J,K,VALUE  component C (ex..bz) of stored node (I,J,K) written as VALUE
                        (a number, nan, inf or -inf); repeatable

Import (a field solver's column table as a map; OUT must hold MW for both fields, else EM, PMQ
or RFQ):
  --import TABLE        rows of x y z and components (blanks, tabs or commas between), in any
                        order; headers with names and units: x [mm] ... Ex [V/m], a last
                        line % x y z es.Ex (V/m) ..., or nx ny nz 2 and numbered column lines
  --columns NAMES       the columns' names when the table names none (x,y,z,Ex,Ey,Ez,...)
  --units UNITS         units the header does not give: m, mm, cm; V/m, V/cm, kV/m, MV/m;
                        T, mT, Gs, kGs; A/m (H)
  --sym YZ,XZ,XY        mirror flags: keep the side from the plane (which must be a node) up
  --resample linear|cubic  a stored part other than 25 x 25 x 201 interpolated onto it
  --part re|im          the part of a table with real and imaginary columns
  --header D_ELM,APER[,NCELL]  header values (default: the region's length, its half-width, 0)

Exit status 0 when written, 1 when the file could not be written, 2 on a bad option; one line
on standard error says why.
)";

// --help and --version: the answer on standard output, status 0 (1 when it cannot be written).
int ANSWER(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "write_field_map: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
}

[[noreturn]] void USAGE_FAILURE(const std::string& what) {
    std::fprintf(stderr, "write_field_map: %s\n", what.c_str());
    std::exit(2);
}

template <class T>
T PARSE_NUMBER(std::string_view text, std::string_view option) {
    T v{};
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc{} || r.ptr != text.data() + text.size())
        USAGE_FAILURE("bad number \"" + std::string(text) + "\" for " + std::string(option));
    return v;
}

// Splits "a,b,c" into count numbers (or between count and most).
template <class T>
std::vector<T> PARSE_LIST(std::string_view text, std::size_t count, std::string_view option,
                          std::size_t most = 0) {
    std::vector<T> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        out.push_back(PARSE_NUMBER<T>(text.substr(start, comma - start), option));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (out.size() < count || out.size() > std::max(count, most))
        USAGE_FAILURE(std::string(option) + " needs " + std::to_string(count) +
                      (most > count ? " or " + std::to_string(most) : std::string()) +
                      " comma-separated values");
    return out;
}

// "analytic, rfq, solenoid or lens-doublet": every name --model takes.
std::string MODEL_LIST() {
    std::string list;
    for (std::size_t n = 0; n < model_names.size(); ++n) {
        if (n > 0) list += n + 1 == model_names.size() ? " or " : ", ";
        list += model_names[n].name;
    }
    return list;
}

node_ref PARSE_NODE(std::string_view text, std::string_view option) {
    const auto v = PARSE_LIST<int>(text, 3, option);
    if (v[0] < 1 || v[0] > 25 || v[1] < 1 || v[1] > 25 || v[2] < 1 || v[2] > 201)
        USAGE_FAILURE(std::string(option) + " node outside 1..25, 1..25, 1..201");
    return {v[0], v[1], v[2]};
}

}  // namespace

int main(int argc, char** argv) {
    if (orvex::mapimport::ASKS_FOR_IMPORT(argc, argv)) return orvex::mapimport::IMPORT_COMMAND(argc, argv);
    map_recipe recipe;
    map_style style;
    layout lay = layout::binary;
    bool have_layout = false;
    std::string out;
    bool poke_waits_for_at = false;

    for (int a = 1; a < argc; ++a) {
        const std::string_view opt = argv[a];
        auto value = [&]() -> std::string_view {
            if (a + 1 >= argc) USAGE_FAILURE(std::string(opt) + " needs a value");
            return argv[++a];
        };
        if (opt == "--help" || opt == "-h") return ANSWER(usage_text);
        if (opt == "--version" || opt == "-V") return ANSWER("write_field_map " ORVEX_VERSION "\n");
        if (opt == "--layout") {
            const std::string_view v = value();
            if (v == "binary") lay = layout::binary;
            else if (v == "text") lay = layout::text;
            else if (v == "nodes") lay = layout::nodes;
            else USAGE_FAILURE("layout must be binary, text or nodes");
            have_layout = true;
        } else if (opt == "--model") {
            const std::string_view v = value();
            const auto named = std::find_if(model_names.begin(), model_names.end(),
                                            [&](const named_model& m) { return m.name == v; });
            if (named == model_names.end()) USAGE_FAILURE("model must be " + MODEL_LIST());
            recipe.model = named->model;
        } else if (opt == "--kind") {
            recipe.kind = PARSE_NUMBER<int>(value(), opt);
        } else if (opt == "--sym") {
            const auto v = PARSE_LIST<int>(value(), 3, opt);
            recipe.ksym_yz = v[0], recipe.ksym_xz = v[1], recipe.ksym_xy = v[2];
        } else if (opt == "--range") {
            const auto v = PARSE_LIST<double>(value(), 3, opt);
            recipe.x_hi = v[0], recipe.y_hi = v[1], recipe.z_hi = v[2];
        } else if (opt == "--lo") {
            const auto v = PARSE_LIST<double>(value(), 3, opt);
            recipe.x_lo = v[0], recipe.y_lo = v[1], recipe.z_lo = v[2];
        } else if (opt == "--header") {
            const std::string_view text = value();
            const auto v = PARSE_LIST<double>(text, 2, opt, 3);
            recipe.d_elm = v[0], recipe.aper = v[1];
            if (v.size() == 3) recipe.n_cell = PARSE_NUMBER<int>(text.substr(text.rfind(',') + 1), opt);
        } else if (opt == "--ncell") {
            recipe.n_cell = PARSE_NUMBER<int>(value(), opt);
        } else if (opt == "--counts") {
            const auto v = PARSE_LIST<int>(value(), 3, opt);
            recipe.nx = v[0], recipe.ny = v[1], recipe.nz = v[2];
        } else if (opt == "--node-kind") {
            recipe.node_kind = PARSE_NUMBER<int>(value(), opt);
        } else if (opt == "--digits") {
            recipe.digits = PARSE_NUMBER<int>(value(), opt);
            if (recipe.digits < 1 || recipe.digits > 17) USAGE_FAILURE("--digits must be 1..17");
        } else if (opt == "--per-line") {
            style.per_line = PARSE_NUMBER<int>(value(), opt);
            if (style.per_line < 0) USAGE_FAILURE("--per-line must be 0 or more");
        } else if (opt == "--crlf") {
            style.crlf = true;
        } else if (opt == "--tabs") {
            style.tabs = true;
        } else if (opt == "--commas") {
            style.commas = true;
        } else if (opt == "--d-exponent") {
            style.d_exponent = true;
        } else if (opt == "--nan") {
            style.nan_nodes.push_back(PARSE_NODE(value(), opt));
        } else if (opt == "--inf") {
            style.inf_nodes.push_back(PARSE_NODE(value(), opt));
        } else if (opt == "--neg-inf") {
            style.neg_inf_nodes.push_back(PARSE_NODE(value(), opt));
        } else if (opt == "--cut-at") {
            style.cut_at = PARSE_NUMBER<long long>(value(), opt);
            if (style.cut_at < 0) USAGE_FAILURE("--cut-at must be 0 or more");
        } else if (opt == "--record") {
            style.record = PARSE_NUMBER<int>(value(), opt);
            if (style.record < 1) USAGE_FAILURE("--record must be 1 or more");
        } else if (opt == "--lead") {
            style.lead = PARSE_NUMBER<std::int32_t>(value(), opt);
        } else if (opt == "--trail") {
            style.trail = PARSE_NUMBER<std::int32_t>(value(), opt);
        } else if (opt == "--pad") {
            const auto v = PARSE_LIST<int>(value(), 2, opt);
            if (v[0] < 1 || v[1] < 0) USAGE_FAILURE("--pad needs a record >= 1 and a byte count >= 0");
            style.pad_record = v[0];
            style.pad_bytes = v[1];
        } else if (opt == "--node-lines") {
            style.node_lines = PARSE_NUMBER<long long>(value(), opt);
            if (style.node_lines < 0) USAGE_FAILURE("--node-lines must be 0 or more");
        } else if (opt == "--poke") {
            if (poke_waits_for_at) USAGE_FAILURE("--poke without --at");
            style.pokes.push_back({0, 0, std::string(value())});
            poke_waits_for_at = true;
        } else if (opt == "--at") {
            if (!poke_waits_for_at) USAGE_FAILURE("--at without --poke");
            const auto v = PARSE_LIST<int>(value(), 2, opt);
            if (v[0] < 1 || v[1] < 0) USAGE_FAILURE("--at needs a line >= 1 and a value >= 0");
            style.pokes.back().line = v[0];
            style.pokes.back().value = v[1];
            poke_waits_for_at = false;
        } else if (IS_DEFECT_OPTION(opt)) {
            const std::string_view v = value();
            if (const std::string bad = READ_DEFECT_OPTION(opt, v, style.defects); !bad.empty()) USAGE_FAILURE(bad);
        } else if (opt.starts_with("--")) {
            USAGE_FAILURE("unknown option " + std::string(opt));
        } else {
            if (!out.empty()) USAGE_FAILURE("more than one output file");
            out = opt;
        }
    }
    if (poke_waits_for_at) USAGE_FAILURE("--poke without --at");
    if (!have_layout) USAGE_FAILURE("--layout is required");
    if (out.empty()) USAGE_FAILURE("no output file");
    if ((style.record != 0) != (style.lead || style.trail))
        USAGE_FAILURE("--record goes with --lead and/or --trail");
    if (style.record != 0 && lay != layout::binary) USAGE_FAILURE("--record is for the binary layout");
    if (style.pad_record != 0 && lay != layout::binary) USAGE_FAILURE("--pad is for the binary layout");
    if (!style.pokes.empty() && lay == layout::binary) USAGE_FAILURE("--poke is for the text layouts");
    if (style.node_lines >= 0 && lay != layout::nodes) USAGE_FAILURE("--node-lines is for the node list");
    if (!style.defects.coordinates.empty() && lay == layout::nodes)
        USAGE_FAILURE("--coord is for the array layouts; the node list's coordinates come from its ranges");

    if (!WRITE_FIELD_MAP(recipe, lay, out, style)) {
        std::fprintf(stderr, "write_field_map: cannot write %s: %s\n", out.c_str(), std::strerror(errno));
        return 1;
    }
    return 0;
}
