// probe_csv.cpp: the probe's table; see probe_csv.h.
//
// Interpolating and formatting the numbers is all the time a large probe takes, so both are done
// in slices of the points side by side. The values are read in the order of the points' z cells
// (Z_CELL_ORDER, field/probe.h), so that points a file gives in any order read nodes already in
// the caches; the rows are then written in the points' own order, one text per slice.
#include "fieldio/probe_csv.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <thread>
#include <vector>

#include "console/csv_text.h"
#include "console/number_text.h"
#include "field/field_table.h"
#include "field/probe.h"

namespace orvex {

namespace {

// Points from which the rows are made in slices side by side.
constexpr std::size_t slice_from = 50'000;

std::string AXIS_RANGE(char axis, const full_map& m) {
    const std::span<const double> c = AXIS_COORDINATES(m, axis);
    if (c.empty()) return std::string(1, axis) + " none";
    return std::string(1, axis) + " from " + NUMBER_G(c.front(), 17) + " to " + NUMBER_G(c.back(), 17);
}

std::string HEAD(const full_map& m, interpolation rule, const probe_points& points, std::string_view map_file,
                 const std::vector<int>& fields) {
    std::string head = "point,x,y,z";
    for (const std::string& name : points.carried_names) {
        head += ',';
        head += name;
    }
    for (const int f : fields)
        for (int c = 0; c < 3; ++c) {
            head += ',';
            head += COMPONENT_NAME(3 * f + c);
        }
    head += '\n';
    CSV_NOTE(head, "plot_orvex_3dfields probe");
    CSV_NOTE(head, "map: " + std::string(map_file));
    CSV_NOTE(head, "points: " + points.source);
    CSV_NOTE(head, rule == interpolation::linear ? "interpolation: linear (trilinear on the cell that holds the point)"
                                                 : "interpolation: cubic (Catmull-Rom through 4 x 4 x 4 nodes)");
    std::string units = "units: x, y, z in cm";
    for (const int f : fields) {
        const field_entry& e = FIELD_ENTRY(f);
        units += "; " + std::string(e.component_names[0]) + ", " + std::string(e.component_names[1]) + ", " +
                 std::string(e.component_names[2]) + " in " + std::string(e.unit);
    }
    CSV_NOTE(head, units);
    CSV_NOTE(head, "region: " + AXIS_RANGE('x', m) + ", " + AXIS_RANGE('y', m) + ", " + AXIS_RANGE('z', m) +
                       " cm; a point outside it has nan");
    if (!points.carried_names.empty()) {
        std::string carried = "carried from the points file:";
        for (const std::string& name : points.carried_names) carried += " " + name;
        CSV_NOTE(head, carried);
    }
    return head;
}

// Splits count items into the slices made side by side.
std::size_t SLICES(std::size_t count) {
    return count < slice_from ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

template <typename work>
void SIDE_BY_SIDE(std::size_t count, std::size_t slices, const work& w) {
    std::vector<std::thread> workers;
    for (std::size_t s = 1; s < slices; ++s) workers.emplace_back([&, s] { w(s, count * s / slices, count * (s + 1) / slices); });
    w(0, 0, count / slices);
    for (std::thread& t : workers) t.join();
}

}  // namespace

probe_table PROBE_CSV(const full_map& m, interpolation rule, const probe_points& points, std::string_view map_file) {
    std::vector<int> fields;
    std::vector<component_triple> triples;
    for (const int f : {0, 1}) {
        if (!MAP_CARRIES(m, f)) continue;
        fields.push_back(f);
        triples.push_back(FIELD_TRIPLE(m, f));  // unfolded here, before the slices read it
    }
    const std::size_t count = points.at.size(), per_point = 3 * triples.size();
    const std::size_t slices = SLICES(count);

    // The values, point by point in the order of their z cells.
    std::vector<double> values(count * per_point);
    const std::vector<std::uint32_t> order = Z_CELL_ORDER(m, points.at);
    std::vector<std::size_t> outside(slices, 0), first(slices, count);
    SIDE_BY_SIDE(count, slices, [&](std::size_t s, std::size_t from, std::size_t to) {
        for (std::size_t n = from; n < to; ++n) {
            const std::size_t k = order[n];
            if (PROBE_AT(m, rule, points.at[k], triples, values.data() + k * per_point)) continue;
            ++outside[s];
            first[s] = std::min(first[s], k);
        }
    });

    // The rows, in the order of the points.
    probe_table table;
    table.text.resize(slices + 1);
    table.text[0] = HEAD(m, rule, points, map_file, fields);
    const std::size_t carried = points.carried_text.size() / std::max<std::size_t>(1, count);
    SIDE_BY_SIDE(count, slices, [&](std::size_t s, std::size_t from, std::size_t to) {
        std::string& out = table.text[s + 1];
        out.reserve((to - from) * (80 + 24 * per_point + carried));
        char number[24];
        for (std::size_t k = from; k < to; ++k) {
            const auto written = std::to_chars(number, number + sizeof number, k + 1);
            out.append(number, written.ptr);
            for (const double c : points.at[k]) {
                out += ',';
                CSV_REAL(out, c);
            }
            out += CARRIED_CELLS(points, k);
            for (std::size_t v = 0; v < per_point; ++v) {
                out += ',';
                CSV_REAL(out, values[k * per_point + v]);
            }
            out += '\n';
        }
    });
    std::size_t first_of_all = count;
    for (std::size_t s = 0; s < slices; ++s) {
        table.outside += outside[s];
        first_of_all = std::min(first_of_all, first[s]);
    }
    table.first_outside = table.outside > 0 ? first_of_all : 0;
    return table;
}

std::string PROBE_OUTSIDE_NOTE(const probe_points& points, const probe_table& table) {
    const point3& p = points.at[table.first_outside];
    return std::to_string(table.outside) + " of " + std::to_string(points.at.size()) + " point" +
           (points.at.size() == 1 ? "" : "s") + (table.outside == 1 ? " lies" : " lie") +
           " outside the map's region and " + (table.outside == 1 ? "has" : "have") + " no value (nan); the first is point " +
           std::to_string(table.first_outside + 1) + " at x = " + NUMBER_G(p[0], 12) + ", y = " + NUMBER_G(p[1], 12) +
           ", z = " + NUMBER_G(p[2], 12) + " cm";
}

}  // namespace orvex
