// particle.cpp: the particle table and kinematics; see particle.h.
#include "beam/particle.h"

#include <charconv>
#include <cmath>

namespace orvex {

namespace {

bool READ_REAL(std::string_view text, double& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size() && std::isfinite(v);
}

}  // namespace

std::optional<particle> PARTICLE_NAMED(std::string_view text, std::string* why) {
    for (const named_particle& p : particle_table)
        if (p.name == text) return particle{std::string(p.name), p.mass_mev, p.charge};
    const std::size_t comma = text.find(',');
    double mass = 0.0, charge = 0.0;
    if (comma != std::string_view::npos && READ_REAL(text.substr(0, comma), mass) &&
        READ_REAL(text.substr(comma + 1), charge) && mass > 0.0 && charge != 0.0)
        return particle{"custom", mass, charge};
    if (why != nullptr) *why = std::string(particle_rule);
    return std::nullopt;
}

double MOMENTUM_MEV(const particle& p, double w_mev) { return std::sqrt(w_mev * (w_mev + 2.0 * p.mass_mev)); }

double BETA_AT(const particle& p, double w_mev) { return MOMENTUM_MEV(p, w_mev) / (w_mev + p.mass_mev); }

double GAMMA_AT(const particle& p, double w_mev) { return 1.0 + w_mev / p.mass_mev; }

}  // namespace orvex
