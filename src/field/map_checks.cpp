// map_checks.cpp: the stored map checked against what its header claims; see map_checks.h.
//
// One pass per carried component gathers its largest absolute value and how many values are
// NaN or infinite; only when there are such values is that component read again, up to the
// first of them (and wholly when there are infinities, for the largest finite value). The coordinates and the mirror planes are small:
// 251 coordinates, at most 5,025 nodes a plane. Notes are built in fixed buffers.
#include "field/map_checks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "field/field_grid.h"
#include "field/field_table.h"

namespace orvex {

namespace {

// A coordinate is in place within the larger of these: a millionth of a step, or the rounding
// of six significant digits (text written with %g) of the axis's largest |coordinate|.
constexpr double step_tolerance = 1e-6;
constexpr double digits_tolerance = 1e-5;
constexpr double plane_tolerance = 1e-6;  // of the component's largest finite |value|

struct note_record {
    std::array<std::array<char, map_note_length>, map_note_capacity> text{};
    std::array<std::string_view, map_note_capacity> views{};
    std::size_t count = 0;
    std::size_t checks = 0;  // how many of them CHECK_MAP raised
};
note_record run_notes;
// Where the notes being raised go: the run's record, or a record of CHECK_MAP_NOTES's own.
thread_local note_record* target = &run_notes;

// One note under construction, written straight into the next free buffer; a text beyond the
// length is cut, a note beyond the capacity dropped.
struct note_text {
    note_record& notes = *target;
    char* at = nullptr;
    std::size_t size = 0;

    note_text() {
        if (notes.count < map_note_capacity) at = notes.text[notes.count].data();
    }
    ~note_text() {
        if (at == nullptr) return;
        notes.views[notes.count] = std::string_view(at, size);
        ++notes.count;
    }
    note_text(const note_text&) = delete;
    note_text& operator=(const note_text&) = delete;

