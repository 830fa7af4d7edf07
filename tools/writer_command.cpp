// writer_command.cpp: write_field_map without --import: the options of an analytic or device
// map, the model's parities checked against --sym, the map written whole and the control file
// beside it.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "magnet_options.h"
#include "map_build.h"
#include "map_writer.h"
#include "model_mirror.h"
#include "fieldio/import_source.h"
#include "write_field_map.h"

namespace orvex::mapgen {

namespace {

[[noreturn]] void USAGE_FAILURE(const std::string& what) { throw usage_error{what}; }

template <class T>
T PARSE_NUMBER(std::string_view text, std::string_view option) {
    T v{};
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc{} || r.ptr != text.data() + text.size())
        USAGE_FAILURE("bad number \"" + mapimport::SHOWN_TEXT(text) + "\" for " + std::string(option));
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
    if (v[0] < 1 || v[0] > lattice_nx || v[1] < 1 || v[1] > lattice_ny || v[2] < 1 || v[2] > lattice_nz)
        USAGE_FAILURE(std::string(option) + " node outside " + LATTICE_RANGES());
    return {v[0], v[1], v[2]};
}

}  // namespace

int WRITER_COMMAND(int argc, const char* const* argv) {
    map_recipe recipe;
    map_style style;
    std::string_view model_name = "analytic";
    double tolerance = 1e-6;
    layout lay = layout::binary;
    bool have_layout = false;
    std::string out;
    bool poke_waits_for_at = false;
    bool magnet_given = false;  // an option of --model multipole

    try {
        for (int a = 1; a < argc; ++a) {
            const std::string_view opt = argv[a];
            const auto value = [&]() -> std::string_view {
                if (a + 1 >= argc) USAGE_FAILURE(std::string(opt) + " needs a value");
                return argv[++a];
            };
            if (opt == "--help" || opt == "-h") return ANSWER_HELP();
            if (opt == "--version" || opt == "-V") return ANSWER_VERSION();
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
                model_name = named->name;
            } else if (IS_MAGNET_OPTION(opt)) {
                const std::string_view v = value();
                if (const std::string bad = READ_MAGNET_OPTION(opt, v, recipe.magnet); !bad.empty()) USAGE_FAILURE(bad);
                magnet_given = true;
            } else if (opt == "--kind") {
                recipe.kind = PARSE_NUMBER<int>(value(), opt);
            } else if (opt == "--sym") {
                const auto v = PARSE_LIST<int>(value(), 3, opt);
                recipe.ksym_yz = v[0], recipe.ksym_xz = v[1], recipe.ksym_xy = v[2];
            } else if (opt == "--mirror-tolerance") {
                tolerance = PARSE_NUMBER<double>(value(), opt);
                if (!(tolerance >= 0.0) || !std::isfinite(tolerance)) USAGE_FAILURE("--mirror-tolerance must be a finite number, 0 or more");
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
                USAGE_FAILURE("unknown option " + mapimport::SHOWN_TEXT(opt));
            } else {
                if (!out.empty()) USAGE_FAILURE("more than one output file");
                out = opt;
            }
        }
        if (poke_waits_for_at) USAGE_FAILURE("--poke without --at");
        if (magnet_given && recipe.model != field_model::multipole)
            USAGE_FAILURE("--multipole, --harmonic, --offset, --roll and --envelope go with --model multipole");
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
    } catch (const usage_error& e) {
        SAY(e.text);
        return 2;
    }

    if (const std::string why = MODEL_MIRROR_MISMATCH(recipe, model_name, tolerance); !why.empty()) {
        SAY(why);
        return 1;
    }
    std::string why;
    if (!WRITE_FIELD_MAP(recipe, lay, out, style, &why)) {
        SAY("cannot write " + mapimport::SHOWN_TEXT(out, 200) + ": " + why);
        return 1;
    }
    CONTROL_FILE_BESIDE(out, static_cast<int>(lay), recipe.kind == 1 ? 1 : 0);
    return 0;
}

}  // namespace orvex::mapgen
