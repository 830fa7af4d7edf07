// magnet_options.cpp: write_field_map's options of the multipole magnet; see magnet_options.h.
#include "magnet_options.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace orvex::mapgen {

namespace {

// The comma-separated numbers of value, each finite and whole, or false.
bool NUMBERS(std::string_view value, std::vector<double>& out) {
    out.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        const std::string_view text = value.substr(start, comma == std::string_view::npos ? comma : comma - start);
        double v = 0.0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        if (r.ec != std::errc{} || r.ptr != text.data() + text.size() || !std::isfinite(v)) return false;
        out.push_back(v);
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

bool ORDER(double v) { return v == std::floor(v) && v >= 1.0 && v <= 30.0; }

}  // namespace

bool IS_MAGNET_OPTION(std::string_view o) {
    return o == "--multipole" || o == "--harmonic" || o == "--offset" || o == "--roll" || o == "--envelope";
}

std::string READ_MAGNET_OPTION(std::string_view option, std::string_view value, multipole_magnet& m) {
    std::vector<double> v;
    const bool numbers = NUMBERS(value, v);
    const std::string bad = std::string(option) + " " + std::string(value) + ": ";
    if (option == "--multipole") {
        if (!numbers || v.size() < 2 || v.size() > 3 || !ORDER(v[0]) || (v.size() == 3 && !(v[2] > 0.0)))
            return bad + "needs an order 1..30, the field and a radius above 0 (2,1000,1)";
        m.order = static_cast<int>(v[0]), m.strength = v[1];
        if (v.size() == 3) m.radius = v[2];
    } else if (option == "--harmonic") {
        if (!numbers || v.size() != 3 || !ORDER(v[0])) return bad + "needs an order 1..30 and two numbers of units (6,10,0)";
        m.added.push_back({static_cast<int>(v[0]), v[1], v[2]});
    } else if (option == "--offset") {
        if (!numbers || v.size() != 2) return bad + "needs two numbers of cm (0.01,0)";
        m.x0 = v[0], m.y0 = v[1];
    } else if (option == "--roll") {
        if (!numbers || v.size() != 1) return bad + "needs a number of mrad";
        m.roll = v[0] / 1000.0;
    } else if (option == "--envelope") {
        if (!numbers || v.size() != 2 || !(v[0] >= 0.0) || !(v[1] > 0.0))
            return bad + "needs a half-length of 0 or more and a rise above 0 (10,2)";
        m.half_length = v[0], m.rise = v[1];
    }
    return {};
}

}  // namespace orvex::mapgen
