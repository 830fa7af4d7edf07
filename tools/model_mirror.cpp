// model_mirror.cpp: a model's field at each stored node's mirror images, against the unfolding.
#include "model_mirror.h"

#include <array>
#include <bit>
#include <cmath>
#include <vector>

#include "field/field_table.h"
#include "fieldio/import_mirror.h"
#include "map_build.h"

namespace orvex::mapgen {

std::string MODEL_MIRROR_MISMATCH(const map_recipe& s, std::string_view model_name, double tolerance) {
    const std::array<int, 3> flags{s.ksym_yz, s.ksym_xz, s.ksym_xy};
    unsigned mirrored = 0;
    for (std::size_t a = 0; a < 3; ++a)
        if (flags[a] == 1) mirrored |= 1u << a;
    if (mirrored == 0 || s.lattice != nullptr || s.kind < 0 || s.kind > 2) return {};

    std::vector<field_value> stored(static_cast<std::size_t>(lattice_nodes));
    std::array<double, 2> largest{};
    std::size_t n = 0;
    for (int k = 1; k <= lattice_nz; ++k)
        for (int j = 1; j <= lattice_ny; ++j)
            for (int i = 1; i <= lattice_nx; ++i, ++n) {
                const field_value f = FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
                stored[n] = f;
                largest[0] = std::max(largest[0], std::hypot(f.ex, f.ey, f.ez));
                largest[1] = std::max(largest[1], std::hypot(f.bx, f.by, f.bz));
            }
    // The planes crossed: one, then two, then three; at the first count with a mismatch, the
    // node that differs most is named.
    for (int planes = 1; planes <= 3; ++planes) {
        mapimport::mirror_mismatch worst;
        double worst_difference = 0.0;
        for (unsigned crossed = 1; crossed < 8; ++crossed) {
            if (std::popcount(crossed) != planes || (crossed & ~mirrored) != 0) continue;
            n = 0;
            for (int k = 1; k <= lattice_nz; ++k)
                for (int j = 1; j <= lattice_ny; ++j)
                    for (int i = 1; i <= lattice_nx; ++i, ++n) {
                        const std::array<double, 3> from{STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k)};
                        std::array<double, 3> at = from;
                        bool on_a_plane = false;  // a node on a crossed plane is its own image
                        for (std::size_t a = 0; a < 3; ++a)
                            if (crossed & (1u << a)) {
                                on_a_plane = on_a_plane || from[a] == 0.0;
                                at[a] = -at[a];
                            }
                        if (on_a_plane) continue;
                        const field_value image = FIELD_AT(s, at[0], at[1], at[2]);
                        for (int c = 0; c < component_count; ++c) {
                            if (!CARRIES(s.kind, c)) continue;
                            const double sign = std::popcount(ODD_AXES(s.kind, c) & crossed) % 2 == 1 ? -1.0 : 1.0;
                            const double v = image.*field_components[static_cast<std::size_t>(c)];
                            const double w = sign * stored[n].*field_components[static_cast<std::size_t>(c)];
                            const double difference = std::fabs(v - w);
                            if (!(difference > tolerance * largest[c < 3 ? 0 : 1]) || !(difference > worst_difference)) continue;
                            worst_difference = difference;
                            worst = {c, s.kind, at, from, v, w, crossed, 0, "the " + std::string(model_name) + " model's"};
                        }
                    }
        }
        if (worst_difference > 0.0) return mapimport::MIRROR_MISMATCH_TEXT(worst);
    }
    return {};
}

}  // namespace orvex::mapgen
