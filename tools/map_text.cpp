// map_text.cpp: the two text layouts' bytes (the arrays as free-form text, and the node
// list), in the style's line ends, separators and exponent letter, with its pokes applied.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "map_build.h"

namespace orvex::mapgen {
namespace {

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

}  // namespace

void BUILD_TEXT_ARRAYS(const map_recipe& s, const map_style& st, std::string& out) {
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
                                      : CLEAN_NODE_FIELD(s, i, j, k);
            return f.*field_components[comps.index[c]];
        });
    }
}

void BUILD_NODE_LIST(const map_recipe& s, const map_style& st, std::string& out) {
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

}  // namespace orvex::mapgen
