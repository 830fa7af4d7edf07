// track_json.cpp: the tracking's document and trajectory; see track_json.h.
#include "beam/track_json.h"

#include <cmath>

#include "console/csv_text.h"
#include "console/number_text.h"
#include "field/figures.h"
#include "field/json_text.h"

namespace orvex {

namespace {

using json = nlohmann::ordered_json;

constexpr std::string_view method_text =
    "Gragg's modified midpoint rule with 2, 4, 6 and 8 substeps extrapolated to 0 (order 8), z the independent "
    "variable, steps ending on every z plane of the map";
constexpr std::string_view convention_text =
    "E(x) cos(wt + phi), B(x) sin(wt + phi), w = 2 pi f, t = 0 when the particle crosses origin_z_cm";

void PUT(json& o, const char* key, double v) {
    if (std::isfinite(v)) o[key] = v;
}

// Two numbers the request and the map hold finite.
json PAIR(double a, double b) { return json::array({a, b}); }

json EXIT(const track_point& p) {
    json o = json::object();
    PUT(o, "W_MeV", p.w);
    PUT(o, "x_cm", p.x);
    PUT(o, "y_cm", p.y);
    PUT(o, "xp_mrad", p.xp);
    PUT(o, "yp_mrad", p.yp);
    return o;
}

json TRACK_OBJECT(const track_result& t, std::optional<double> phase) {
    json o = json::object();
    if (phase) PUT(o, "phase_deg", *phase);
    o["lost"] = t.loss != track_loss::none;
    if (t.loss == track_loss::none) {
        PUT(o, "gain_MeV", t.gain_mev);
        o["exit"] = EXIT(t.last);
        PUT(o, "time_of_flight_ns", t.time_of_flight_ns);
    } else {
        o["reason"] = std::string(LOSS_TEXT(t.loss));
        json where = json::object();
        PUT(where, "z_cm", t.last.z);
        PUT(where, "x_cm", t.last.x);
        PUT(where, "y_cm", t.last.y);
        PUT(where, "W_MeV", t.last.w);
        o["where"] = where;
    }
    return o;
}

json MAP(const track_document& doc) {
    json o = json::object();
    o["file"] = std::string(doc.map_file);
    if (doc.map == nullptr) return o;
    const full_map& m = *doc.map;
    json carries = json::array();
    if (MAP_CARRIES(m, 0)) carries.push_back("electric");
    if (MAP_CARRIES(m, 1)) carries.push_back("magnetic");
    o["carries"] = carries;
    o["nodes"] = {{"x", m.nx}, {"y", m.ny}, {"z", m.nz}};
    json limits = json::object();
    limits["x"] = PAIR(m.xmin, m.xmax);
    limits["y"] = PAIR(m.ymin, m.ymax);
    limits["z"] = PAIR(m.zmin, m.zmax);
    o["limits_cm"] = limits;
    return o;
}

json REQUEST(const track_document& doc) {
    const track_request& r = *doc.request;
    json o = json::object();
    o["particle"] = {{"name", r.who.name}, {"rest_energy_MeV", r.who.mass_mev}, {"charge_e", r.who.charge}};
    PUT(o, "energy_MeV", r.energy_mev);
    if (r.frequency_mhz) PUT(o, "frequency_MHz", *r.frequency_mhz);
    if (doc.scan) o["scan"] = *doc.scan;
    else if (r.frequency_mhz) PUT(o, "phase_deg", r.phase_deg);
    o["start_cm"] = PAIR(r.x_cm, r.y_cm);
    o["slope_mrad"] = PAIR(r.xp_mrad, r.yp_mrad);
    o["matrix"] = doc.matrix_asked;
    return o;
}

json MATRIX(const track_document& doc) {
    json o = json::object();
    if (doc.matrix_phase_deg) PUT(o, "about_phase_deg", *doc.matrix_phase_deg);
    o["coordinates"] = json::array({"x_mm", "xp_mrad", "y_mm", "yp_mrad"});
    o["offsets"] = {{"x_mm", matrix_offset_mm}, {"xp_mrad", matrix_offset_mrad}, {"y_mm", matrix_offset_mm},
                    {"yp_mrad", matrix_offset_mrad}};
    if (doc.matrix == nullptr) {
        o["absent"] = "the particle or an offset ray is lost";
        return o;
    }
    json rows = json::array();
    for (const auto& row : doc.matrix->r) rows.push_back(json::array({row[0], row[1], row[2], row[3]}));
    o["R"] = rows;
    if (doc.matrix->focal_x_m) PUT(o, "focal_length_x_m", *doc.matrix->focal_x_m);
    if (doc.matrix->focal_y_m) PUT(o, "focal_length_y_m", *doc.matrix->focal_y_m);
    return o;
}

}  // namespace

std::string TRACK_JSON(const track_document& doc) {
    json root = json::object();
    root["program"] = std::string(doc.program);
    root["map"] = MAP(doc);
    if (doc.request == nullptr) return JSON_TEXT(root);
    const track_request& r = *doc.request;
    root["request"] = REQUEST(doc);
    if (r.frequency_mhz && doc.map != nullptr)
        root["rf_clock"] = {{"origin_z_cm", RF_TIME_ORIGIN(*doc.map)}, {"convention", std::string(convention_text)}};
    json integrator = json::object();
    integrator["method"] = std::string(method_text);
    if (doc.checked != nullptr) integrator["steps"] = doc.checked->steps;
    if (doc.halving != nullptr && doc.checked != nullptr) {
        json h = json::object();
        PUT(h, "gain_change_MeV", doc.halving->gain_change_mev);
        if (doc.checked->gain_mev != 0.0) PUT(h, "gain_change_relative", doc.halving->gain_change_mev / std::fabs(doc.checked->gain_mev));
        PUT(h, "slope_change_mrad", doc.halving->slope_change_mrad);
        integrator["halving"] = h;
    }
    root["integrator"] = integrator;
    json tracks = json::array();
    for (std::size_t n = 0; n < doc.tracks.size(); ++n)
        tracks.push_back(TRACK_OBJECT(doc.tracks[n], n < doc.phases_deg.size() ? std::optional<double>(doc.phases_deg[n]) : std::nullopt));
    root["tracks"] = tracks;
    if (doc.crest != nullptr) {
        json c = json::object();
        PUT(c, "phase_deg", doc.crest->phase_deg);
        c["refined"] = doc.crest->refined;
        PUT(c, "gain_MeV", doc.crest->track.gain_mev);
        c["exit"] = EXIT(doc.crest->track.last);
        PUT(c, "time_of_flight_ns", doc.crest->track.time_of_flight_ns);
        root["crest"] = c;
    }
    if (doc.matrix_asked) root["matrix"] = MATRIX(doc);
    json notes = json::array();
    for (const std::string_view n : doc.notes) notes.push_back(std::string(n));
    root["notes"] = notes;
    return JSON_TEXT(root);
}

std::string TRAJECTORY_CSV(std::span<const track_point> path, std::string_view map_file, const track_request& r) {
    std::string out;
    CSV_HEADER(out, {"z", "x", "y", "xp", "yp", "W", "t"});
    CSV_NOTE(out, "map: " + std::string(map_file));
    std::string who = "particle: " + r.who.name + ", rest energy " + NUMBER_G(r.who.mass_mev, 12) + " MeV, charge " +
                      NUMBER_G(r.who.charge, 6) + " e, kinetic energy " + NUMBER_G(r.energy_mev, 12) + " MeV";
    if (r.frequency_mhz) who += ", " + NUMBER_G(*r.frequency_mhz, 12) + " MHz, phase " + NUMBER_G(r.phase_deg, 12) + " deg";
    CSV_NOTE(out, who);
    CSV_NOTE(out, "units: z, x, y cm; xp, yp mrad (dx/dz, dy/dz); W MeV (kinetic); t ns (0 where the RF clock starts)");
    for (const track_point& p : path)
        CSV_ROW(out, {L_REAL(p.z), L_REAL(p.x), L_REAL(p.y), L_REAL(p.xp), L_REAL(p.yp), L_REAL(p.w), L_REAL(p.t)});
    return out;
}

}  // namespace orvex
