// map_export.cpp: the format chosen by the suffix, the unfolded grid every format starts from,
// and the file written whole (an .h5 built by the .h5 module, fieldio/h5_module.h).
#include "fieldio/map_export.h"

#include <cmath>
#include <cstddef>

#include "console/file_output.h"
#include "fieldio/export_grid.h"
#include "fieldio/h5_module.h"

namespace orvex {

namespace {

// The full axis of stored coordinates s (count n) with its pivot p when mirrored.
export_axis FULL_AXIS(const double* s, int stored_count, bool mirrored, int full_count) {
    export_axis a;
    a.count = full_count;
    a.coordinate.resize(static_cast<std::size_t>(full_count));
    for (int n = 1; n <= full_count; ++n) {
        double v = s[n - 1];
        if (mirrored) v = n < stored_count ? -s[stored_count - n] : s[n - stored_count];
        a.coordinate[static_cast<std::size_t>(n - 1)] = v;
    }
    a.hi = s[stored_count - 1];
    a.lo = mirrored ? -a.hi : s[0];
    a.step = full_count > 1 ? (a.hi - a.lo) / (full_count - 1) : 0.0;
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

export_grid EXPORT_GRID(const field_grid_record& g) {
    export_grid eg;
    eg.plan = UNFOLD_PLAN(g);
    if (eg.plan.nx == 0) return eg;
    eg.axis[0] = FULL_AXIS(g.xmws.data(), stored_nx, eg.plan.x, eg.plan.nx);
    eg.axis[1] = FULL_AXIS(g.ymws.data(), stored_ny, eg.plan.y, eg.plan.ny);
    eg.axis[2] = FULL_AXIS(g.zmws.data(), stored_nz, eg.plan.z, eg.plan.nz);
    eg.electric = g.field_kind == 0 || g.field_kind == 2;
    eg.magnetic = g.field_kind == 1 || g.field_kind == 2;
    eg.nodes = static_cast<std::size_t>(eg.plan.nx) * static_cast<std::size_t>(eg.plan.ny) *
               static_cast<std::size_t>(eg.plan.nz);
    return eg;
}

void UNFOLDED_COMPONENT(const field_grid_record& g, const export_grid& eg, int c, std::span<double> out) {
    const auto row = static_cast<std::size_t>(eg.plan.nx);
    std::size_t at = 0;
    for (int k = 1; k <= eg.plan.nz; ++k)
        for (int j = 1; j <= eg.plan.ny; ++j, at += row) UNFOLD_ROW(g, eg.plan, c, j, k, out.subspan(at, row));
}

std::optional<export_format> EXPORT_FORMAT_OF(std::string_view path) {
    if (ENDS_WITH(path, ".h5")) return export_format::h5;
    if (ENDS_WITH(path, ".vti")) return export_format::vti;
    if (ENDS_WITH(path, ".csv")) return export_format::csv;
    return std::nullopt;
}

bool EXPORT_MAP(const field_grid_record& grid, std::string_view path, const export_request& request,
                std::string* why) {
    const std::optional<export_format> format = EXPORT_FORMAT_OF(path);
    if (!format) return REFUSE(why, "the file name must end in .h5, .vti or .csv");
    if (request.frequency_mhz != 0.0 && *format != export_format::h5)
        return REFUSE(why, "a frequency is written only to .h5 files");
    if (!(request.frequency_mhz >= 0.0) || !std::isfinite(request.frequency_mhz))
        return REFUSE(why, "the frequency must be a positive number of MHz");
    if (UNFOLD_PLAN(grid).nx == 0) return REFUSE(why, "the map's kind and mirror flags match no unfolding case");
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
