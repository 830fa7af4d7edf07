// multipoles_csv.cpp: the coefficients of every z plane as CSV; see multipoles.h.
#include <cmath>

#include "console/csv_text.h"
#include "console/number_text.h"
#include "field/field_table.h"
#include "field/multipoles.h"

namespace orvex {

std::string MULTIPOLES_CSV(const multipole_planes& planes, const multipole_figures& f, std::string_view map_file,
                           std::span<const std::string> notes) {
    const field_entry& entry = FIELD_ENTRY(planes.field);
    const std::string unit(entry.unit), x(entry.component_names[0]), y(entry.component_names[1]);
    std::string out;
    out.reserve(512 + static_cast<std::size_t>(planes.nz) * static_cast<std::size_t>(planes.order) * 96);
    CSV_HEADER(out, {"z", "n", "Re_C", "Im_C", "b", "a"});
    CSV_NOTE(out, "plot_orvex_3dfields multipoles");
    CSV_NOTE(out, "map: " + std::string(map_file));
    CSV_NOTE(out, "field: " + std::string(entry.name) + ", " + y + " + i " + x + " = sum over n of C_n ((x + i y) / r_ref)^(n - 1)");
    CSV_NOTE(out, "reference radius: r_ref = " + NUMBER_G(planes.r_ref, 17) + " cm; " + std::to_string(planes.nodes) +
                      " nodes of each z plane inside it; n = 1.." + std::to_string(planes.order));
    CSV_NOTE(out, "units: z in cm; Re_C and Im_C in " + unit + "; b and a in units of 1e-4 of |C_M(z)| on the same plane");
    if (f.main > 0)
        CSV_NOTE(out, "main harmonic: M = " + std::to_string(f.main) + " (the largest integrated |C_n|)");
    else
        CSV_NOTE(out, "main harmonic: none (every integrated C_n is 0 or one is not finite); b and a are nan");
    for (const std::string& note : notes) CSV_NOTE(out, "note: " + note);
    for (int k = 1; k <= planes.nz; ++k) {
        const harmonic_row& c = planes.c[static_cast<std::size_t>(k - 1)];
        for (int n = 1; n <= planes.order; ++n) {
            const std::optional<std::complex<double>> units = PLANE_UNITS(planes, k, n, f.main);
            const std::complex<double> cn = c[static_cast<std::size_t>(n - 1)];
            CSV_ROW(out, {L_REAL(planes.z[static_cast<std::size_t>(k - 1)]), L_INT(n), L_REAL(cn.real()), L_REAL(cn.imag()),
                          L_REAL(units ? units->real() : NAN), L_REAL(units ? units->imag() : NAN)});
        }
    }
    return out;
}

}  // namespace orvex
