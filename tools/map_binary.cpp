// map_binary.cpp: the binary array layout's bytes: records framed by their 4-byte
// little-endian length before and after, the framing of one record replaceable by the style's.
#include <cstdint>
#include <cstring>
#include <string>

#include "map_build.h"

namespace orvex::mapgen {
namespace {

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

}  // namespace

void BUILD_BINARY(const map_recipe& s, const map_style& st, std::string& out) {
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

}  // namespace orvex::mapgen
