// map_writer.cpp: the analytic map written in the three layouts, clean or damaged.
//
// The whole file is built in memory (at most about 25 MB for a text map of both fields) and
// then written in one go, so a cut or a changed length applies to exact byte offsets.
#include "map_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

namespace orvex::mapgen {
namespace {

constexpr int lattice_nx = 25, lattice_ny = 25, lattice_nz = 201;
constexpr long long lattice_nodes = 1LL * lattice_nx * lattice_ny * lattice_nz;

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

double X_LO(const map_spec& s) { return AXIS_LO(s.x_lo, s.x_hi, s.ksym_yz); }
double Y_LO(const map_spec& s) { return AXIS_LO(s.y_lo, s.y_hi, s.ksym_xz); }
double Z_LO(const map_spec& s) { return AXIS_LO(s.z_lo, s.z_hi, s.ksym_xy); }

// The component arrays a kind carries, in file order: 0..2 Ex Ey Ez, 3..5 Bx By Bz.
struct component_list {
    std::array<int, 6> index{};
    int count = 0;
};
component_list COMPONENTS_OF(int kind) {
    component_list c;
    if (kind == 0 || kind == 2)
        for (int n = 0; n < 3; ++n) c.index[c.count++] = n;
    if (kind == 1 || kind == 2)
        for (int n = 3; n < 6; ++n) c.index[c.count++] = n;
    return c;
}

bool LISTED(const std::vector<node_ref>& nodes, int i, int j, int k) {
    return std::any_of(nodes.begin(), nodes.end(),
                       [&](const node_ref& n) { return n.i == i && n.j == j && n.k == k; });
}

// Field at stored node (i, j, k), with the style's non-finite nodes applied.
field_value NODE_FIELD(const map_spec& s, const map_style& st, int i, int j, int k) {
    field_value f = FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
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
        for (int n = 0; n < c.count; ++n) {
            switch (c.index[n]) {
                case 0: f.ex = replace; break;
                case 1: f.ey = replace; break;
                case 2: f.ez = replace; break;
                case 3: f.bx = replace; break;
                case 4: f.by = replace; break;
                default: f.bz = replace; break;
            }
        }
    }
    APPLY_VALUE_DEFECTS(s, st.defects, i, j, k, f);
    return f;
}

// Whether the style changes any written value (so every node goes through NODE_FIELD).
bool NODE_HAS_NONFINITE(const map_style& st) {
    return !st.nan_nodes.empty() || !st.inf_nodes.empty() || !st.neg_inf_nodes.empty() ||
           HAS_VALUE_DEFECTS(st.defects);
}

// ---- binary layout ------------------------------------------------------------------------

void PUT_INT32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    const char b[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                       static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    out.append(b, 4);
}

void PUT_DOUBLE(std::string& out, double v) {
    std::uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    char b[8];
    for (int n = 0; n < 8; ++n) b[n] = static_cast<char>((u >> (8 * n)) & 0xFF);
    out.append(b, 8);
}

// Frames records: BEGIN notes where the body starts, END writes both lengths, replacing them
// by the style's for the chosen record.
struct record_framer {
    std::string& out;
    const map_style& style;
    int number = 0;
    std::size_t start = 0;

    void BEGIN() {
        ++number;
        PUT_INT32(out, 0);
        start = out.size();
    }
    void END() {
        if (number == style.pad_record && style.pad_bytes > 0)
            out.append(static_cast<std::size_t>(style.pad_bytes), '\0');
        const auto body = static_cast<std::int32_t>(out.size() - start);
        std::int32_t lead = body, trail = body;
        if (number == style.record) {
            if (style.lead) lead = *style.lead;
            if (style.trail) trail = *style.trail;
        }
        std::string head;
        PUT_INT32(head, lead);
        out.replace(start - 4, 4, head);
        PUT_INT32(out, trail);
    }
};

void BUILD_BINARY(const map_spec& s, const map_style& st, std::string& out) {
    const component_list comps = COMPONENTS_OF(s.kind);
    out.reserve(static_cast<std::size_t>(5 * 8 + 20 + 12 + 2 * 200 + 1608) +
                static_cast<std::size_t>(comps.count) * (8 + 8 * lattice_nodes));
    record_framer rec{out, st};

    rec.BEGIN();
    PUT_DOUBLE(out, s.d_elm);
    PUT_DOUBLE(out, s.aper);
    PUT_INT32(out, s.n_cell);
    rec.END();

    rec.BEGIN();
    PUT_INT32(out, s.ksym_yz);
    PUT_INT32(out, s.ksym_xz);
    PUT_INT32(out, s.ksym_xy);
    rec.END();

    rec.BEGIN();
    for (int i = 1; i <= lattice_nx; ++i) PUT_DOUBLE(out, WRITTEN_COORDINATE(s, st.defects, 0, i));
    rec.END();
    rec.BEGIN();
    for (int j = 1; j <= lattice_ny; ++j) PUT_DOUBLE(out, WRITTEN_COORDINATE(s, st.defects, 1, j));
    rec.END();
    rec.BEGIN();
    for (int k = 1; k <= lattice_nz; ++k) PUT_DOUBLE(out, WRITTEN_COORDINATE(s, st.defects, 2, k));
    rec.END();

    for (int n = 0; n < comps.count; ++n) {
        rec.BEGIN();
        for (int k = 1; k <= lattice_nz; ++k)
            for (int j = 1; j <= lattice_ny; ++j)
                for (int i = 1; i <= lattice_nx; ++i)
                    PUT_DOUBLE(out, NODE_FIELD(s, st, i, j, k).*field_components[comps.index[n]]);
        rec.END();
    }
}

// ---- text layouts -------------------------------------------------------------------------

// Writes values and lines in the style, counting lines and values for the pokes.
struct text_writer {
    std::string& out;
    const map_style& style;
    int digits;
    int line = 1;
    int values_on_line = 0;
    std::size_t line_start = 0;

