// json_form.cpp: the map object and the printer of the field floor's JSON documents; see
// json_form.h.
#include "field/json_form.h"

#include <cmath>

#include "console/console.h"
#include "console/number_text.h"

namespace orvex::json_form {

namespace {

// A string as JSON, valid UTF-8 whatever the text holds: its bytes that are no UTF-8 as the text
// \xNN (UTF8_TEXT), every control character as \u00XX: those below 0x20 as the JSON library
// writes them, and DEL, the C1 controls (U+0080 to U+009F, an 8-bit terminal's CSI among them)
// and the line and paragraph separators U+2028 and U+2029, which it leaves as they are.
std::string JSON_STRING(const std::string& text) {
    const std::string dumped = json(UTF8_TEXT(text)).dump(-1, ' ', false, json::error_handler_t::replace);
    static constexpr std::string_view hex = "0123456789abcdef";
    std::string out;
    out.reserve(dumped.size());
    for (std::size_t at = 0; at < dumped.size(); ++at) {
        const auto byte = static_cast<unsigned char>(dumped[at]);
        const auto next = at + 1 < dumped.size() ? static_cast<unsigned char>(dumped[at + 1]) : 0;
        const auto third = at + 2 < dumped.size() ? static_cast<unsigned char>(dumped[at + 2]) : 0;
        if (byte == 0x7F) {
            out += "\\u007f";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += "\\u00";
            out += hex[next >> 4];
            out += hex[next & 0xF];
            ++at;
        } else if (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            out += third == 0xA8 ? "\\u2028" : "\\u2029";
            at += 2;
        } else {
            out += dumped[at];
        }
    }
    return out;
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
                out += pad + JSON_STRING(it.key()) + ": ";
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
        case json::value_t::string: out += JSON_STRING(v.get<std::string>()); return;
        default: out += v.dump(-1, ' ', false, json::error_handler_t::replace); return;
    }
}

}  // namespace

void PUT_REAL(json& o, const char* key, const std::optional<double>& v) {
    if (v && std::isfinite(*v)) o[key] = *v;
}

json MAP_JSON(std::string_view file, const full_map* map) {
    json o = json::object();
    o["file"] = std::string(file);
    if (map == nullptr) return o;
    const full_map& g = *map;
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
        PUT_REAL(steps, axis_names[a], counts[a] > 1 ? std::optional<double>(AXIS_STEP(g, axis_names[a][0])) : std::nullopt);
    }
    o["limits_cm"] = limits;
    o["steps_cm"] = steps;
    return o;
}

std::string JSON_TEXT(const json& root) {
    std::string out;
    PRINT(root, out, 0);
    out += "\n";
    return out;
}

}  // namespace orvex::json_form
