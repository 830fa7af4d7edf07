// field_readers.cpp: loading a field file, in any of its three layouts, into the stored
// lattice of field_grid.
//
// Every reader writes the record it is handed: the run's field_grid, or a record of its own.
//
// The array layouts (binary records, or the same groups as free-form text) carry the header,
// the flags, the three coordinate lists and whole component arrays in array order (x fastest).
// The node list carries the kind, the flags, a range and count per axis and one line per node
// with z fastest. Both leave every coordinate and every element of the six arrays written
// (except a node list whose kind is outside 0..2, which reads no node line).
#include "fieldio/field_readers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "fieldio/binary_records.h"
#include "console/run_stop.h"
#include "field/field_grid.h"
#include "field/field_table.h"
#include "fieldio/freeform.h"
#include "fieldio/map_layouts.h"

namespace orvex {
namespace {

// The field file is opened without the leading blanks of its name.
std::string_view NAME_AS_OPENED(std::string_view file_name) {
    const std::size_t first = file_name.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : file_name.substr(first);
}

// The component arrays a kind carries, in file order, and those it leaves at 0.0.
struct component_plan {
    std::array<stored_array*, 6> read{};
    std::array<std::string_view, 6> names{};
    std::size_t read_count = 0;
    std::array<stored_array*, 6> zeroed{};
    std::size_t zeroed_count = 0;
};

component_plan PLAN_COMPONENTS(field_grid_record& g, std::int32_t kind) {
    component_plan plan;
    if (kind < 0 || kind > 2) return plan;  // a kind the name classification never gives: nothing read, nothing zeroed
    // Electric before magnetic, as the files hold them.
    for (const field_entry& f : field_table) {
        for (std::size_t n = 0; n < 3; ++n) {
            if (kind == 2 || kind == f.flag) {
                plan.names[plan.read_count] = f.stored_names[n];
                plan.read[plan.read_count++] = &(g.*f.stored[n]);
            } else {
                plan.zeroed[plan.zeroed_count++] = &(g.*f.stored[n]);
            }
        }
    }
    return plan;
}

// An array already all +0 (as every one is at the start of a run) is left as it is: writing its
// zeros would only make 1 MB of untouched memory resident for nothing.
void ZERO_ABSENT(const component_plan& plan) {
    for (std::size_t n = 0; n < plan.zeroed_count; ++n) {
        stored_array& a = *plan.zeroed[n];
        if (std::any_of(a.begin(), a.end(), [](double v) { return v != 0.0 || std::signbit(v); })) a.fill(0.0);
    }
}

// The groups of the array layouts in file order: the header, the flags, the three coordinate
// lists, then the component arrays the kind carries. The two layouts differ only in how a
// group is read: one framed record each in the binary layout, one free-form read each in the
// text layout; WALK_ARRAY_GROUPS walks them once for both.
struct header_group {
    double d_elm = 0.0, aper = 0.0;
    std::int32_t n_cell = 0;
};
struct flag_group {
    std::int32_t yz = 0, xz = 0, xy = 0;
};

struct binary_groups {
    record_file records;

    explicit binary_groups(std::string_view path) { OPEN_RECORDS(records, path); }
    header_group HEADER() {
        std::array<std::byte, 20> body{};
        READ_RECORD(records, body, "d_elm, aper, n_cell");
        return {LITTLE_ENDIAN_REAL(std::span(body).subspan(0, 8)), LITTLE_ENDIAN_REAL(std::span(body).subspan(8, 8)),
                LITTLE_ENDIAN_INT32(std::span(body).subspan(16, 4))};
    }
    flag_group FLAGS() {
        std::array<std::byte, 12> body{};
        READ_RECORD(records, body, "ksym_yz, ksym_xz, ksym_xy");
        return {LITTLE_ENDIAN_INT32(std::span(body).subspan(0, 4)), LITTLE_ENDIAN_INT32(std::span(body).subspan(4, 4)),
                LITTLE_ENDIAN_INT32(std::span(body).subspan(8, 4))};
    }
    void REALS(std::span<double> values, std::string_view what) { READ_RECORD_REALS(records, values, what); }
    void CLOSE() { CLOSE_RECORDS(records); }
};

// What a binary file read as text is told: what line 4 chose and what a binary map needs.
std::string BINARY_ADVICE(std::int32_t format_flag) {
    const map_layout* chosen = FIND_MAP_LAYOUT(format_flag);
    const map_layout* binary = FIND_MAP_LAYOUT(0);
    return "line 4 of the control file says " + std::to_string(format_flag) + ", the " + std::string(chosen->name) +
           " layout; a map in the " + std::string(binary->name) + " layout needs " +
           std::to_string(binary->format_flag) + " there";
}

struct text_groups {
    text_file text;

