// figures_json.cpp: the figures as one JSON document; see figures_json.h.
//
// The document is built as a JSON value (its keys in the order given) and written by the field
// floor's one printer (json_form.h), so that every real number has 17 significant digits.
#include "field/figures_json.h"
#include "field/json_text.h"

#include <array>
#include <cmath>

#include "field/field_table.h"
#include "field/json_form.h"

namespace orvex {

namespace {

using json_form::json;
using json_form::PUT_REAL;

json EXTREME(const extreme_value& e) {
    json o = json::object();
    PUT_REAL(o, "value", e.value);
    o["node"] = e.node;
    PUT_REAL(o, "position_cm", e.position);
    return o;
}

json RF(const rf_figures& r) {
    json o = json::object();
    PUT_REAL(o, "beta", r.beta);
    PUT_REAL(o, "q_per_cm", r.wavenumber);
    PUT_REAL(o, "gain_V", r.gain);
    PUT_REAL(o, "crest_phase_deg", r.crest_phase);
    PUT_REAL(o, "T", r.transit_time);
    PUT_REAL(o, "T_single_gap", r.single_gap_transit_time);
    return o;
}

using json_form::axis_names;

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
            PUT_REAL(co, "integral", cf.integral);
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
        PUT_REAL(o, "V0_V", f.axial_voltage);
        if (f.at_beta) o["at_beta"] = RF(*f.at_beta);
        if (f.best) o["best_beta"] = RF(*f.best);
    } else {
        PUT_REAL(o, "Bz_integral_Gs_cm", f.bz_integral);
        PUT_REAL(o, "Bz2_integral_Gs2_cm", f.bz2_integral);
        PUT_REAL(o, "effective_length_cm", f.effective_length);
        PUT_REAL(o, "hard_edge_field_Gs", f.hard_edge_field);
    }
    if (f.gradient) {
        json g = json::object();
        g["name"] = magnetic ? "dBy/dx" : "dEx/dx";
        g["unit"] = magnetic ? "Gs/cm" : "V/cm^2";
        PUT_REAL(g, "largest", f.gradient->largest);
        g["node"] = f.gradient->node;
        PUT_REAL(g, "z_cm", f.gradient->z);
        PUT_REAL(g, magnetic ? "integral_Gs" : "integral_V_per_cm", f.gradient->integral);
        o["gradient"] = g;
    }
    return o;
}

// The multipoles of one field: r_ref, N, the units, the main harmonic, its roll, a
// quadrupole's centre and gradient, and every harmonic's integrated C_n, b_n and a_n.
json MULTIPOLES(const multipole_figures& f) {
    const bool magnetic = f.field == 1;
    json o = json::object();
    PUT_REAL(o, "r_ref_cm", f.r_ref);
    o["N"] = f.order;
    o["disc_nodes"] = f.nodes;
    o["units"] = {{"C", magnetic ? "Gs cm" : "V"}, {"b_a", "1e-4 of |C_M|"}, {"roll", "mrad"}, {"centre", "cm"},
                  {"G", magnetic ? "Gs/cm" : "V/cm^2"}, {"G_integral", magnetic ? "Gs" : "V/cm"}, {"magnetic_length", "cm"}};
    if (f.main > 0) o["main"] = f.main;
    PUT_REAL(o, "roll_mrad", f.roll_mrad);
    if (f.centre_x && f.centre_y) o["centre_cm"] = json::array({*f.centre_x, *f.centre_y});
    if (f.quadrupole) {
        const quadrupole_figures& q = *f.quadrupole;
        json g = json::object();
        g["middle_node"] = q.middle_node;
        PUT_REAL(g, "z_middle_cm", q.middle_z);
        PUT_REAL(g, "G_middle", q.gradient_middle);
        PUT_REAL(g, "G_integral", q.gradient_integral);
        PUT_REAL(g, "magnetic_length_cm", q.magnetic_length);
        o["quadrupole"] = g;
    }
    if (f.integrated) {
        json harmonics = json::array();
        for (int n = 1; n <= f.order; ++n) {
            const auto at = static_cast<std::size_t>(n - 1);
            json h = json::object();
            h["n"] = n;
            PUT_REAL(h, "Re_C", (*f.integrated)[at].real());
            PUT_REAL(h, "Im_C", (*f.integrated)[at].imag());
            if (f.main > 0) {
                PUT_REAL(h, "b", f.b[at]);
                PUT_REAL(h, "a", f.a[at]);
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
        PUT_REAL(v, "D", d.ratio);
        v["node"] = json::array({d.i, d.j, d.k});
        v["position_cm"] = json::array({d.x, d.y, d.z});
        PUT_REAL(v, "largest_sum", d.largest_sum);
        PUT_REAL(v, "largest_terms", d.largest_terms);
        v["nodes"] = d.nodes;
        PUT_REAL(v, "R", d.resolution);
        PUT_REAL(v, "largest_error", d.largest_error);
        v["error_axis"] = std::string(1, d.error_axis);
        const divergence_verdict verdict = DIVERGENCE_VERDICT(d);
        v["verdict"] = verdict == divergence_verdict::consistent ? "consistent"
                       : verdict == divergence_verdict::too_coarse ? "too_coarse" : "suspect";
        o["divergence"] = v;
    }
    if (f.multipoles) o["multipoles"] = MULTIPOLES(*f.multipoles);
    return o;
}

}  // namespace

std::string JSON_TEXT(const json& value) { return json_form::JSON_TEXT(value); }

std::string FIGURES_JSON(const figures_document& doc) {
    json root = json::object();
    root["program"] = std::string(doc.program);
    root["map"] = json_form::MAP_JSON(doc.map_file, doc.map);
    json request = json::object();
    PUT_REAL(request, "frequency_MHz", doc.request.frequency_mhz);
    PUT_REAL(request, "beta", doc.request.beta);
    PUT_REAL(request, "radius_cm", doc.request.radius_cm);
    root["request"] = request;
    json fields = json::array();
    if (doc.map != nullptr)
        for (const field_figures& f : doc.fields) fields.push_back(FIELD(f, *doc.map));
    root["fields"] = fields;
    if (doc.curl != nullptr) {
        const curl_figures& c = *doc.curl;
        json v = json::object();
        PUT_REAL(v, "frequency_MHz", c.frequency_mhz);
        PUT_REAL(v, "C", c.ratio);
        v["node"] = json::array({c.i, c.j, c.k});
        v["position_cm"] = json::array({c.x, c.y, c.z});
        PUT_REAL(v, "largest_difference_V_per_cm2", c.largest_difference);
        PUT_REAL(v, "largest_terms_V_per_cm2", c.largest_terms);
        PUT_REAL(v, "k", c.factor);
        v["nodes"] = c.nodes;
        root["curl"] = v;
    }
    json notes = json::array();
    for (const std::string_view n : doc.notes) notes.push_back(std::string(n));
    root["notes"] = notes;
    return json_form::JSON_TEXT(root);
}

}  // namespace orvex
