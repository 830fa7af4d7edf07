// map_defects.cpp: what a defect writes instead of the clean map; see map_defects.h.
#include "map_defects.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>

#include "map_build.h"

namespace orvex::mapgen {
namespace {

constexpr std::array<std::string_view, 6> component_names{"ex", "ey", "ez", "bx", "by", "bz"};

// Whether a map of this kind writes component c (0..5 for Ex..Bz).
bool CARRIED(int kind, std::size_t c) { return kind == 2 || (kind == 0 && c < 3) || (kind == 1 && c >= 3); }

// Whether stored node (i, j, k) lies on a mirror plane of the map.
bool ON_A_PLANE(const map_recipe& s, int i, int j, int k) {
    return (s.ksym_yz == 1 && i == 1) || (s.ksym_xz == 1 && j == 1) || (s.ksym_xy == 1 && k == 1);
}

// "a,b,c" split at its commas.
std::vector<std::string_view> FIELDS(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        out.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

template <class T>
bool NUMBER(std::string_view text, T& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size();
}

// Axis letter x, y or z as 0, 1, 2; -1 otherwise.
int AXIS(std::string_view text) {
    return text == "x" ? 0 : text == "y" ? 1 : text == "z" ? 2 : -1;
}

// Bits of the components a name stands for (ex..bz, e, b, all); 0 for none.
unsigned COMPONENT_SET(std::string_view text) {
    for (std::size_t c = 0; c < component_names.size(); ++c)
        if (text == component_names[c]) return 1u << c;
    return text == "e" ? 007u : text == "b" ? 070u : text == "all" ? 077u : 0u;
}

}  // namespace

bool HAS_VALUE_DEFECTS(const map_defects& d) {
    const auto set = [](auto v) { return v != decltype(v){}; };
    return !d.values.empty() || std::any_of(d.plane_leak.begin(), d.plane_leak.end(), set) ||
           std::any_of(d.zero.begin(), d.zero.end(), set) || std::any_of(d.negate.begin(), d.negate.end(), set);
}

double WRITTEN_COORDINATE(const map_recipe& s, const map_defects& d, int axis, int n) {
    const double clean = axis == 0 ? STORED_X(s, n) : axis == 1 ? STORED_Y(s, n) : STORED_Z(s, n);
    double v = clean + d.shift[static_cast<std::size_t>(axis)];
    for (const coordinate_defect& c : d.coordinates)
        if (c.axis == axis && c.node == n) v = c.value;
    return v;
}

void RESOLVE_DEFECTS(const map_recipe& s, map_defects& d) {
    d.leak_amount = {};
    if (std::none_of(d.plane_leak.begin(), d.plane_leak.end(), [](double f) { return f != 0.0; })) return;
    std::array<double, 6> largest{};
    for (int k = 1; k <= lattice_nz; ++k)
        for (int j = 1; j <= lattice_ny; ++j)
            for (int i = 1; i <= lattice_nx; ++i) {
                const field_value f = FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
                for (std::size_t c = 0; c < 6; ++c)
                    largest[c] = std::max(largest[c], std::fabs(f.*field_components[c]));
            }
    for (std::size_t c = 0; c < 6; ++c) d.leak_amount[c] = d.plane_leak[c] * largest[c];
}

void APPLY_VALUE_DEFECTS(const map_recipe& s, const map_defects& d, int i, int j, int k, field_value& f) {
    const bool on_plane = ON_A_PLANE(s, i, j, k);
    for (std::size_t c = 0; c < 6; ++c) {
        if (!CARRIED(s.kind, c)) continue;
        double& v = f.*field_components[c];
        if (d.zero[c]) v = 0.0;
        if (d.negate[c]) v = -v;
        if (on_plane) v += d.leak_amount[c];
    }
    for (const value_defect& p : d.values)
        if (p.i == i && p.j == j && p.k == k && CARRIED(s.kind, p.component))
            f.*field_components[p.component] = p.value;
}

void FILL_STORED(const map_recipe& s, const stored_target& t, const map_defects& defects) {
    FILL_STORED(s, t);
    map_defects d = defects;
    RESOLVE_DEFECTS(s, d);
    const std::array<double*, 6> arrays{t.ex, t.ey, t.ez, t.bx, t.by, t.bz};
    std::size_t n = 0;
    for (int k = 1; k <= (HAS_VALUE_DEFECTS(d) ? lattice_nz : 0); ++k)
        for (int j = 1; j <= lattice_ny; ++j)
            for (int i = 1; i <= lattice_nx; ++i, ++n) {
                field_value f;
                for (std::size_t c = 0; c < 6; ++c) f.*field_components[c] = arrays[c][n];
                APPLY_VALUE_DEFECTS(s, d, i, j, k, f);
                for (std::size_t c = 0; c < 6; ++c) arrays[c][n] = f.*field_components[c];
            }
    for (int i = 1; i <= lattice_nx; ++i) t.xmws[i - 1] = WRITTEN_COORDINATE(s, d, 0, i);
    for (int j = 1; j <= lattice_ny; ++j) t.ymws[j - 1] = WRITTEN_COORDINATE(s, d, 1, j);
    for (int k = 1; k <= lattice_nz; ++k) t.zmws[k - 1] = WRITTEN_COORDINATE(s, d, 2, k);
}

bool IS_DEFECT_OPTION(std::string_view o) {
    return o == "--coord" || o == "--shift" || o == "--leak" || o == "--zero" || o == "--negate" || o == "--value";
}

std::string READ_DEFECT_OPTION(std::string_view option, std::string_view value, map_defects& d) {
    const std::vector<std::string_view> f = FIELDS(value);
    const std::string bad = std::string(option) + " " + std::string(value) + ": ";
    if (option == "--coord") {
        coordinate_defect c{};
        if (f.size() != 3 || (c.axis = AXIS(f[0])) < 0 || !NUMBER(f[1], c.node) || !NUMBER(f[2], c.value))
            return bad + "needs AXIS,NODE,VALUE (x,7,-0.95)";
        if (c.node < 1 || c.node > (c.axis == 2 ? lattice_nz : lattice_nx)) return bad + "node outside the axis";
        d.coordinates.push_back(c);
    } else if (option == "--shift") {
        int axis = -1;
        double cm = 0.0;
        if (f.size() != 2 || (axis = AXIS(f[0])) < 0 || !NUMBER(f[1], cm) || !std::isfinite(cm))
            return bad + "needs AXIS,CM (y,0.05)";
        d.shift[static_cast<std::size_t>(axis)] = cm;
    } else if (option == "--leak" || option == "--zero" || option == "--negate") {
        const bool leak = option == "--leak";
        unsigned set = 0;
        double fraction = 0.0;
        if (f.size() != (leak ? 2u : 1u) || (set = COMPONENT_SET(f[0])) == 0 || (leak && !NUMBER(f[1], fraction)))
            return bad + (leak ? "needs C,FRACTION (ex,0.086; C ex..bz, e, b or all)"
                               : "needs C (ex..bz, e, b or all)");
        for (std::size_t c = 0; c < 6; ++c)
            if ((set >> c) & 1u) {
                if (leak) d.plane_leak[c] = fraction;
                else if (option == "--zero") d.zero[c] = true;
                else d.negate[c] = true;
            }
    } else if (option == "--value") {
        value_defect p{};
        const unsigned set = f.empty() ? 0u : COMPONENT_SET(f[0]);
        if (f.size() != 5 || set == 0 || (set & (set - 1)) != 0 || !NUMBER(f[1], p.i) || !NUMBER(f[2], p.j) ||
            !NUMBER(f[3], p.k) || !NUMBER(f[4], p.value))
            return bad + "needs C,I,J,K,VALUE (ey,6,7,8,nan)";
        if (p.i < 1 || p.i > lattice_nx || p.j < 1 || p.j > lattice_ny || p.k < 1 || p.k > lattice_nz)
            return bad + "node outside " + LATTICE_RANGES();
        p.component = static_cast<std::size_t>(std::countr_zero(set));
        d.values.push_back(p);
    } else {
        return bad + "not a defect option";
    }
    return {};
}

}  // namespace orvex::mapgen
