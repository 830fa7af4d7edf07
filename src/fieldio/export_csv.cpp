// export_csv.cpp: the unfolded map as the project's CSV form: the header row, the # lines of
// provenance, then one row per node, x fastest, every number with 17 significant digits.
//
// Formatting the numbers is nearly all the time (about 6 million components for the largest
// map), so the rows are built in z-slabs side by side, one piece each, written in order (one
// thread does them all where no other can start). The coordinates are formatted once per axis
// and copied into the rows.
#include <sys/resource.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "console/csv_text.h"
#include "field/field_grid.h"
#include "field/field_table.h"
#include "fieldio/export_grid.h"
#include "fieldio/map_export.h"

namespace orvex {

namespace {

// "stored x: 0 0.083333333333333329 ...": the map's own coordinates of an axis.
template <std::size_t count>
std::string STORED_AXIS(const char* axis, const std::array<double, count>& coordinates) {
    std::string text = std::string("stored ") + axis + ":";
    for (const double v : coordinates) {
        text += ' ';
        CSV_REAL(text, v);
    }
    return text;
}

std::string CSV_HEAD(const full_map& grid, const export_grid& eg, const export_request& request) {
    std::string head = "x,y,z";
    for (int c = 0; c < component_count; ++c)
        if ((c < 3 && eg.electric) || (c >= 3 && eg.magnetic)) {
            head += ',';
            head += COMPONENT_NAME(c);
        }
    head += '\n';
    CSV_NOTE(head, "plot_orvex_3dfields unfolded map");
    CSV_NOTE(head, "map file: " + std::string(request.map_name));
    CSV_NOTE(head, eg.electric && eg.magnetic ? "fields: electric, magnetic" : eg.electric ? "fields: electric" : "fields: magnetic");
    // The units in the form write_field_map --units takes, so that the file imports as it stands.
    CSV_NOTE(head, std::string("units: cm") + (eg.electric ? ",V/cm" : "") + (eg.magnetic ? ",Gs" : ""));
    CSV_NOTE(head, "mirror flags: " + std::to_string(grid.ksym_yz) + " " + std::to_string(grid.ksym_xz) + " " +
                       std::to_string(grid.ksym_xy));
    CSV_NOTE(head, "nodes: " + std::to_string(eg.plan.nx) + " x " + std::to_string(eg.plan.ny) + " x " +
                       std::to_string(eg.plan.nz) + ", x fastest");
    // What the map's file holds beyond the nodes' values, so that an import makes the same file.
    if (grid.stored != nullptr) {
        const field_grid_record& g = *grid.stored;
        std::string header = "map header: d_elm ";
        CSV_REAL(header, g.d_elm);
        header += " aper ";
        CSV_REAL(header, g.aper);
        CSV_NOTE(head, header + " n_cell " + std::to_string(g.n_cell));
        CSV_NOTE(head, STORED_AXIS("x", g.xmws));
        CSV_NOTE(head, STORED_AXIS("y", g.ymws));
        CSV_NOTE(head, STORED_AXIS("z", g.zmws));
    }
    return head;
}

// Each coordinate of an axis as text, followed by its comma.
std::vector<std::string> AXIS_TEXTS(const export_axis& axis) {
    std::vector<std::string> texts;
    texts.reserve(axis.coordinate.size());
    for (const double v : axis.coordinate) {
        std::string t;
        CSV_REAL(t, v);
        texts.push_back(t + ",");
    }
    return texts;
}

// Under a limit of the address space (ulimit -v) every thread costs its stack and an arena of
// the allocator (64 MB each), which the text itself may need: one thread then does it all.
bool ADDRESS_SPACE_LIMITED() {
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

}  // namespace

std::vector<std::string> MAP_AS_CSV(const full_map& grid, const export_request& request) {
    const export_grid eg = EXPORT_GRID(grid);
    std::vector<int> carried;
    for (int c = 0; c < component_count; ++c)
        if ((c < 3 && eg.electric) || (c >= 3 && eg.magnetic)) carried.push_back(c);
    std::vector<std::vector<double>> values(carried.size(), std::vector<double>(eg.nodes));
    for (std::size_t n = 0; n < carried.size(); ++n) UNFOLDED_COMPONENT(grid, eg, carried[n], values[n]);
    const std::array<std::vector<std::string>, 3> texts{AXIS_TEXTS(eg.axis[0]), AXIS_TEXTS(eg.axis[1]),
                                                        AXIS_TEXTS(eg.axis[2])};

    const int nx = eg.plan.nx, ny = eg.plan.ny, nz = eg.plan.nz;
    const int slabs = ADDRESS_SPACE_LIMITED() ? 1 : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::string> pieces(static_cast<std::size_t>(slabs) + 1);
    pieces[0] = CSV_HEAD(grid, eg, request);
    const auto build = [&](int slab) {
        const int k_first = 1 + nz * slab / slabs, k_last = nz * (slab + 1) / slabs;
        std::string& out = pieces[static_cast<std::size_t>(slab) + 1];
        out.reserve(static_cast<std::size_t>(k_last - k_first + 1) * static_cast<std::size_t>(nx * ny) *
                    (60 + 24 * carried.size()));
        for (int k = k_first; k <= k_last; ++k)
            for (int j = 1; j <= ny; ++j)
                for (int i = 1; i <= nx; ++i) {
                    const std::size_t node =
                        (static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(ny) + static_cast<std::size_t>(j - 1)) *
                            static_cast<std::size_t>(nx) + static_cast<std::size_t>(i - 1);
                    out += texts[0][static_cast<std::size_t>(i - 1)];
                    out += texts[1][static_cast<std::size_t>(j - 1)];
                    out += texts[2][static_cast<std::size_t>(k - 1)];
                    for (std::size_t n = 0; n < carried.size(); ++n) {
                        if (n > 0) out += ',';
                        CSV_REAL(out, values[n][node]);
                    }
                    out += '\n';
                }
    };
    // A slab whose thread cannot start (too little memory for its stack, too many threads) is
    // built here after slab 0; what a slab throws (out of memory) is thrown here once all are done.
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(slabs));
    const auto guarded = [&](int slab) {
        try {
            build(slab);
        } catch (...) {
            failures[static_cast<std::size_t>(slab)] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    std::vector<int> here{0};
    workers.reserve(static_cast<std::size_t>(slabs));
    here.reserve(static_cast<std::size_t>(slabs));
    for (int slab = 1; slab < slabs; ++slab) {
        try {
            workers.emplace_back(guarded, slab);
        } catch (const std::system_error&) {
            here.push_back(slab);
        }
    }
    for (const int slab : here) guarded(slab);
    for (std::thread& w : workers) w.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    return pieces;
}

}  // namespace orvex