    const text_poke* POKE_AT(int value) const {
        for (const text_poke& p : style.pokes)
            if (p.line == line && p.value == value) return &p;
        return nullptr;
    }

    void SEPARATE() {
        if (values_on_line > 0) out += style.tabs ? "\t" : (style.commas ? ", " : " ");
        ++values_on_line;
    }

    void TOKEN(std::string_view text) {
        SEPARATE();
        if (const text_poke* p = POKE_AT(values_on_line)) {
            out += p->text;
        } else {
            out += text;
        }
    }

    void INTEGER(long long v) {
        char b[32];
        const auto r = std::to_chars(b, b + sizeof b, v);
        TOKEN(std::string_view(b, static_cast<std::size_t>(r.ptr - b)));
    }

    void REAL(double v) {
        if (std::isnan(v)) return TOKEN("NaN");
        if (std::isinf(v)) return TOKEN(v > 0 ? "Infinity" : "-Infinity");
        char b[64];
        const int precision = std::clamp(digits, 1, 17);
        std::to_chars_result r{};
        if (style.d_exponent) {
            r = std::to_chars(b, b + sizeof b, v, std::chars_format::scientific, precision - 1);
            std::replace(b, r.ptr, 'e', 'D');
        } else {
            r = std::to_chars(b, b + sizeof b, v, std::chars_format::general, precision);
        }
        TOKEN(std::string_view(b, static_cast<std::size_t>(r.ptr - b)));
    }

    void END_LINE() {
        if (const text_poke* p = POKE_AT(0)) {
            out.resize(line_start);
            out += p->text;
        }
        out += style.crlf ? "\r\n" : "\n";
        ++line;
        values_on_line = 0;
        line_start = out.size();
    }

