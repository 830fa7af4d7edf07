// export_vti.cpp: the unfolded map as VTK XML image data, written directly: the XML head, then
// the appended block of raw little-endian Float64 arrays, each after its UInt64 byte count.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "console/console.h"
#include "fieldio/export_grid.h"
#include "fieldio/map_export.h"

namespace orvex {

static_assert(std::endian::native == std::endian::little, "the .vti writer copies doubles as little-endian bytes");

namespace {

// "a b c" with 17 significant digits each.
std::string THREE_NUMBERS(double a, double b, double c) {
    std::string out;
    CSV_REAL(out, a);
    out += ' ';
    CSV_REAL(out, b);
    out += ' ';
    CSV_REAL(out, c);
    return out;
}

// What XML cannot hold in a comment: "--" and control characters (the name is shown with \xNN).
std::string COMMENT_TEXT(std::string_view name) {
    std::string text = VISIBLE_TEXT(name);
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at)) text.replace(at, 2, "- ");
    return text;
}

}  // namespace

std::string MAP_AS_VTI(const full_map& grid, const export_request& request) {
    const export_grid eg = EXPORT_GRID(grid);
    const std::uint64_t array_bytes = 3 * eg.nodes * sizeof(double);
    const std::string extent = "0 " + std::to_string(eg.plan.nx - 1) + " 0 " + std::to_string(eg.plan.ny - 1) +
                               " 0 " + std::to_string(eg.plan.nz - 1);
    std::string head = "<?xml version=\"1.0\"?>\n<!-- plot_orvex_3dfields unfolded map of " + COMMENT_TEXT(request.map_name) +
                       "; coordinates in cm";
    if (eg.electric) head += ", E in V/cm";
    if (eg.magnetic) head += ", B in Gs";
    head += " -->\n<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n";
    head += "  <ImageData WholeExtent=\"" + extent + "\" Origin=\"" +
            THREE_NUMBERS(eg.axis[0].lo, eg.axis[1].lo, eg.axis[2].lo) + "\" Spacing=\"" +
            THREE_NUMBERS(eg.axis[0].step, eg.axis[1].step, eg.axis[2].step) + "\">\n";
    head += "    <Piece Extent=\"" + extent + "\">\n      <PointData Vectors=\"";
    head += eg.electric ? "E" : "B";
    head += "\">\n";
    std::uint64_t offset = 0;
    for (const char* name : {"E", "B"}) {
        if ((name[0] == 'E' && !eg.electric) || (name[0] == 'B' && !eg.magnetic)) continue;
        head += "        <DataArray type=\"Float64\" Name=\"" + std::string(name) +
                "\" NumberOfComponents=\"3\" format=\"appended\" offset=\"" + std::to_string(offset) + "\"/>\n";
        offset += sizeof(std::uint64_t) + array_bytes;
    }
    head += "      </PointData>\n    </Piece>\n  </ImageData>\n  <AppendedData encoding=\"raw\">\n   _";
    const std::string tail = "\n  </AppendedData>\n</VTKFile>\n";

    std::string out;
    out.reserve(head.size() + offset + tail.size());
    out += head;
    std::vector<double> component(eg.nodes);
    for (int triple = 0; triple < 2; ++triple) {
        if ((triple == 0 && !eg.electric) || (triple == 1 && !eg.magnetic)) continue;
        out.append(reinterpret_cast<const char*>(&array_bytes), sizeof array_bytes);
        const std::size_t start = out.size();
        out.resize(start + array_bytes);
        char* block = out.data() + start;
        for (int axis = 0; axis < 3; ++axis) {
            UNFOLDED_COMPONENT(grid, eg, 3 * triple + axis, component);
            for (std::size_t n = 0; n < eg.nodes; ++n)
                std::memcpy(block + (3 * n + static_cast<std::size_t>(axis)) * sizeof(double), &component[n], sizeof(double));
        }
    }
    out += tail;
    return out;
}

}  // namespace orvex
