// map_writer.cpp: the analytic map written in the three layouts, clean or damaged.
//
// The whole file is built in memory (at most about 25 MB for a text map of both fields) and
// then written whole (console/file_output.h: a failure leaves the old file), so a cut or a
// changed length applies to exact byte offsets. The
// layouts' bytes are built in map_binary.cpp and map_text.cpp.
#include "map_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

#include "console/file_output.h"
#include "map_build.h"

namespace orvex::mapgen {
namespace {

// Lower limit of an axis: as given, or 0 on a mirrored axis (flag 1), -hi otherwise.
double AXIS_LO(double lo, double hi, int flag) {
    if (!std::isnan(lo)) return lo;
    return flag == 1 ? 0.0 : -hi;
}

// Coordinate of node n of count nodes from lo to hi, by the same arithmetic the node list
// reader uses to derive it, so that every layout stores the same lattice.
double AXIS_NODE(double lo, double hi, int count, int n) {
    const double step = (hi - lo) / static_cast<double>(count - 1);
    return lo + static_cast<double>(n - 1) * step;
}

// Half-extent of an axis, the scale of its coordinate in the analytic field (never 0).
double AXIS_SCALE(double lo, double hi) {
    const double s = std::max(std::fabs(lo), std::fabs(hi));
    return (s > 0.0 && std::isfinite(s)) ? s : 1.0;
}

bool LISTED(const std::vector<node_ref>& nodes, int i, int j, int k) {
    return std::any_of(nodes.begin(), nodes.end(),
                       [&](const node_ref& n) { return n.i == i && n.j == j && n.k == k; });
}

}  // namespace

std::string LATTICE_RANGES() {
    return "1.." + std::to_string(lattice_nx) + ", 1.." + std::to_string(lattice_ny) + ", 1.." + std::to_string(lattice_nz);
}

double X_LO(const map_recipe& s) { return AXIS_LO(s.x_lo, s.x_hi, s.ksym_yz); }
double Y_LO(const map_recipe& s) { return AXIS_LO(s.y_lo, s.y_hi, s.ksym_xz); }
double Z_LO(const map_recipe& s) { return AXIS_LO(s.z_lo, s.z_hi, s.ksym_xy); }

component_list COMPONENTS_OF(int kind) {
    component_list c;
    if (kind == 0 || kind == 2)
        for (int n = 0; n < 3; ++n) c.index[c.count++] = n;
    if (kind == 1 || kind == 2)
        for (int n = 3; n < 6; ++n) c.index[c.count++] = n;
    return c;
}

field_value CLEAN_NODE_FIELD(const map_recipe& s, int i, int j, int k) {
    if (s.lattice == nullptr) return FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
    const auto n = static_cast<std::size_t>(((k - 1) * lattice_ny + (j - 1)) * lattice_nx + (i - 1));
    field_value f;
    for (std::size_t c = 0; c < 6; ++c) f.*field_components[c] = s.lattice->values[c][n];
    return f;
}

field_value NODE_FIELD(const map_recipe& s, const map_style& st, int i, int j, int k) {
    field_value f = CLEAN_NODE_FIELD(s, i, j, k);
    double replace = 0.0;
    bool replaced = false;
    if (LISTED(st.nan_nodes, i, j, k)) {
        replace = std::numeric_limits<double>::quiet_NaN();
        replaced = true;
    } else if (LISTED(st.inf_nodes, i, j, k)) {
        replace = std::numeric_limits<double>::infinity();
        replaced = true;
    } else if (LISTED(st.neg_inf_nodes, i, j, k)) {
        replace = -std::numeric_limits<double>::infinity();
        replaced = true;
    }
    if (replaced) {
        const component_list c = COMPONENTS_OF(s.kind);
        for (int n = 0; n < c.count; ++n) f.*field_components[c.index[n]] = replace;
    }
    APPLY_VALUE_DEFECTS(s, st.defects, i, j, k, f);
    return f;
}

bool NODE_HAS_NONFINITE(const map_style& st) {
    return !st.nan_nodes.empty() || !st.inf_nodes.empty() || !st.neg_inf_nodes.empty() ||
           HAS_VALUE_DEFECTS(st.defects);
}

double STORED_X(const map_recipe& s, int i) {
    return s.lattice != nullptr ? s.lattice->x[static_cast<std::size_t>(i - 1)] : AXIS_NODE(X_LO(s), s.x_hi, lattice_nx, i);
}
double STORED_Y(const map_recipe& s, int j) {
    return s.lattice != nullptr ? s.lattice->y[static_cast<std::size_t>(j - 1)] : AXIS_NODE(Y_LO(s), s.y_hi, lattice_ny, j);
}
double STORED_Z(const map_recipe& s, int k) {
    return s.lattice != nullptr ? s.lattice->z[static_cast<std::size_t>(k - 1)] : AXIS_NODE(Z_LO(s), s.z_hi, lattice_nz, k);
}

field_value FIELD_AT(const map_recipe& s, double x, double y, double z) {
    if (s.model != field_model::analytic) {
        field_value f = s.model == field_model::multipole ? MULTIPOLE_MAGNET_FIELD(s.magnet, s.kind, x, y, z)
                                                          : DEVICE_FIELD(s.model, s.kind, x, y, z);
        if (s.kind != 0 && s.kind != 2) f.ex = f.ey = f.ez = 0.0;
        if (s.kind != 1 && s.kind != 2) f.bx = f.by = f.bz = 0.0;
        return f;
    }
    const field_scale scale{AXIS_SCALE(X_LO(s), s.x_hi), AXIS_SCALE(Y_LO(s), s.y_hi),
                            AXIS_SCALE(Z_LO(s), s.z_hi)};
    return ANALYTIC_FIELD(s.kind, x, y, z, scale);
}

bool WRITE_FIELD_MAP(const map_recipe& s, layout l, const std::string& path, const map_style& style, std::string* why) {
    map_style st = style;
    RESOLVE_DEFECTS(s, st.defects);
    std::string bytes;
    switch (l) {
        case layout::binary: BUILD_BINARY(s, st, bytes); break;
        case layout::text: BUILD_TEXT_ARRAYS(s, st, bytes); break;
        case layout::nodes: BUILD_NODE_LIST(s, st, bytes); break;
    }
    if (st.cut_at >= 0 && static_cast<unsigned long long>(st.cut_at) < bytes.size())
        bytes.resize(static_cast<std::size_t>(st.cut_at));
    return WRITE_FILE_ATOMICALLY(path, bytes, why);
}

bool WRITE_FIELD_MAP(const map_recipe& s, layout l, const std::string& path) {
    return WRITE_FIELD_MAP(s, l, path, map_style{});
}

std::string BUILD_FIELD_MAP(const map_recipe& s, layout l) {
    std::string bytes;
    const map_style clean;
    switch (l) {
        case layout::binary: BUILD_BINARY(s, clean, bytes); break;
        case layout::text: BUILD_TEXT_ARRAYS(s, clean, bytes); break;
        case layout::nodes: BUILD_NODE_LIST(s, clean, bytes); break;
    }
    return bytes;
}

int BINARY_RECORD_COUNT(const map_recipe& s) { return 5 + COMPONENTS_OF(s.kind).count; }

long long BINARY_RECORD_END(const map_recipe& s, int r) {
    static constexpr std::array<long long, 5> head_bodies = {20, 12, 200, 200, 1608};
    long long end = 0;
    for (int n = 1; n <= r && n <= BINARY_RECORD_COUNT(s); ++n)
        end += 8 + (n <= 5 ? head_bodies[static_cast<std::size_t>(n - 1)] : 8 * lattice_nodes);
    return end;
}

void FILL_STORED(const map_recipe& s, const stored_target& t) {
    for (int i = 1; i <= lattice_nx; ++i) t.xmws[i - 1] = STORED_X(s, i);
    for (int j = 1; j <= lattice_ny; ++j) t.ymws[j - 1] = STORED_Y(s, j);
    for (int k = 1; k <= lattice_nz; ++k) t.zmws[k - 1] = STORED_Z(s, k);
    std::size_t n = 0;
    for (int k = 1; k <= lattice_nz; ++k)
        for (int j = 1; j <= lattice_ny; ++j)
            for (int i = 1; i <= lattice_nx; ++i, ++n) {
                const field_value f = FIELD_AT(s, t.xmws[i - 1], t.ymws[j - 1], t.zmws[k - 1]);
                t.ex[n] = f.ex;
                t.ey[n] = f.ey;
                t.ez[n] = f.ez;
                t.bx[n] = f.bx;
                t.by[n] = f.by;
                t.bz[n] = f.bz;
            }
}

}  // namespace orvex::mapgen