    // One group of doubles, starting on a new line, per_line values to a line.
    template <class F>
    void GROUP(long long count, F value_of) {
        for (long long n = 0; n < count; ++n) {
            REAL(value_of(n));
            if (style.per_line > 0 && values_on_line >= style.per_line && n + 1 < count) END_LINE();
        }
        END_LINE();
    }
};

void BUILD_TEXT_ARRAYS(const map_spec& s, const map_style& st, std::string& out) {
    const component_list comps = COMPONENTS_OF(s.kind);
    out.reserve(static_cast<std::size_t>(comps.count) * static_cast<std::size_t>(lattice_nodes) * 26 + 8192);
    text_writer w{out, st, s.digits};

    w.REAL(s.d_elm);
    w.REAL(s.aper);
    w.INTEGER(s.n_cell);
    w.END_LINE();
    w.INTEGER(s.ksym_yz);
    w.INTEGER(s.ksym_xz);
    w.INTEGER(s.ksym_xy);
    w.END_LINE();
    w.GROUP(lattice_nx, [&](long long n) { return WRITTEN_COORDINATE(s, st.defects, 0, static_cast<int>(n) + 1); });
    w.GROUP(lattice_ny, [&](long long n) { return WRITTEN_COORDINATE(s, st.defects, 1, static_cast<int>(n) + 1); });
    w.GROUP(lattice_nz, [&](long long n) { return WRITTEN_COORDINATE(s, st.defects, 2, static_cast<int>(n) + 1); });

    // Without non-finite nodes the field does not depend on the style: compute it once per
    // node and component directly.
    for (int c = 0; c < comps.count; ++c) {
        w.GROUP(lattice_nodes, [&](long long n) {
            const int i = static_cast<int>(n % lattice_nx) + 1;
            const int j = static_cast<int>((n / lattice_nx) % lattice_ny) + 1;
            const int k = static_cast<int>(n / (lattice_nx * lattice_ny)) + 1;
            const field_value f = NODE_HAS_NONFINITE(st)
                                      ? NODE_FIELD(s, st, i, j, k)
                                      : FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
            return f.*field_components[comps.index[c]];
        });
    }
}

void BUILD_NODE_LIST(const map_spec& s, const map_style& st, std::string& out) {
    const component_list comps = COMPONENTS_OF(s.kind);
    out.reserve(static_cast<std::size_t>(comps.count) * static_cast<std::size_t>(lattice_nodes) * 26 + 8192);
    text_writer w{out, st, s.digits};

    w.INTEGER(s.node_kind >= 0 ? s.node_kind : s.kind);
    w.END_LINE();
    w.INTEGER(s.ksym_yz);
    w.INTEGER(s.ksym_xz);
    w.INTEGER(s.ksym_xy);
    w.END_LINE();
    w.REAL(X_LO(s) + st.defects.shift[0]);
    w.REAL(s.x_hi + st.defects.shift[0]);
    w.INTEGER(s.nx);
    w.END_LINE();
    w.REAL(Y_LO(s) + st.defects.shift[1]);
    w.REAL(s.y_hi + st.defects.shift[1]);
    w.INTEGER(s.ny);
    w.END_LINE();
    w.REAL(Z_LO(s) + st.defects.shift[2]);
    w.REAL(s.z_hi + st.defects.shift[2]);
    w.INTEGER(s.nz);
    w.END_LINE();

    if (comps.count == 0) return;
    long long written = 0;
    for (int i = 1; i <= lattice_nx; ++i)
        for (int j = 1; j <= lattice_ny; ++j)
            for (int k = 1; k <= lattice_nz; ++k) {
                if (st.node_lines >= 0 && written >= st.node_lines) return;
                const field_value f = NODE_FIELD(s, st, i, j, k);
                for (int c = 0; c < comps.count; ++c) w.REAL(f.*field_components[comps.index[c]]);
                w.END_LINE();
                ++written;
            }
}

bool WRITE_WHOLE(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    return wrote && closed;
}

}  // namespace

double STORED_X(const map_spec& s, int i) { return AXIS_NODE(X_LO(s), s.x_hi, lattice_nx, i); }
double STORED_Y(const map_spec& s, int j) { return AXIS_NODE(Y_LO(s), s.y_hi, lattice_ny, j); }
double STORED_Z(const map_spec& s, int k) { return AXIS_NODE(Z_LO(s), s.z_hi, lattice_nz, k); }

field_value FIELD_AT(const map_spec& s, double x, double y, double z) {
    if (s.model != field_model::analytic) {
        field_value f = DEVICE_FIELD(s.model, s.kind, x, y, z);
        if (s.kind != 0 && s.kind != 2) f.ex = f.ey = f.ez = 0.0;
        if (s.kind != 1 && s.kind != 2) f.bx = f.by = f.bz = 0.0;
        return f;
    }
    const field_scale scale{AXIS_SCALE(X_LO(s), s.x_hi), AXIS_SCALE(Y_LO(s), s.y_hi),
                            AXIS_SCALE(Z_LO(s), s.z_hi)};
    return ANALYTIC_FIELD(s.kind, x, y, z, scale);
}

bool WRITE_FIELD_MAP(const map_spec& s, layout l, const std::string& path, const map_style& style) {
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
    return WRITE_WHOLE(path, bytes);
}

bool WRITE_FIELD_MAP(const map_spec& s, layout l, const std::string& path) {
    return WRITE_FIELD_MAP(s, l, path, map_style{});
}

int BINARY_RECORD_COUNT(const map_spec& s) { return 5 + COMPONENTS_OF(s.kind).count; }

long long BINARY_RECORD_END(const map_spec& s, int r) {
    static constexpr std::array<long long, 5> head_bodies = {20, 12, 200, 200, 1608};
    long long end = 0;
    for (int n = 1; n <= r && n <= BINARY_RECORD_COUNT(s); ++n)
        end += 8 + (n <= 5 ? head_bodies[static_cast<std::size_t>(n - 1)] : 8 * lattice_nodes);
    return end;
}

void FILL_STORED(const map_spec& s, const stored_target& t) {
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
