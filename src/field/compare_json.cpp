// compare_json.cpp: the comparison as one JSON document; see compare_json.h.
#include "field/compare_json.h"

#include <cmath>

#include "field/field_table.h"
#include "field/json_form.h"

namespace orvex {

namespace {

using json_form::json;
using json_form::PUT_REAL;

// Adds a figure under its name when it is there and finite.
struct figure_sink {
    std::vector<named_figure>& out;
    void operator()(std::string name, std::string_view unit, const std::optional<double>& v) const {
        if (v && std::isfinite(*v)) out.push_back({std::move(name), unit, *v});
    }
};

void ADD_RF(const figure_sink& add, const std::string& at, const rf_figures& r) {
    add(at + ".beta", "1", r.beta);
    add(at + ".q_per_cm", "1/cm", r.wavenumber);
    add(at + ".gain_V", "V", r.gain);
    add(at + ".crest_phase_deg", "deg", r.crest_phase);
    add(at + ".T", "1", r.transit_time);
    add(at + ".T_single_gap", "1", r.single_gap_transit_time);
}

json READING(const map_pairing& p) {
    json o = json::object();
    const bool nodes = p.on_nodes[0] && p.on_nodes[1] && p.on_nodes[2];
    o["rule"] = nodes ? "nodes" : "cubic";
    o["grids_coincide"] = p.coincide;
    json axes = json::object();
    for (std::size_t a = 0; a < 3; ++a) axes[json_form::axis_names[a]] = p.on_nodes[a] ? "nodes" : "cubic";
    o["axes"] = axes;
    o["nodes"] = p.compared + p.left_out;
    o["compared_nodes"] = p.compared;
    o["left_out_nodes"] = p.left_out;
    return o;
}

// value / scale, when there is a scale.
std::optional<double> RELATIVE(double value, const std::optional<double>& scale) {
    if (!scale || *scale == 0.0) return std::nullopt;
    return value / *scale;
}

json FIELD(const field_difference& d, const full_map& m) {
    const field_entry& entry = FIELD_ENTRY(d.field);
    json o = json::object();
    o["field"] = std::string(entry.name);
    o["unit"] = std::string(entry.unit);
    PUT_REAL(o, "largest_magnitude", d.largest_magnitude);
    for (std::size_t c = 0; c < 3; ++c) {
        const component_difference& r = d.components[c];
        json co = json::object();
        if (r.nodes > 0) {
            json largest = json::object();
            PUT_REAL(largest, "value", r.largest);
            PUT_REAL(largest, "relative", RELATIVE(r.largest, d.largest_magnitude));
            largest["node"] = json::array({r.at.i, r.at.j, r.at.k});
            largest["position_cm"] = json::array({NODE_COORDINATE(m, 'x', r.at.i), NODE_COORDINATE(m, 'y', r.at.j),
                                                  NODE_COORDINATE(m, 'z', r.at.k)});
            PUT_REAL(largest, "this", r.this_value);
            PUT_REAL(largest, "other", r.other_value);
            co["largest_difference"] = largest;
            json rms = json::object();
            PUT_REAL(rms, "value", r.rms);
            PUT_REAL(rms, "relative", RELATIVE(r.rms, d.largest_magnitude));
            co["rms_difference"] = rms;
        }
        co["nodes"] = r.nodes;
        co["not_finite_nodes"] = r.not_finite;
        o[std::string(entry.component_names[c])] = co;
    }
    return o;
}

// Every figure of either map, this map's in its order, then those only the other has.
json FIGURES(std::span<const field_figures> mine, std::span<const field_figures> theirs) {
    std::vector<named_figure> a, b;
    for (const field_figures& f : mine)
        for (named_figure& n : FIGURE_LIST(f)) a.push_back(std::move(n));
    for (const field_figures& f : theirs)
        for (named_figure& n : FIGURE_LIST(f)) b.push_back(std::move(n));
    json out = json::array();
    std::vector<bool> paired(b.size(), false);
    const auto find = [&](const std::string& name) -> const named_figure* {
        for (std::size_t n = 0; n < b.size(); ++n)
            if (!paired[n] && b[n].name == name) {
                paired[n] = true;
                return &b[n];
            }
        return nullptr;
    };
    for (const named_figure& f : a) {
        json o = json::object();
        o["figure"] = f.name;
        o["unit"] = std::string(f.unit);
        PUT_REAL(o, "this", f.value);
        if (const named_figure* g = find(f.name)) {
            PUT_REAL(o, "other", g->value);
            PUT_REAL(o, "difference", f.value - g->value);
        }
        out.push_back(o);
    }
    for (std::size_t n = 0; n < b.size(); ++n) {
        if (paired[n]) continue;
        json o = json::object();
        o["figure"] = b[n].name;
        o["unit"] = std::string(b[n].unit);
        PUT_REAL(o, "other", b[n].value);
        out.push_back(o);
    }
    return out;
}

}  // namespace

std::vector<named_figure> FIGURE_LIST(const field_figures& f) {
    std::vector<named_figure> out;
    const figure_sink add{out};
    const field_entry& entry = FIELD_ENTRY(f.field);
    const bool magnetic = f.field == 1;
    const std::string field(entry.name);
    const std::string_view integral_unit = magnetic ? "Gs cm" : "V";
    for (int l = 1; l <= line_count; ++l) {
        const line_figures& lf = f.lines[static_cast<std::size_t>(l - 1)];
        for (std::size_t c = 0; c < 3; ++c) {
            const component_figures& cf = lf.components[c];
            const std::string at = field + ".line" + std::to_string(l) + "." + std::string(entry.component_names[c]);
            if (cf.smallest) {
                add(at + ".min.value", entry.unit, cf.smallest->value);
                add(at + ".min.position_cm", "cm", cf.smallest->position);
            }
            if (cf.largest) {
                add(at + ".max.value", entry.unit, cf.largest->value);
                add(at + ".max.position_cm", "cm", cf.largest->position);
            }
            add(at + ".integral", integral_unit, cf.integral);
        }
    }
    const std::string axis = field + ".axis";
    if (!magnetic) {
        add(axis + ".V0_V", "V", f.axial_voltage);
        if (f.at_beta) ADD_RF(add, axis + ".at_beta", *f.at_beta);
        if (f.best) ADD_RF(add, axis + ".best_beta", *f.best);
    } else {
        add(axis + ".Bz_integral_Gs_cm", "Gs cm", f.bz_integral);
        add(axis + ".Bz2_integral_Gs2_cm", "Gs^2 cm", f.bz2_integral);
        add(axis + ".effective_length_cm", "cm", f.effective_length);
        add(axis + ".hard_edge_field_Gs", "Gs", f.hard_edge_field);
    }
    const std::string_view gradient_unit = magnetic ? "Gs/cm" : "V/cm^2";
    if (f.gradient) {
        add(axis + ".gradient.largest", gradient_unit, f.gradient->largest);
        add(axis + ".gradient.z_cm", "cm", f.gradient->z);
        add(axis + (magnetic ? ".gradient.integral_Gs" : ".gradient.integral_V_per_cm"), magnetic ? "Gs" : "V/cm",
            f.gradient->integral);
    }
    if (f.divergence) {
        add(field + ".divergence.D", "1", f.divergence->ratio);
        add(field + ".divergence.largest_sum", gradient_unit, f.divergence->largest_sum);
        add(field + ".divergence.largest_terms", gradient_unit, f.divergence->largest_terms);
    }
    return out;
}

std::string COMPARISON_JSON(const comparison_document& doc) {
    json root = json::object();
    root["program"] = std::string(doc.program);
    const map_pairing* p = doc.pairing;
    root["this"] = json_form::MAP_JSON(doc.this_file, p != nullptr ? p->self : nullptr);
    json other = json_form::MAP_JSON(doc.other_file, p != nullptr ? p->other : nullptr);
    other["directory"] = std::string(doc.other_directory);
    root["other"] = other;
    if (p != nullptr) root["reading"] = READING(*p);
    json fields = json::array();
    if (p != nullptr)
        for (const field_difference& d : doc.fields) fields.push_back(FIELD(d, *p->self));
    root["fields"] = fields;
    root["figures"] = FIGURES(doc.this_figures, doc.other_figures);
    json notes = json::array();
    for (const std::string_view n : doc.notes) notes.push_back(std::string(n));
    root["notes"] = notes;
    return json_form::JSON_TEXT(root);
}

}  // namespace orvex
