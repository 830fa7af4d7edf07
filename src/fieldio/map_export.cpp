// map_export.cpp: the format chosen by the suffix, the unfolded grid every format starts from,
// and the file written whole (an .h5 built by the .h5 module, fieldio/h5_module.h).
#include "fieldio/map_export.h"

#include <cmath>
#include <algorithm>
#include <cstddef>

#include "console/file_output.h"
#include "fieldio/export_grid.h"
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

bool ENDS_WITH(std::string_view text, std::string_view tail) {
    return text.size() > tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool REFUSE(std::string* why, std::string_view text) {
    if (why != nullptr) *why = std::string(text);
    return false;
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
    if (!(request.frequency_mhz >= 0.0) || !std::isfinite(request.frequency_mhz))
        return REFUSE(why, "the frequency must be a positive number of MHz");
    if (!grid.complete || grid.nx == 0) return REFUSE(why, "the map's kind and mirror flags match no unfolding case");
    if (grid.field_kind != 0 && grid.field_kind != 1 && grid.field_kind != 2)
        return REFUSE(why, "the map carries no field");
    std::string bytes;
    switch (*format) {
        case export_format::csv: {
            const std::vector<std::string> pieces = MAP_AS_CSV(grid, request);
            const std::vector<std::string_view> views(pieces.begin(), pieces.end());
            return WRITE_FILE_ATOMICALLY(path, views, why);
        }
        case export_format::vti: bytes = MAP_AS_VTI(grid, request); break;
        case export_format::h5: {
            const h5_writer map_as_h5 = OPEN_H5_WRITER(why);  // the module: only now is HDF5 loaded
            if (map_as_h5 == nullptr || !map_as_h5(grid, request, bytes, why)) return false;
            break;
        }
    }
    return WRITE_FILE_ATOMICALLY(path, bytes, why);
}

}  // namespace orvex
