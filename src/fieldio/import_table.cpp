// import_table.cpp: the rows placed on their lattice, cut to the stored part (checked against
// the parts thrown away), given their coordinates and header, and, when asked, resampled onto
// the map's lattice.
#include "fieldio/import_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fieldio/import_columns.h"
#include "fieldio/import_mirror.h"
#include "fieldio/import_rows.h"

namespace orvex::mapimport {

namespace {

constexpr std::array<int, 3> map_counts{stored_nx, stored_ny, stored_nz};

std::string COUNTS_TEXT(std::size_t x, std::size_t y, std::size_t z) {
    return std::to_string(x) + " x " + std::to_string(y) + " x " + std::to_string(z);
}

// The row of every node of the lattice; a node without its row, or with two, is refused.
std::vector<std::int32_t> PLACE_ROWS(const table_rows& rows, const std::array<axis_lattice, 3>& axes, const column_plan& plan) {
    const std::size_t nx = static_cast<std::size_t>(axes[0].count), ny = static_cast<std::size_t>(axes[1].count),
                      nz = static_cast<std::size_t>(axes[2].count);
    std::vector<std::int32_t> row_of(nx * ny * nz, -1);
    for (std::size_t r = 0; r < rows.line.size(); ++r) {
        const std::size_t node = (static_cast<std::size_t>(NODE_OF(axes[2], rows.column[2][r])) * ny +
                                  static_cast<std::size_t>(NODE_OF(axes[1], rows.column[1][r]))) * nx +
                                 static_cast<std::size_t>(NODE_OF(axes[0], rows.column[0][r]));
        if (row_of[node] >= 0)
            REFUSE("line " + std::to_string(rows.line[r]) + " repeats the node of line " +
                   std::to_string(rows.line[static_cast<std::size_t>(row_of[node])]) + " (x, y, z = " + NUMBER(rows.column[0][r]) +
                   ", " + NUMBER(rows.column[1][r]) + ", " + NUMBER(rows.column[2][r]) + ")");
        row_of[node] = static_cast<std::int32_t>(r);
    }
    for (std::size_t node = 0; node < row_of.size(); ++node)
        if (row_of[node] < 0) {
            const std::array<std::size_t, 3> m{node % nx, node / nx % ny, node / (nx * ny)};
            std::string where;
            for (std::size_t a = 0; a < 3; ++a)
                where += std::string(a ? ", " : "") + axis_names[a] + " = " +
                         NUMBER(axes[a].lo + static_cast<double>(m[a]) * axes[a].step) + " " + std::string(plan.unit[a]->name);
            REFUSE("the table has no row for the node " + where + " (" + std::to_string(rows.line.size()) +
                   " rows for a lattice of " + COUNTS_TEXT(nx, ny, nz) + ")");
        }
    return row_of;
}

// The coordinates of the kept nodes of one axis in cm; those of the table's "# stored" line
// instead when every kept node lies within 1e-6 of a step of the stored coordinate of its place.
std::vector<double> KEPT_COORDINATES(const axis_lattice& ax, const unit_info& unit, int first, bool mirrored,
                                     const std::vector<double>& stored) {
    std::vector<double> kept;
    for (int m = first; m < ax.count; ++m) {
        const double own = ax.own[static_cast<std::size_t>(m)];
        const double c = TO_MAP_UNITS(unit, own);
        if (!std::isfinite(c))
            REFUSE(NUMBER(own) + " " + std::string(unit.name) + " is beyond the range of a double in cm");
        kept.push_back(c);
    }
    if (mirrored) kept[0] = 0.0;  // the mirror plane, exactly
    if (stored.size() != kept.size() || kept.size() < 2) return kept;
    const double step = std::fabs(kept.back() - kept.front()) / static_cast<double>(kept.size() - 1);
    for (std::size_t n = 0; n < kept.size(); ++n)
        if (!(std::fabs(kept[n] - stored[n]) <= 1e-6 * step)) return kept;
    return stored;
}

}  // namespace

imported_map IMPORT_TABLE(const import_request& request, std::string_view bytes) {
    const std::string_view text = TABLE_TEXT(bytes);
    const table_head head = READ_TABLE_HEAD(text);
    const column_plan plan = RESOLVE_COLUMNS(request, head);
    const table_rows rows = READ_ROWS(text, head, plan);

    std::array<axis_lattice, 3> axes;
    for (int a = 0; a < 3; ++a) axes[static_cast<std::size_t>(a)] = AXIS_LATTICE(rows, a, *plan.unit[static_cast<std::size_t>(a)]);
    const std::size_t nx = static_cast<std::size_t>(axes[0].count), ny = static_cast<std::size_t>(axes[1].count),
                      nz = static_cast<std::size_t>(axes[2].count);
    if (head.counts[0] != 0 && (head.counts[0] != axes[0].count || head.counts[1] != axes[1].count || head.counts[2] != axes[2].count))
        REFUSE("the header counts " + COUNTS_TEXT(static_cast<std::size_t>(head.counts[0]), static_cast<std::size_t>(head.counts[1]),
                                                  static_cast<std::size_t>(head.counts[2])) +
               " nodes, but the rows form " + COUNTS_TEXT(nx, ny, nz));
    if (nx * ny * nz > 50'000'000) REFUSE("the rows form a lattice of more than 50 million nodes");
    const std::vector<std::int32_t> row_of = PLACE_ROWS(rows, axes, plan);

    imported_map map;
    const table_provenance& said = head.provenance;
    if (request.sym) {
        map.sym = *request.sym;
    } else if (!said.flags_problem.empty()) {
        REFUSE(said.flags_problem + "; give --sym");
    } else if (said.mirror_flags) {
        map.sym = *said.mirror_flags;
    }
    if (!request.header && !said.header_problem.empty()) REFUSE(said.header_problem + "; give --header");
    const std::optional<map_header> header = request.header ? request.header : said.header;
    map.electric = plan.electric;
    map.magnetic = plan.magnetic;
    map.kind = plan.electric && plan.magnetic ? 2 : plan.electric ? 0 : 1;
    if (header && header->n_cell > 0 && request.ncell_marks_both) map.kind = 2;

    // The stored part: from the mirror plane up on a mirrored axis, else the whole axis.
    std::array<int, 3> first{}, count{};
    for (std::size_t a = 0; a < 3; ++a) {
        const axis_lattice& ax = axes[a];
        if (map.sym[a] == 1) {
            const double m0 = ax.count > 1 ? std::round(-ax.lo / ax.step) : 0.0;
            if (m0 < 0 || m0 >= ax.count || std::fabs(ax.lo + m0 * ax.step) > 1e-3 * (ax.count > 1 ? ax.step : 1.0))
                REFUSE(std::string(axis_names[a]) + " is mirrored (--sym), but " + axis_names[a] + " = 0 is not a node of the table (" +
                       AXIS_TEXT(ax, static_cast<int>(a), *plan.unit[a]) + ")");
            first[a] = static_cast<int>(m0);
        }
        count[a] = ax.count - first[a];
    }
    CHECK_DISCARDED_NODES(rows, row_of, axes, first, plan, map.kind, request.mirror_tolerance);

    const bool resampled = count != map_counts;
    std::array<std::vector<double>, 3> coordinate;
    for (std::size_t a = 0; a < 3; ++a)
        coordinate[a] = KEPT_COORDINATES(axes[a], *plan.unit[a], first[a], map.sym[a] == 1,
                                         resampled ? std::vector<double>{} : said.stored[a]);

    const std::size_t cx = static_cast<std::size_t>(count[0]), cy = static_cast<std::size_t>(count[1]),
                      cz = static_cast<std::size_t>(count[2]);
    for (std::size_t c = 0; c < 6; ++c) {
        const std::size_t role = static_cast<std::size_t>(role_ex) + c;
        if (plan.index[role] < 0) continue;
        const std::vector<double>& in = rows.column[role];
        std::vector<double>& out = map.values[c];
        out.resize(cx * cy * cz);
        std::size_t n = 0;
        for (std::size_t k = 0; k < cz; ++k)
            for (std::size_t j = 0; j < cy; ++j)
                for (std::size_t i = 0; i < cx; ++i, ++n) {
                    const std::size_t node = ((k + static_cast<std::size_t>(first[2])) * ny + j + static_cast<std::size_t>(first[1])) * nx +
                                             i + static_cast<std::size_t>(first[0]);
                    out[n] = in[static_cast<std::size_t>(row_of[node])];
                }
    }

    if (resampled) {
        if (request.resample == resampling::none)
            REFUSE("the stored part of the table holds " + COUNTS_TEXT(cx, cy, cz) + " nodes, a map " +
                   COUNTS_TEXT(stored_nx, stored_ny, stored_nz) + ": give --resample linear or --resample cubic");
        const int least = request.resample == resampling::cubic ? 4 : 2;
        for (std::size_t a = 0; a < 3; ++a)
            if (count[a] < least)
                REFUSE(std::string(request.resample == resampling::cubic ? "cubic" : "linear") + " resampling needs " +
                       std::to_string(least) + " nodes along " + axis_names[a] + "; the stored part has " + std::to_string(count[a]));
        for (std::size_t a = 0; a < 3; ++a) {
            const double lo = coordinate[a].front(), hi = coordinate[a].back();
            // The source nodes evenly spaced from the stored part's first to its last.
            const axis_grid source{lo, (hi - lo) / (count[a] - 1)};
            std::array<int, 3> now = count;
            for (std::size_t b = 0; b < a; ++b) now[b] = map_counts[b];
            for (std::vector<double>& values : map.values)
                if (!values.empty())
                    values = RESAMPLE_AXIS(values, now, static_cast<int>(a), source, map_counts[a], lo, hi, request.resample);
            coordinate[a].resize(static_cast<std::size_t>(map_counts[a]));
            for (int n = 0; n < map_counts[a]; ++n)
                coordinate[a][static_cast<std::size_t>(n)] = lo + n * ((hi - lo) / (map_counts[a] - 1));
        }
    }
    for (std::vector<double>& values : map.values)
        if (values.empty()) values.assign(stored_nodes, 0.0);
    std::copy(coordinate[0].begin(), coordinate[0].end(), map.x.begin());
    std::copy(coordinate[1].begin(), coordinate[1].end(), map.y.begin());
    std::copy(coordinate[2].begin(), coordinate[2].end(), map.z.begin());

    if (header) {
        map.header = *header;
    } else {
        // The region's length along z and the smaller of its half-widths across.
        map.header.d_elm = map.z.back() - (map.sym[2] == 1 ? -map.z.back() : map.z.front());
        map.header.aper = std::min(map.x.back(), map.y.back());
    }
    return map;
}

}  // namespace orvex::mapimport
