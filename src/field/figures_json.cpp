// figures_json.cpp: the figures as one JSON document; see figures_json.h.
//
// The document is built as a JSON value (its keys in the order given) and written by a small
// printer of our own only so that every real number has 17 significant digits; strings are
// escaped by the JSON library.
#include "field/figures_json.h"
#include "field/json_text.h"

#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "console/number_text.h"
#include "field/field_table.h"

namespace orvex {

namespace {

using json = nlohmann::ordered_json;

// Puts a real number under key only when it is there and finite.
void PUT(json& o, const char* key, const std::optional<double>& v) {
    if (v && std::isfinite(*v)) o[key] = *v;
}

json EXTREME(const extreme_value& e) {
    json o = json::object();
    PUT(o, "value", e.value);
    o["node"] = e.node;
    PUT(o, "position_cm", e.position);
    return o;
}

json RF(const rf_figures& r) {
    json o = json::object();
    PUT(o, "beta", r.beta);
    PUT(o, "q_per_cm", r.wavenumber);
    PUT(o, "gain_V", r.gain);
    PUT(o, "crest_phase_deg", r.crest_phase);
    PUT(o, "T", r.transit_time);
    PUT(o, "T_single_gap", r.single_gap_transit_time);
    return o;
}

constexpr std::array<const char*, 3> axis_names{"x", "y", "z"};

json LINES(const field_figures& f, const full_map& m) {
    const std::array<std::string_view, 3>& names = FIELD_ENTRY(f.field).component_names;
    json out = json::array();
    for (int l = 0; l < line_count; ++l) {
        const line_figures& lf = f.lines[static_cast<std::size_t>(l)];
        const profile_line& def = profile_lines[static_cast<std::size_t>(l)];
        const line_indices fixed = LINE_INDICES(m, l + 1);
        json o = json::object();
        o["line"] = l + 1;
        o["axis"] = axis_names[static_cast<std::size_t>(def.axis)];
        o["title"] = std::string(def.axis_title);
        o["fixed_nodes"] = json::array({fixed.first, fixed.second});
        o["nodes"] = lf.count;
        for (std::size_t c = 0; c < 3; ++c) {
            const component_figures& cf = lf.components[c];
            json co = json::object();
            if (cf.smallest) co["min"] = EXTREME(*cf.smallest);
            if (cf.largest) co["max"] = EXTREME(*cf.largest);
            PUT(co, "integral", cf.integral);
            o[std::string(names[c])] = co;
        }
        out.push_back(o);
    }
    return out;
}

json AXIS(const field_figures& f) {
    json o = json::object();
    const bool magnetic = f.field == 1;
    if (!magnetic) {
        PUT(o, "V0_V", f.axial_voltage);
        if (f.at_beta) o["at_beta"] = RF(*f.at_beta);
        if (f.best) o["best_beta"] = RF(*f.best);
    } else {
        PUT(o, "Bz_integral_Gs_cm", f.bz_integral);
        PUT(o, "Bz2_integral_Gs2_cm", f.bz2_integral);
        PUT(o, "effective_length_cm", f.effective_length);
        PUT(o, "hard_edge_field_Gs", f.hard_edge_field);
    }
    if (f.gradient) {
        json g = json::object();
        g["name"] = magnetic ? "dBy/dx" : "dEx/dx";
        g["unit"] = magnetic ? "Gs/cm" : "V/cm^2";
        PUT(g, "largest", f.gradient->largest);
        g["node"] = f.gradient->node;
        PUT(g, "z_cm", f.gradient->z);
        PUT(g, magnetic ? "integral_Gs" : "integral_V_per_cm", f.gradient->integral);
        o["gradient"] = g;
    }
    return o;
}

// The multipoles of one field: r_ref, N, the units, the main harmonic, its roll, a
// quadrupole's centre and gradient, and every harmonic's integrated C_n, b_n and a_n.
json MULTIPOLES(const multipole_figures& f) {
    const bool magnetic = f.field == 1;
    json o = json::object();
    PUT(o, "r_ref_cm", f.r_ref);
    o["N"] = f.order;
    o["disc_nodes"] = f.nodes;
    o["units"] = {{"C", magnetic ? "Gs cm" : "V"}, {"b_a", "1e-4 of |C_M|"}, {"roll", "mrad"}, {"centre", "cm"},
                  {"G", magnetic ? "Gs/cm" : "V/cm^2"}, {"G_integral", magnetic ? "Gs" : "V/cm"}, {"magnetic_length", "cm"}};
    if (f.main > 0) o["main"] = f.main;
    PUT(o, "roll_mrad", f.roll_mrad);
    if (f.centre_x && f.centre_y) o["centre_cm"] = json::array({*f.centre_x, *f.centre_y});
    if (f.quadrupole) {
        const quadrupole_figures& q = *f.quadrupole;
        json g = json::object();
        g["middle_node"] = q.middle_node;
        PUT(g, "z_middle_cm", q.middle_z);
        PUT(g, "G_middle", q.gradient_middle);
        PUT(g, "G_integral", q.gradient_integral);
        PUT(g, "magnetic_length_cm", q.magnetic_length);
        o["quadrupole"] = g;
    }
    if (f.integrated) {
        json harmonics = json::array();
        for (int n = 1; n <= f.order; ++n) {
            const auto at = static_cast<std::size_t>(n - 1);
            json h = json::object();
            h["n"] = n;
            PUT(h, "Re_C", (*f.integrated)[at].real());
            PUT(h, "Im_C", (*f.integrated)[at].imag());
            if (f.main > 0) {
                PUT(h, "b", f.b[at]);
                PUT(h, "a", f.a[at]);
            }
            harmonics.push_back(h);
        }
        o["harmonics"] = harmonics;
    }
    return o;
}

json FIELD(const field_figures& f, const full_map& m) {
    const bool magnetic = f.field == 1;
    const field_entry& entry = FIELD_ENTRY(f.field);
    json o = json::object();
    o["field"] = std::string(entry.name);
    o["components"] = json::array();
    for (const std::string_view c : entry.component_names) o["components"].push_back(std::string(c));
    // A line integral is the field's unit times cm: V/cm x cm = V, Gs x cm = Gs cm.
    o["units"] = {{"value", std::string(entry.unit)}, {"position", "cm"}, {"integral", magnetic ? "Gs cm" : "V"}};
    o["lines"] = LINES(f, m);
    o["axis"] = AXIS(f);
    if (f.divergence) {
        const divergence_figures& d = *f.divergence;
        json v = json::object();
        PUT(v, "D", d.ratio);
        v["node"] = json::array({d.i, d.j, d.k});
        v["position_cm"] = json::array({d.x, d.y, d.z});
        PUT(v, "largest_sum", d.largest_sum);
        PUT(v, "largest_terms", d.largest_terms);
        v["nodes"] = d.nodes;
        o["divergence"] = v;
    }
    if (f.multipoles) o["multipoles"] = MULTIPOLES(*f.multipoles);
    return o;
}

json MAP(const figures_document& doc) {
    json o = json::object();
    o["file"] = std::string(doc.map_file);
    if (doc.map == nullptr) return o;
    const full_map& g = *doc.map;
    o["kind"] = g.field_kind;
    o["carries"] = g.field_kind == 2 ? json::array({"electric", "magnetic"})
                                     : json::array({g.field_kind == 1 ? "magnetic" : "electric"});
    o["mirror_flags"] = {{"ksym_yz", g.ksym_yz}, {"ksym_xz", g.ksym_xz}, {"ksym_xy", g.ksym_xy}};
    o["nodes"] = {{"x", g.nx}, {"y", g.ny}, {"z", g.nz}};
    json limits = json::object(), steps = json::object();
    const std::array<std::array<double, 2>, 3> ends{{{g.xmin, g.xmax}, {g.ymin, g.ymax}, {g.zmin, g.zmax}}};
    const std::array<int, 3> counts{g.nx, g.ny, g.nz};
    for (std::size_t a = 0; a < 3; ++a) {
        if (std::isfinite(ends[a][0]) && std::isfinite(ends[a][1])) limits[axis_names[a]] = json::array({ends[a][0], ends[a][1]});
        PUT(steps, axis_names[a], counts[a] > 1 ? std::optional<double>(AXIS_STEP(g, axis_names[a][0])) : std::nullopt);
    }
    o["limits_cm"] = limits;
    o["steps_cm"] = steps;
    return o;
}

// Writes v with two spaces of indent per level; arrays of numbers on one line.
void PRINT(const json& v, std::string& out, int depth) {
    const std::string pad(static_cast<std::size_t>(2 * depth + 2), ' '), close(static_cast<std::size_t>(2 * depth), ' ');
    switch (v.type()) {
        case json::value_t::object: {
            if (v.empty()) { out += "{}"; return; }
            out += "{\n";
            std::size_t n = 0;
            for (auto it = v.begin(); it != v.end(); ++it) {
                out += pad + json(it.key()).dump(-1, ' ', false, json::error_handler_t::replace) + ": ";
                PRINT(it.value(), out, depth + 1);
                out += ++n < v.size() ? ",\n" : "\n";
            }
            out += close + "}";
            return;
        }
        case json::value_t::array: {
            bool flat = true;
            for (const json& e : v) flat = flat && e.is_primitive();
            if (v.empty()) { out += "[]"; return; }
            out += flat ? "[" : "[\n";
            std::size_t n = 0;
            for (const json& e : v) {
                if (!flat) out += pad;
                PRINT(e, out, depth + 1);
                if (++n < v.size()) out += flat ? ", " : ",\n";
            }
            out += flat ? "]" : "\n" + close + "]";
            return;
        }
        case json::value_t::number_float:
            out += NUMBER_G(v.get<double>(), 17);
            return;
        default: out += v.dump(-1, ' ', false, json::error_handler_t::replace); return;
    }
}

}  // namespace

std::string JSON_TEXT(const json& value) {
    std::string out;
    PRINT(value, out, 0);
    out += "\n";
    return out;
}

std::string FIGURES_JSON(const figures_document& doc) {
    json root = json::object();
    root["program"] = std::string(doc.program);
    root["map"] = MAP(doc);
    json request = json::object();
    PUT(request, "frequency_MHz", doc.request.frequency_mhz);
    PUT(request, "beta", doc.request.beta);
    PUT(request, "radius_cm", doc.request.radius_cm);
    root["request"] = request;
    json fields = json::array();
    if (doc.map != nullptr)
        for (const field_figures& f : doc.fields) fields.push_back(FIELD(f, *doc.map));
    root["fields"] = fields;
    if (doc.curl != nullptr) {
        const curl_figures& c = *doc.curl;
        json v = json::object();
        PUT(v, "frequency_MHz", c.frequency_mhz);
        PUT(v, "C", c.ratio);
        v["node"] = json::array({c.i, c.j, c.k});
        v["position_cm"] = json::array({c.x, c.y, c.z});
        PUT(v, "largest_difference_V_per_cm2", c.largest_difference);
        PUT(v, "largest_terms_V_per_cm2", c.largest_terms);
        PUT(v, "k", c.factor);
        v["nodes"] = c.nodes;
        root["curl"] = v;
    }
    json notes = json::array();
    for (const std::string_view n : doc.notes) notes.push_back(std::string(n));
    root["notes"] = notes;
    std::string out;
    PRINT(root, out, 0);
    out += "\n";
    return out;
}

}  // namespace orvex
