// figures.cpp: the figures of the lines and of the z axis; see figures.h. The divergence check
// is in divergence.cpp, the search for the best beta in transit_time.cpp.
//
// Every sum runs in node order, in the form figures.h gives, so that another program that
// follows the same definitions meets these numbers to rounding.
#include "field/figures.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "field/figures_axis.h"

namespace orvex {

namespace {

// Extremes and trapezoid integral of one sampled component.
component_figures LINE_COMPONENT(const double* pos, const double* val, int n) {
    component_figures c;
    bool finite = true;
    for (int p = 0; p < n; ++p) {
        const double v = val[p];
        if (!std::isfinite(v)) {
            finite = false;
            continue;
        }
        if (!c.smallest || v < c.smallest->value) c.smallest = extreme_value{v, p + 1, pos[p]};
        if (!c.largest || v > c.largest->value) c.largest = extreme_value{v, p + 1, pos[p]};
    }
    if (finite && n > 0) c.integral = TRAPEZOID(pos, val, n);
    return c;
}

char AXIS_LETTER(line_axis a) { return a == line_axis::x ? 'x' : a == line_axis::y ? 'y' : 'z'; }

}  // namespace

double TRAPEZOID(const double* pos, const double* val, int n) {
    double sum = 0.0;
    for (int p = 0; p + 1 < n; ++p) sum += (val[p] + val[p + 1]) / 2.0 * (pos[p + 1] - pos[p]);
    return sum;
}

void SAMPLE_AXIS(const full_map& m, int field, line_samples& out) { SAMPLE_NODE_LINE(m, field, 'z', LINE_NODE(m, 3), out); }

field_figures COMPUTE_FIGURES(const full_map& m, int field, const figure_request& request) {
    field_figures f;
    f.field = field == 1 ? 1 : 0;
    line_samples s;
    for (int l = 1; l <= line_count; ++l) {
        line_figures& out = f.lines[static_cast<std::size_t>(l - 1)];
        SAMPLE_NODE_LINE(m, f.field, AXIS_LETTER(profile_lines[static_cast<std::size_t>(l - 1)].axis), LINE_NODE(m, l), s);
        out.count = s.n;
        for (std::size_t c = 0; c < 3; ++c) out.components[c] = LINE_COMPONENT(s.pos.data(), s.val[c].data(), s.n);
    }

    if (f.field == 0) {
        f.axial_voltage = f.lines[2].components[2].integral;
        if (request.frequency_mhz) {
            if (request.beta) f.at_beta = RF_AT_BETA(m, *request.frequency_mhz, *request.beta);
            if (request.find_best) f.best = BEST_BETA(m, *request.frequency_mhz);
        }
    } else {
        SAMPLE_AXIS(m, 1, s);
        f.bz_integral = f.lines[2].components[2].integral;
        if (f.bz_integral && s.n > 0) {
            std::array<double, full_capacity_z> squared{};
            for (std::size_t p = 0; p < static_cast<std::size_t>(s.n); ++p) squared[p] = s.val[2][p] * s.val[2][p];
            const double i1 = *f.bz_integral, i2 = TRAPEZOID(s.pos.data(), squared.data(), s.n);
            f.bz2_integral = i2;
            if (i2 != 0.0 && std::isfinite(i1 * i1 / i2)) f.effective_length = i1 * i1 / i2;
            if (i1 != 0.0 && std::isfinite(i2 / i1)) f.hard_edge_field = i2 / i1;
        }
    }
    f.gradient = AXIS_GRADIENT(m, f.field);
    f.divergence = DIVERGENCE(m, f.field);
    f.multipoles = MULTIPOLE_FIGURES(m, MULTIPOLE_PLANES(m, f.field, REFERENCE_RADIUS(m, request.radius_cm)));
    return f;
}

map_figures MAP_FIGURES(const full_map& m, const figure_request& request, int asked_field) {
    map_figures out;
    for (int field = 0; field <= 1; ++field)
        if (m.field_kind == 2 || field == asked_field) out.fields.push_back(COMPUTE_FIGURES(m, field, request));
    for (const field_figures& f : out.fields)
        if (f.divergence)
            if (std::string note = DIVERGENCE_NOTE(f.field, *f.divergence); !note.empty()) out.notes.push_back(note);
    for (const field_figures& f : out.fields)
        if (f.multipoles)
            for (std::string& note : MULTIPOLE_NOTES(m, *f.multipoles)) out.notes.push_back(std::move(note));
    if (m.field_kind == 2 && request.frequency_mhz) out.curl = CURL_CHECK(m, *request.frequency_mhz);
    if (out.curl)
        if (std::string note = CURL_NOTE(*out.curl); !note.empty()) out.notes.push_back(note);
    return out;
}

std::optional<gradient_figures> AXIS_GRADIENT(const full_map& m, int field) {
    const grid_node axis = LINE_NODE(m, 3);
    if (axis.i - 1 < 1 || axis.i + 1 > m.nx) return std::nullopt;
    // dBy/dx or dEx/dx: the lines of nodes just beside the axis in x.
    const std::size_t place = field == 1 ? 1 : 0;
    line_samples below, above;
    SAMPLE_NODE_LINE(m, field, 'z', {axis.i - 1, axis.j, 1}, below);
    SAMPLE_NODE_LINE(m, field, 'z', {axis.i + 1, axis.j, 1}, above);
    if (below.n < 1 || below.n != above.n) return std::nullopt;
    const double span = m.x[static_cast<std::size_t>(axis.i)] - m.x[static_cast<std::size_t>(axis.i - 2)];
    std::array<double, full_capacity_z> grad{};
    bool finite = true;
    std::optional<gradient_figures> out;
    for (int k = 1; k <= below.n; ++k) {
        const auto p = static_cast<std::size_t>(k - 1);
        grad[p] = (above.val[place][p] - below.val[place][p]) / span;
        if (!std::isfinite(grad[p])) {
            finite = false;
            continue;
        }
        if (!out || std::fabs(grad[p]) > std::fabs(out->largest)) out = gradient_figures{grad[p], k, below.pos[p], std::nullopt};
    }
    if (out && finite) out->integral = TRAPEZOID(below.pos.data(), grad.data(), below.n);
    return out;
}

bool FREQUENCY_USABLE(double frequency_mhz) {
    return std::isfinite(frequency_mhz) && frequency_mhz > 0.0 && std::isfinite(frequency_mhz * 1e6);
}

bool BETA_USABLE(double beta) { return beta > 0.0 && beta <= 1.0; }

bool RADIUS_USABLE(double radius_cm) { return std::isfinite(radius_cm) && radius_cm > 0.0; }

}  // namespace orvex
