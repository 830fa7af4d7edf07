// multipoles.cpp: the least-squares harmonics of each z plane and their integrated figures; see
// multipoles.h. The CSV form of the planes is multipoles_csv.cpp.
#include "field/multipoles.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "console/number_text.h"
#include "field/field_table.h"

namespace orvex {

namespace {

using complex = std::complex<double>;

// Below this fraction of its own norm, what is left of a column after it is made orthogonal to
// the ones before is rounding: that harmonic and those above it are not fitted.
constexpr double dependent_column = 1e-12;
// At or below this fraction of |C_2| / r_ref on the middle plane, G there is rounding: the
// magnetic length is absent rather than a ratio of rounding errors.
constexpr double rounding_gradient = 1e-12;

// The factor of the disc: the offsets of its nodes in a plane (FULL_INDEX of plane 1), Q's
// columns (real and imaginary parts, n by n, each P long) and R (upper triangle, row by row).
struct disc_factor {
    std::vector<std::size_t> offsets;
    int order = 0;
    std::vector<double> q_re, q_im;
    std::array<complex, multipole_order_limit * multipole_order_limit> r{};
};

complex& R_AT(disc_factor& d, int row, int col) {
    return d.r[static_cast<std::size_t>(row * multipole_order_limit + col)];
}

// sum over p of conj(q_m(p)) v(p).
complex PROJECTION(const disc_factor& d, int m, const std::vector<complex>& v) {
    const std::size_t count = d.offsets.size(), base = static_cast<std::size_t>(m) * count;
    double re = 0.0, im = 0.0;
    for (std::size_t p = 0; p < count; ++p) {
        re += d.q_re[base + p] * v[p].real() + d.q_im[base + p] * v[p].imag();
        im += d.q_re[base + p] * v[p].imag() - d.q_im[base + p] * v[p].real();
    }
    return {re, im};
}

// The disc's nodes and A = Q R by modified Gram-Schmidt, each column made orthogonal twice.
disc_factor FACTOR_DISC(const full_map& m, double r_ref) {
    disc_factor d;
    std::vector<complex> w;
    for (int j = 1; j <= m.ny; ++j) {
        for (int i = 1; i <= m.nx; ++i) {
            const double x = m.x[static_cast<std::size_t>(i - 1)], y = m.y[static_cast<std::size_t>(j - 1)];
            if (x * x + y * y > r_ref * r_ref) continue;
            d.offsets.push_back(FULL_INDEX(i, j, 1));
            w.emplace_back(x / r_ref, y / r_ref);
        }
    }
    const std::size_t count = d.offsets.size();
    const int wanted = std::min(multipole_order_limit, static_cast<int>(count / 2));
    d.q_re.assign(count * static_cast<std::size_t>(wanted), 0.0);
    d.q_im.assign(count * static_cast<std::size_t>(wanted), 0.0);
    std::vector<complex> power(count, complex(1.0, 0.0)), v(count);
    for (int n = 0; n < wanted; ++n) {
        if (n > 0)
            for (std::size_t p = 0; p < count; ++p) power[p] *= w[p];
        v = power;
        double own = 0.0;
        for (const complex& e : v) own += std::norm(e);
        for (int pass = 0; pass < 2; ++pass) {
            for (int k = 0; k < n; ++k) {
                const complex r = PROJECTION(d, k, v);
                const std::size_t base = static_cast<std::size_t>(k) * count;
                for (std::size_t p = 0; p < count; ++p) v[p] -= r * complex(d.q_re[base + p], d.q_im[base + p]);
                R_AT(d, k, n) += r;
            }
        }
        double left = 0.0;
        for (const complex& e : v) left += std::norm(e);
        if (!(left > own * dependent_column * dependent_column)) break;
        const double norm = std::sqrt(left);
        R_AT(d, n, n) = norm;
        const std::size_t base = static_cast<std::size_t>(n) * count;
        for (std::size_t p = 0; p < count; ++p) {
            d.q_re[base + p] = v[p].real() / norm;
            d.q_im[base + p] = v[p].imag() / norm;
        }
        d.order = n + 1;
    }
    return d;
}

// The coefficients of one plane: y = Q^H f, then R c = y from the last row up.
void SOLVE_PLANE(const disc_factor& d, const double* fx, const double* fy, std::vector<double>& f_re,
                 std::vector<double>& f_im, harmonic_row& c) {
    const std::size_t count = d.offsets.size();
    bool finite = true;
    for (std::size_t p = 0; p < count; ++p) {
        f_re[p] = fy[d.offsets[p]];
        f_im[p] = fx[d.offsets[p]];
        finite = finite && std::isfinite(f_re[p]) && std::isfinite(f_im[p]);
    }
    c.fill(complex(0.0, 0.0));
    if (!finite) {
        for (int n = 0; n < d.order; ++n) c[static_cast<std::size_t>(n)] = complex(NAN, NAN);
        return;
    }
    std::array<complex, multipole_order_limit> y{};
    for (int n = 0; n < d.order; ++n) {
        const double* qr = d.q_re.data() + static_cast<std::size_t>(n) * count;
        const double* qi = d.q_im.data() + static_cast<std::size_t>(n) * count;
        double re = 0.0, im = 0.0;
        for (std::size_t p = 0; p < count; ++p) {
            re += qr[p] * f_re[p] + qi[p] * f_im[p];
            im += qr[p] * f_im[p] - qi[p] * f_re[p];
        }
        y[static_cast<std::size_t>(n)] = {re, im};
    }
    for (int n = d.order - 1; n >= 0; --n) {
        complex sum = y[static_cast<std::size_t>(n)];
        for (int k = n + 1; k < d.order; ++k)
            sum -= d.r[static_cast<std::size_t>(n * multipole_order_limit + k)] * c[static_cast<std::size_t>(k)];
        c[static_cast<std::size_t>(n)] = sum / d.r[static_cast<std::size_t>(n * multipole_order_limit + n)];
    }
}

bool FINITE(const complex& c) { return std::isfinite(c.real()) && std::isfinite(c.imag()); }

std::string CM(double v) { return NUMBER_G(v, 6); }

}  // namespace

double REFERENCE_RADIUS(const full_map& m, const std::optional<double>& asked_cm) {
    if (asked_cm) return *asked_cm;
    return std::min(m.xmax - m.xmin, m.ymax - m.ymin) / 2.0 * 2.0 / 3.0;
}

multipole_planes MULTIPOLE_PLANES(const full_map& m, int field, double r_ref) {
    multipole_planes out;
    out.field = field == 0 ? 0 : 1;
    out.r_ref = r_ref;
    const disc_factor d = std::isfinite(r_ref) && r_ref > 0.0 ? FACTOR_DISC(m, r_ref) : disc_factor{};
    out.order = d.order;
    out.nodes = static_cast<int>(d.offsets.size());
    out.nz = m.nz;
    out.z.assign(m.z.begin(), m.z.begin() + std::max(m.nz, 0));
    out.c.assign(static_cast<std::size_t>(std::max(m.nz, 0)), harmonic_row{});
    if (d.order == 0) return out;
    const component_triple f = FIELD_TRIPLE(m, out.field);
    std::vector<double> f_re(d.offsets.size()), f_im(d.offsets.size());
    for (int k = 1; k <= m.nz; ++k) {
        const std::size_t plane = FULL_INDEX(1, 1, k);
        SOLVE_PLANE(d, f[0]->data() + plane, f[1]->data() + plane, f_re, f_im, out.c[static_cast<std::size_t>(k - 1)]);
    }
    return out;
}

multipole_figures MULTIPOLE_FIGURES(const full_map& m, const multipole_planes& planes) {
    multipole_figures f;
    f.field = planes.field;
    f.r_ref = planes.r_ref;
    f.order = planes.order;
    f.nodes = planes.nodes;
    f.disc_beyond_map = planes.r_ref > std::min({m.xmax, -m.xmin, m.ymax, -m.ymin});
    if (planes.order == 0) return f;
    harmonic_row sum{};
    bool finite = true;
    for (std::size_t k = 0; k < planes.c.size(); ++k) {
        for (int n = 0; n < planes.order; ++n) finite = finite && FINITE(planes.c[k][static_cast<std::size_t>(n)]);
        if (k + 1 == planes.c.size()) break;
        const double h = planes.z[k + 1] - planes.z[k];
        for (std::size_t n = 0; n < multipole_order_limit; ++n) sum[n] += (planes.c[k][n] + planes.c[k + 1][n]) / 2.0 * h;
    }
    if (!finite) return f;
    f.integrated = sum;
    double largest = 0.0;
    for (int n = 1; n <= planes.order; ++n) {
        const double size = std::abs(sum[static_cast<std::size_t>(n - 1)]);
        if (size > largest) largest = size, f.main = n;
    }
    if (f.main == 0 || !std::isfinite(largest)) {
        f.main = 0;
        return f;
    }
    for (std::size_t n = 0; n < multipole_order_limit; ++n) {
        f.b[n] = multipole_unit * sum[n].real() / largest;
        f.a[n] = multipole_unit * sum[n].imag() / largest;
    }
    const complex main = sum[static_cast<std::size_t>(f.main - 1)];
    double phi = std::arg(main);
    if (phi > std::numbers::pi / 2.0) phi -= std::numbers::pi;
    if (phi <= -std::numbers::pi / 2.0) phi += std::numbers::pi;
    f.roll_mrad = -phi / f.main * 1000.0 + 0.0;
    if (f.main != 2) return f;
    const complex centre = -planes.r_ref * sum[0] / sum[1];
    if (FINITE(centre)) f.centre_x = centre.real() + 0.0, f.centre_y = centre.imag() + 0.0;
    quadrupole_figures q;
    q.middle_node = NEAREST_NODE_AT(m, 'z', (m.zmin + m.zmax) / 2.0);
    q.middle_z = m.z[static_cast<std::size_t>(q.middle_node - 1)];
    q.gradient_middle = planes.c[static_cast<std::size_t>(q.middle_node - 1)][1].real() / planes.r_ref;
    const double integral = sum[1].real() / planes.r_ref;
    if (std::isfinite(integral)) q.gradient_integral = integral;
    // A gradient that is rounding beside the plane's whole C_2 (a skew quadrupole) is 0.
    const double whole = std::abs(planes.c[static_cast<std::size_t>(q.middle_node - 1)][1]) / planes.r_ref;
    if (std::fabs(q.gradient_middle) > rounding_gradient * whole && std::isfinite(integral / q.gradient_middle))
        q.magnetic_length = integral / q.gradient_middle;
    f.quadrupole = q;
    return f;
}

std::optional<std::complex<double>> PLANE_UNITS(const multipole_planes& planes, int k, int n, int main) {
    if (main < 1 || main > planes.order || n < 1 || n > planes.order || k < 1 || k > planes.nz) return std::nullopt;
    const harmonic_row& c = planes.c[static_cast<std::size_t>(k - 1)];
    const double size = std::abs(c[static_cast<std::size_t>(main - 1)]);
    if (!(size > 0.0) || !std::isfinite(size)) return std::nullopt;
    const complex units = multipole_unit * c[static_cast<std::size_t>(n - 1)] / size;
    if (!FINITE(units)) return std::nullopt;
    return units;
}

std::vector<std::string> MULTIPOLE_NOTES(const full_map& m, const multipole_figures& f) {
    std::vector<std::string> notes;
    const std::string field(FIELD_ENTRY(f.field).name);
    const std::string disc = "the reference disc (r = " + CM(f.r_ref) + " cm)";
    const std::string held = disc + " holds " + std::to_string(f.nodes) + (f.nodes == 1 ? " node" : " nodes") + " of each z plane: ";
    if (f.order == 0) {
        notes.push_back(held + "no " + field + " multipoles (they need 2 nodes at least); give a larger --radius");
    } else if (f.order < multipole_order_limit && f.nodes < 2 * multipole_order_limit) {
        notes.push_back(held + "the " + field + " multipoles are fitted to n = " + std::to_string(f.order) +
                        " only (n = 15 needs 30 nodes)");
    } else if (f.order < multipole_order_limit) {
        notes.push_back("the nodes of " + disc + " lie on too few points to tell the harmonics apart: the " + field +
                        " multipoles are fitted to n = " + std::to_string(f.order) + " only");
    }
    if (f.disc_beyond_map)
        notes.push_back(disc + " reaches beyond the map's transverse region (x " + CM(m.xmin) + " to " + CM(m.xmax) +
                        ", y " + CM(m.ymin) + " to " + CM(m.ymax) + " cm): the " + field +
                        " multipoles are fitted to the nodes inside both");
    return notes;
}

}  // namespace orvex