    explicit text_groups(std::string_view path) {
        OPEN_TEXT(text, path);
        text.binary_advice = BINARY_ADVICE(1);
    }
    header_group HEADER() {
        header_group h;
        h.d_elm = NEXT_REAL(text, "d_elm");
        h.aper = NEXT_REAL(text, "aper");
        h.n_cell = NEXT_INTEGER(text, "n_cell");
        END_READ(text);
        return h;
    }
    flag_group FLAGS() {
        flag_group f;
        f.yz = NEXT_INTEGER(text, "ksym_yz");
        f.xz = NEXT_INTEGER(text, "ksym_xz");
        f.xy = NEXT_INTEGER(text, "ksym_xy");
        END_READ(text);
        return f;
    }
    void REALS(std::span<double> values, std::string_view what) { READ_REALS(text, values, what); }
    void CLOSE() { CLOSE_TEXT(text); }
};

template <class groups>
void WALK_ARRAY_GROUPS(groups& in, field_grid_record& g) {
    const header_group header = in.HEADER();
    g.d_elm = header.d_elm;
    g.aper = header.aper;
    g.n_cell = header.n_cell;
    // A positive n_cell marks a map that carries both E and H, whatever its name says.
    if (g.n_cell > 0) g.field_kind = 2;

    const flag_group flags = in.FLAGS();
    g.ksym_yz = flags.yz;
    g.ksym_xz = flags.xz;
    g.ksym_xy = flags.xy;

    in.REALS(g.xmws, "xmws");
    in.REALS(g.ymws, "ymws");
    in.REALS(g.zmws, "zmws");

    const component_plan plan = PLAN_COMPONENTS(g, g.field_kind);
    for (std::size_t n = 0; n < plan.read_count; ++n) in.REALS(*plan.read[n], plan.names[n]);
    in.CLOSE();
    ZERO_ABSENT(plan);
}

// One axis line of the node list: first and last coordinate and the node count.
struct axis_range {
    double lo = 0.0, hi = 0.0;
    std::int32_t count = 0;
};

axis_range READ_AXIS_RANGE(text_file& text, std::string_view lo, std::string_view hi, std::string_view count) {
    axis_range r;
    r.lo = NEXT_REAL(text, lo);
    r.hi = NEXT_REAL(text, hi);
    r.count = NEXT_INTEGER(text, count);
    END_READ(text);
    return r;
}

// Uniform coordinates lo + (i - 1) * step over the axis (its count is the array's size here).
void FILL_AXIS(std::span<double> coordinates, const axis_range& r) {
    const double step = (r.hi - r.lo) / (r.count - 1);
    for (std::size_t i = 0; i < coordinates.size(); ++i) coordinates[i] = r.lo + static_cast<double>(i) * step;
}

// The first node whose values did not all stand on its first line. The free-form read takes
// the missing values from the next line, so every node after it is read one line late and the
// file ends early; that node, not the end of the file, is what is wrong.
struct short_node {
    std::size_t number = 0;  // 1-based; 0: none yet
    std::int64_t line = 0;
    std::size_t values = 0;  // values on that line
};

[[noreturn]] void FAIL_SHORT_NODE(const text_file& text, const short_node& shortage, std::size_t needed) {
    INPUT_FAILURE(text.file.name, std::to_string(shortage.line),
                  "node " + std::to_string(shortage.number) + " of " + std::to_string(stored_nodes) + " has " +
                      std::to_string(shortage.values) + " values on its line, " + std::to_string(needed) +
                      " needed");
}

}  // namespace

void READ_FIELD_ARRAYS(array_layout layout, std::string_view file_name) { READ_FIELD_ARRAYS(layout, file_name, field_grid); }

void READ_FIELD_NODES(std::string_view file_name) { READ_FIELD_NODES(file_name, field_grid); }

void READ_FIELD_ARRAYS(array_layout layout, std::string_view file_name, field_grid_record& g) {
    g.full.complete = false;
    const std::string_view path = NAME_AS_OPENED(file_name);
    if (layout == array_layout::binary) {
        binary_groups in(path);
        WALK_ARRAY_GROUPS(in, g);
    } else {
        text_groups in(path);
        WALK_ARRAY_GROUPS(in, g);
    }
}

void READ_FIELD_NODES(std::string_view file_name, field_grid_record& g) {
    g.full.complete = false;
    text_file text;
    OPEN_TEXT(text, NAME_AS_OPENED(file_name));
    text.binary_advice = BINARY_ADVICE(2);

    // The file's own kind replaces the one taken from its name.
    g.field_kind = NEXT_INTEGER(text, "field_kind");
    END_READ(text);
    g.ksym_yz = NEXT_INTEGER(text, "ksym_yz");
    g.ksym_xz = NEXT_INTEGER(text, "ksym_xz");
    g.ksym_xy = NEXT_INTEGER(text, "ksym_xy");
    END_READ(text);
    const axis_range x = READ_AXIS_RANGE(text, "xlo_in", "xhi_in", "nx_in");
    const axis_range y = READ_AXIS_RANGE(text, "ylo_in", "yhi_in", "ny_in");
    const axis_range z = READ_AXIS_RANGE(text, "zlo_in", "zhi_in", "nz_in");

    // The counts are checked before any node line is read.
    if (z.count != stored_nz || x.count != stored_nx || y.count != stored_ny) STOP_RUN(msg_count_mismatch);

    g.d_elm = z.hi - z.lo;
    if (g.ksym_xy != 0) g.d_elm *= 2.0;
    g.aper = x.hi - x.lo;
    if (g.ksym_yz == 0) g.aper /= 2.0;
    g.n_cell = 0;
    FILL_AXIS(g.xmws, x);
    FILL_AXIS(g.ymws, y);
    FILL_AXIS(g.zmws, z);

    const std::int32_t kind = g.field_kind;
    if (kind < 0 || kind > 2) {
        // No node line is read; the arrays keep what they hold.
        CLOSE_TEXT(text);
        return;
    }
    // One free-form read per node, z fastest, x slowest.
    constexpr std::string_view node = "node";
    constexpr std::size_t node_count = stored_nodes;
    const component_plan plan = PLAN_COMPONENTS(g, kind);
    short_node shortage;
    std::size_t number = 0;
    for (int i = 1; i <= stored_nx; ++i) {
        for (int j = 1; j <= stored_ny; ++j) {
            for (int k = 1; k <= stored_nz; ++k, ++number) {
                const std::size_t at = STORED_INDEX(i, j, k);
                std::int64_t first_line = 0;
                std::size_t on_first_line = 0;
                for (std::size_t v = 0; v < plan.read_count; ++v) {
                    if (shortage.number != 0 && !MORE_VALUES(text)) FAIL_SHORT_NODE(text, shortage, plan.read_count);
                    (*plan.read[v])[at] = NEXT_REAL(text, node, number, node_count);
                    if (v == 0) first_line = text.line;
                    on_first_line += text.line == first_line ? 1 : 0;
                }
                if (shortage.number == 0 && on_first_line < plan.read_count)
                    shortage = {number + 1, first_line, on_first_line};
                END_READ(text);
            }
        }
    }
    ZERO_ABSENT(plan);
    CLOSE_TEXT(text);
}

}  // namespace orvex