    note_text& operator<<(std::string_view s) {
        if (at == nullptr) return *this;
        const std::size_t n = std::min(s.size(), map_note_length - size);
        std::copy_n(s.data(), n, at + size);
        size += n;
        return *this;
    }
    note_text& operator<<(long long v) {
        if (at == nullptr) return *this;
        const auto r = std::to_chars(at + size, at + map_note_length, v);
        if (r.ec == std::errc{}) size = static_cast<std::size_t>(r.ptr - at);
        return *this;
    }
    note_text& operator<<(int v) { return *this << static_cast<long long>(v); }
};

// A coordinate in cm: the shortest text that reads back.
std::string_view CM(double v, std::array<char, 32>& b) {
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
    return {b.data(), static_cast<std::size_t>(r.ptr - b.data())};
}

// A positive size with 2 significant digits: 0.3, 8.6, 0.0012, 45, 100, 1200 (1.2e+15 from there
// on).
std::string_view SIG2(double v, std::array<char, 32>& b) {
    char* const end = b.data() + b.size();
    auto r = std::to_chars(b.data(), end, v, std::chars_format::scientific, 1);
    double rounded = v;
    std::from_chars(b.data(), r.ptr, rounded);
    r = rounded >= 100.0 && rounded < 1e15 ? std::to_chars(b.data(), end, rounded, std::chars_format::fixed, 0)
                                          : std::to_chars(b.data(), end, rounded, std::chars_format::general, 2);
    return {b.data(), static_cast<std::size_t>(r.ptr - b.data())};
}

// The tail of a count note: "is not a number (node 7)" or "are infinite (first at node 3)".
void COUNT_TAIL(note_text& note, long long count, std::string_view what) {
    note << (count == 1 ? " is " : " are ") << what << (count == 1 ? " (node " : " (first at node ");
}

// "2 z coordinates are infinite (first at node 3)".
void COORDINATE_COUNT_NOTE(std::string_view axis, long long count, std::string_view what, int first) {
    note_text note;
    note << count << " " << axis << (count == 1 ? " coordinate" : " coordinates");
    COUNT_TAIL(note, count, what);
    note << first << ")";
}

// "1 value of Ey is not a number (node 6, 7, 8)"; first is an array offset.
void VALUE_COUNT_NOTE(std::string_view component, long long count, std::string_view what, std::size_t first) {
    const auto i = static_cast<long long>(first % stored_nx + 1);
    const auto j = static_cast<long long>(first / stored_nx % stored_ny + 1);
    const auto k = static_cast<long long>(first / (stored_nx * stored_ny) + 1);
    note_text note;
    note << count << (count == 1 ? " value of " : " values of ") << component;
    COUNT_TAIL(note, count, what);
    note << i << ", " << j << ", " << k << ")";
}

struct axis_check {
    std::string_view name;       // "x"
    std::string_view flag_name;  // "ksym_yz"
    std::int32_t flag;
    const double* coord;
    int count;
};

// Non-finite coordinates, then order or spacing, then the start of a mirrored axis. Returns
// whether a mirrored axis starts off its plane.
bool CHECK_AXIS(const axis_check& a) {
    const double* c = a.coord;
    long long nan_count = 0, inf_count = 0;
    int first_nan = 0, first_inf = 0;
    double largest = 0.0;
    for (int n = 0; n < a.count; ++n) {
        if (std::isnan(c[n])) {
            if (nan_count++ == 0) first_nan = n + 1;
        } else if (std::isinf(c[n])) {
            if (inf_count++ == 0) first_inf = n + 1;
        } else {
            largest = std::max(largest, std::fabs(c[n]));
        }
    }
    if (nan_count > 0) COORDINATE_COUNT_NOTE(a.name, nan_count, "not a number", first_nan);
    if (inf_count > 0) COORDINATE_COUNT_NOTE(a.name, inf_count, "infinite", first_inf);

    const double lo = c[0], hi = c[a.count - 1];
    const double step = (hi - lo) / static_cast<double>(a.count - 1);
    const double tolerance =
        std::max(step_tolerance * (std::isfinite(step) ? std::fabs(step) : 0.0), digits_tolerance * largest);
    std::array<char, 32> b1, b2;
    if (nan_count + inf_count == 0) {
        int descending = 0;  // first node (1-based) not above the one before
        for (int n = 1; n < a.count && descending == 0; ++n)
            if (!(c[n] > c[n - 1])) descending = n + 1;
        if (descending != 0) {
            note_text note;
            note << "the " << a.name << " coordinates are not ascending (node " << descending << " at "
                 << CM(c[descending - 1], b1) << " cm is not above node " << (descending - 1) << " at "
                 << CM(c[descending - 2], b2) << " cm)";
        } else if (std::isfinite(step)) {
            double worst = 0.0;
            int worst_node = 0;
            for (int n = 1; n < a.count - 1; ++n) {
                const double off = std::fabs(c[n] - (lo + static_cast<double>(n) * step));
                if (off > worst) {
                    worst = off;
                    worst_node = n + 1;
                }
            }
            if (worst > tolerance) {
                const std::string_view steps = SIG2(worst / step, b1);
                note_text note;
                note << "the " << a.name << " coordinates are not evenly spaced (node " << worst_node << " lies "
                     << steps << (steps == "1" ? " step" : " steps") << " from its place); the page places the nodes "
                     << "evenly from " << CM(a.flag == 1 ? -hi : lo, b2) << " to " << CM(hi, b1) << " cm";
            }
        }
    }
    if (a.flag != 1 || !std::isfinite(lo) || std::fabs(lo) <= tolerance) return false;
    note_text note;
    note << a.name << " is mirrored (" << a.flag_name << " = 1) but its first coordinate is " << CM(lo, b1)
         << " cm, not 0";
    return true;
}

// What one pass over a component finds.
struct component_survey {
    double largest = 0.0;  // largest finite |value|
    long long nan_count = 0, inf_count = 0;
    std::size_t first_nan = 0, first_inf = 0;  // array offsets
    bool all_zero = false;
};

component_survey SURVEY(const stored_array& v) {
    constexpr double biggest = std::numeric_limits<double>::max();
    component_survey s;
    long long unusual = 0, infinite = 0;  // how many values are NaN or infinite, and infinite
    for (const double x : v) {
        const double a = std::fabs(x);
        s.largest = a > s.largest ? a : s.largest;  // NaN never wins
        unusual += !(a <= biggest);
        infinite += a > biggest;
    }
    s.all_zero = s.largest == 0.0 && unusual == 0;
    if (unusual == 0) return s;
    // Rare: place the first NaN and infinite values, and take the largest without infinities.
    s.nan_count = unusual - infinite;
    s.inf_count = infinite;
    const auto offset = [&](auto is) {
        return static_cast<std::size_t>(std::find_if(v.begin(), v.end(), is) - v.begin());
    };
    if (s.nan_count > 0) s.first_nan = offset([](double x) { return x != x; });
    if (s.inf_count > 0) {
        s.first_inf = offset([](double x) { return std::fabs(x) > biggest; });
        s.largest = 0.0;
        for (const double x : v) {
            const double a = std::fabs(x) <= biggest ? std::fabs(x) : 0.0;
            s.largest = a > s.largest ? a : s.largest;
        }
    }
    return s;
}

// Largest finite |value| on the stored plane node 1 of an axis (0 x, 1 y, 2 z).
double PLANE_LARGEST(const stored_array& v, int axis) {
    double largest = 0.0;
    const auto take = [&](double x) {
        if (std::isfinite(x)) largest = std::max(largest, std::fabs(x));
    };
    for (int k = 1; k <= (axis == 2 ? 1 : stored_nz); ++k)
        for (int j = 1; j <= (axis == 1 ? 1 : stored_ny); ++j)
            for (int i = 1; i <= (axis == 0 ? 1 : stored_nx); ++i) take(v[STORED_INDEX(i, j, k)]);
    return largest;
}

// The field chosen on line 5 against what the map carries.
void CHECK_CHOICE(const field_grid_record& g, const std::array<component_survey, component_count>& s) {
    if (g.field_flag != 0 && g.field_flag != 1) return;
    const field_entry& asked = FIELD_ENTRY(g.field_flag);
    const field_entry& other = field_table[asked.flag == 1 ? 0 : 1];
    if (g.field_kind == other.flag) {
        note_text note;
        note << "the map carries only the " << other.name << " field (kind " << other.flag << ")"
             << " but line 5 asks for the " << asked.name << " field; every plot shows zeros";
        return;
    }
    const auto first = static_cast<std::size_t>(asked.first_component);
    if (s[first].all_zero && s[first + 1].all_zero && s[first + 2].all_zero) {
        note_text note;
        note << asked.component_names[0] << ", " << asked.component_names[1] << " and " << asked.component_names[2]
             << " are zero everywhere in this map; line 5 asks for the " << asked.name << " field";
    }
}

void CHECK_STORED_LATTICE(const field_grid_record& g);

}  // namespace

void CHECK_MAP() {
    run_notes.count = run_notes.checks = 0;
    CHECK_STORED_LATTICE(field_grid);
    run_notes.checks = run_notes.count;
}

std::vector<std::string> CHECK_MAP_NOTES(const field_grid_record& g) {
    const auto own = std::make_unique<note_record>();
    note_record* const before = target;
    target = own.get();
    CHECK_STORED_LATTICE(g);
    target = before;
    std::vector<std::string> out;
    for (std::size_t n = 0; n < own->count; ++n) out.emplace_back(own->views[n]);
    return out;
}

std::span<const std::string_view> MAP_CHECK_NOTES() { return {run_notes.views.data(), run_notes.checks}; }

namespace {

void CHECK_STORED_LATTICE(const field_grid_record& g) {
    const auto is_flag = [](std::int32_t f) { return f == 0 || f == 1; };
    if (g.field_kind < 0 || g.field_kind > 2 || !is_flag(g.ksym_yz) || !is_flag(g.ksym_xz) || !is_flag(g.ksym_xy))
        return;

    std::array<component_survey, component_count> survey{};
    for (int c = 0; c < component_count; ++c)
        if (CARRIES(g.field_kind, c))
            survey[static_cast<std::size_t>(c)] = SURVEY(STORED_COMPONENT(g, c));

    CHECK_CHOICE(g, survey);

    const std::array<axis_check, 3> axes{{{"x", "ksym_yz", g.ksym_yz, g.xmws.data(), stored_nx},
                                          {"y", "ksym_xz", g.ksym_xz, g.ymws.data(), stored_ny},
                                          {"z", "ksym_xy", g.ksym_xy, g.zmws.data(), stored_nz}}};
    std::array<bool, 3> plane_off{};
    for (std::size_t a = 0; a < 3; ++a) plane_off[a] = CHECK_AXIS(axes[a]);

    for (int c = 0; c < component_count; ++c) {
        const component_survey& s = survey[static_cast<std::size_t>(c)];
        const std::string_view name = COMPONENT_NAME(c);
        if (s.nan_count > 0) VALUE_COUNT_NOTE(name, s.nan_count, "not a number", s.first_nan);
        if (s.inf_count > 0) VALUE_COUNT_NOTE(name, s.inf_count, "infinite", s.first_inf);
    }

    for (int c = 0; c < component_count; ++c) {
        const double largest = survey[static_cast<std::size_t>(c)].largest;
        if (!CARRIES(g.field_kind, c) || largest == 0.0) continue;
        for (std::size_t a = 0; a < 3; ++a) {
            const unsigned bit = odd_x << a;
            if ((ODD_AXES(g.field_kind, c) & bit) == 0 || axes[a].flag != 1 || plane_off[a]) continue;
            const double on_plane = PLANE_LARGEST(STORED_COMPONENT(g, c), static_cast<int>(a));
            if (on_plane <= plane_tolerance * largest) continue;
            std::array<char, 32> b;
            note_text note;
            note << COMPONENT_NAME(c) << " is not zero on the mirror plane " << axes[a].name
                 << " = 0 (up to " << SIG2(100.0 * (on_plane / largest), b) << "% of its largest value); check "
                 << axes[a].flag_name << ", the field kind and line 5";
        }
    }
}

}  // namespace

std::span<const std::string_view> MAP_NOTES() { return {run_notes.views.data(), run_notes.count}; }

void ADD_MAP_NOTE(std::string_view note) { note_text{} << note; }

}  // namespace orvex
