// map_export.cpp: the format chosen by the suffix, the unfolded grid every format starts from,
// and the file written whole (an .h5 built by the .h5 module, fieldio/h5_module.h).
#include "fieldio/map_export.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

#include "console/console.h"
#include "console/file_output.h"
#include "field/figures.h"
#include "fieldio/export_grid.h"
#include "fieldio/h5_module.h"
#include "fieldio/h5_module.h"

namespace orvex {

namespace {

// An axis of the full map.
export_axis FULL_AXIS(const full_map& m, char axis, double lo, double hi) {
    export_axis a;
    a.count = AXIS_NODES(m, axis);
    a.lo = lo;
    a.hi = hi;
    a.step = AXIS_STEP(m, axis);
    a.coordinate = AXIS_COORDINATES(m, axis);
    return a;
}

bool REFUSE(std::string* why, std::string_view text) {
    if (why != nullptr) *why = std::string(text);
    return false;
}

// Whether text ends in tail (lower case) after a name, in any case of its letters.
bool ENDS_WITH(std::string_view text, std::string_view tail) {
    if (text.size() <= tail.size()) return false;
    const std::string_view end = text.substr(text.size() - tail.size());
    return std::equal(end.begin(), end.end(), tail.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b; });
}

// "" when every axis has a finite first node and spacing, else what is wrong.
std::string NON_FINITE_AXIS(const export_grid& eg) {
    for (std::size_t a = 0; a < eg.axis.size(); ++a) {
        const export_axis& axis = eg.axis[a];
        if (!std::isfinite(axis.lo) || !std::isfinite(axis.hi) || !std::isfinite(axis.step))
            return std::string("the map's ") + "xyz"[a] + " coordinates are not finite (a first node, last node or "
                   "spacing that is NaN or infinite): its nodes have no positions";
    }
    return {};
}

// Builds the file's pieces and writes them; a build that runs out of memory writes nothing.
bool BUILD_AND_WRITE(const full_map& grid, export_format format, std::string_view path, const export_request& request,
                     std::string* why) {
    try {
        std::vector<std::string> pieces;
        switch (format) {
            case export_format::csv: pieces = MAP_AS_CSV(grid, request); break;
            case export_format::vti: pieces.push_back(MAP_AS_VTI(grid, request)); break;
            case export_format::h5: {
                const h5_writer map_as_h5 = OPEN_H5_WRITER(why);  // the module: only now is HDF5 loaded
                pieces.emplace_back();
                if (map_as_h5 == nullptr || !map_as_h5(grid, request, pieces.back(), why)) return false;
                break;
            }
        }
        const std::vector<std::string_view> views(pieces.begin(), pieces.end());
        return WRITE_FILE_ATOMICALLY_AT(request.directory, path, views, why);
    } catch (const std::bad_alloc&) {
        return REFUSE(why, "not enough memory to build the file");
    }
}

}  // namespace

export_grid EXPORT_GRID(const full_map& m) {
    export_grid eg;
    if (!m.complete || m.nx == 0) return eg;
    eg.plan = {m.mirrored_x, m.mirrored_y, m.mirrored_z, m.nx, m.ny, m.nz};
    eg.axis[0] = FULL_AXIS(m, 'x', m.xmin, m.xmax);
    eg.axis[1] = FULL_AXIS(m, 'y', m.ymin, m.ymax);
    eg.axis[2] = FULL_AXIS(m, 'z', m.zmin, m.zmax);
    eg.electric = MAP_CARRIES(m, 0);
    eg.magnetic = MAP_CARRIES(m, 1);
    eg.nodes = static_cast<std::size_t>(m.nx) * static_cast<std::size_t>(m.ny) * static_cast<std::size_t>(m.nz);
    return eg;
}

void UNFOLDED_COMPONENT(const full_map& m, const export_grid& eg, int c, std::span<double> out) {
    const full_array& a = COMPONENT_ARRAY(m, c);
    const auto row = static_cast<std::size_t>(eg.plan.nx);
    std::size_t at = 0;
    for (int k = 1; k <= eg.plan.nz; ++k)
        for (int j = 1; j <= eg.plan.ny; ++j, at += row)
            std::copy_n(a.begin() + static_cast<std::ptrdiff_t>(FULL_INDEX(1, j, k)), row, out.begin() + static_cast<std::ptrdiff_t>(at));
}

std::optional<export_format> EXPORT_FORMAT_OF(std::string_view path) {
    if (ENDS_WITH(path, ".h5")) return export_format::h5;
    if (ENDS_WITH(path, ".vti")) return export_format::vti;
    if (ENDS_WITH(path, ".csv")) return export_format::csv;
    return std::nullopt;
}

bool EXPORT_MAP(const full_map& grid, std::string_view path, const export_request& request,
                std::string* why) {
    const std::optional<export_format> format = EXPORT_FORMAT_OF(path);
    if (!format) return REFUSE(why, "the file name must end in .h5, .vti or .csv");
    if (request.frequency_mhz != 0.0 && *format != export_format::h5)
        return REFUSE(why, "a frequency is written only to .h5 files");
    if (request.frequency_mhz != 0.0 && !FREQUENCY_USABLE(request.frequency_mhz))
        return REFUSE(why, "the frequency " + std::string(frequency_rule) + " whose value in Hz is finite");
    if (!grid.complete || grid.nx == 0) return REFUSE(why, "the map's kind and mirror flags match no unfolding case");
    if (grid.field_kind != 0 && grid.field_kind != 1 && grid.field_kind != 2)
        return REFUSE(why, "the map carries no field");
    if (SAME_FILE(request.directory, path, working_directory, request.map_name))
        return REFUSE(why, "it is the map being read (" + VISIBLE_TEXT(request.map_name) + ")");
    if (SAME_FILE(request.directory, path, working_directory, request.control_file))
        return REFUSE(why, "it is the control file being read (" + VISIBLE_TEXT(request.control_file) + ")");
    if (const std::string wrong = NON_FINITE_AXIS(EXPORT_GRID(grid)); !wrong.empty()) return REFUSE(why, wrong);
    return BUILD_AND_WRITE(grid, *format, path, request, why);
}

}  // namespace orvex
