// map_export.h: the unfolded map written for other programs, as an openPMD field mesh (.h5),
// VTK image data (.vti) or the project's CSV form (.csv).
//
// WHAT IT IS
//   EXPORT_MAP writes every field a grid carries (field_kind 0 E, 1 B, 2 both), unfolded to the
//   whole region from the stored lattice, into one file chosen by its suffix:
//     .h5   openPMD 2.0.0 with the BeamPhysics extension: one rectangular mesh in
//           /ExternalFieldPath/1/, axis labels x y z, z fastest in the datasets, first node,
//           spacing (m) and size; electricField/x.. stored in V/cm with unitSI 100,
//           magneticField/x.. in Gs with unitSI 1e-4. Harmonic 0 (real datasets), or harmonic 1
//           with fundamentalFrequency when a frequency is given (complex datasets {r, i}, the
//           map's value as r and 0 as i). Every string attribute is a fixed-length ASCII string.
//     .vti  VTK XML image data: the 3-component Float64 arrays E (V/cm) and B (Gs), raw
//           little-endian appended data with UInt64 byte counts, x fastest; origin and spacing
//           in cm; the units in an XML comment.
//     .csv  the header row x,y,z,Ex,Ey,Ez[,Bx,By,Bz], then # lines (the map, the fields, the
//           units as "# units: cm,V/cm,Gs"), then one row per node, x fastest, every number
//           with 17 significant digits.
//   The .h5 file is built by the .h5 module (fieldio/h5_module.h), opened only then: a module
//   that cannot be used refuses the export ("the HDF5 module PATH cannot be used: REASON").
//   Every format places the nodes where the full map does (field/full_map.h, the page's rule),
//   so the CSV gives a node the same coordinates as the slice CSV. The CSV's # lines also carry
//   the header values and the map's own stored coordinates, so that write_field_map --import
//   makes the same map file of it again, byte for byte:
//     # map header: d_elm 100 aper 2 n_cell 0
//     # stored x: 0 0.083333333333333329 ... (25 numbers)      and y (25), z (201)
//
// HOW TO CALL IT
//   std::string why;
//   if (!EXPORT_FORMAT_OF(path)) refuse;
//   if (!EXPORT_MAP(grid, path, {FIELD_FILE_NAME(), 0.0}, &why)) report "cannot write ...: " + why;
//
// ASSUMES AND LIMITS
//   Reads only the full map it is handed (and, for the CSV's provenance, the stored lattice it
//   was unfolded from) and touches no global record, so the window can call it on the map it is
//   given. The file is
//   built in memory (a .csv of the largest map is about 200 MB) and written whole through
//   WRITE_FILE_ATOMICALLY; a failure writes nothing. A grid that matches no unfolding case, a
//   frequency given for a format other than .h5, and an unknown suffix are refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field/full_map.h"

namespace orvex {

enum class export_format { h5, vti, csv };

// The format a file name asks for by its suffix (.h5, .vti, .csv, lower case); none otherwise.
std::optional<export_format> EXPORT_FORMAT_OF(std::string_view path);

struct export_request {
    std::string_view map_name;   // the map's file name, named in the file's provenance
    double frequency_mhz = 0.0;  // .h5 only: > 0 writes harmonic 1 of this frequency
};

// Writes the unfolded map to path in the format of its suffix; false, with a short lower-case
// reason in why, when it is refused or cannot be written (nothing is then left behind).
bool EXPORT_MAP(const full_map& grid, std::string_view path, const export_request& request,
                std::string* why = nullptr);

// The file's bytes, for a grid that matches an unfolding case (EXPORT_MAP checks it); the CSV
// in pieces to be written one after another (built side by side).
std::vector<std::string> MAP_AS_CSV(const full_map& grid, const export_request& request);
std::string MAP_AS_VTI(const full_map& grid, const export_request& request);
// The HDF5 library builds the file in memory; false with why when it fails.
bool MAP_AS_H5(const full_map& grid, const export_request& request, std::string& bytes, std::string* why);

}  // namespace orvex
