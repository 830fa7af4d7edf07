// Map checks: maps from the map writer with one defect each give exactly their note; clean maps
// of every kind, symmetry and device model give none, also with tiny rounding on the planes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analytic_grid.h"
#include "field/field_grid.h"
#include "field/map_checks.h"

namespace orvex {
namespace {

using mapgen::map_defects;
using mapgen::map_recipe;
using testing::LOAD_ANALYTIC;
using testing::MAP;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

std::vector<std::string> NOTES() {
    std::vector<std::string> out;
    for (const std::string_view n : MAP_NOTES()) out.emplace_back(n);
    return out;
}

struct defect_row {
    const char* name;
    map_recipe map;
    std::function<void(map_defects&)> defect;
    int field_flag;
    std::vector<std::string> notes;
};

map_recipe WITH(map_recipe m, const std::function<void(map_recipe&)>& change) {
    change(m);
    return m;
}

TEST(MapChecks, EachDefectGivesItsNoteAndNothingElse) {
    // x from -1.5 to 1.5 (steps of 0.125) or 0 to 1.5 (0.0625); y 0..1.5 or -1.5..1.5; z in
    // steps of 0.25 (0..50) or 0.5 (-50..50): every clean coordinate is exact in binary.
    const auto x15 = [](int kind, int yz, int xz, int xy) {
        return WITH(MAP(kind, yz, xz, xy), [](map_recipe& m) { m.x_hi = 1.5; });
    };
    constexpr std::array<bool, 6> no_e{true, true, true, false, false, false};
    constexpr std::array<bool, 6> no_b{false, false, false, true, true, true};
    const std::vector<defect_row> rows{
        {"uneven x", x15(2, 0, 0, 0), [](map_defects& d) { d.coordinates.push_back({0, 7, -0.75 + 0.3 * 0.125}); }, 0,
         {"the x coordinates are not evenly spaced (node 7 lies 0.3 steps from its place); the page places the nodes "
          "evenly from -1.5 to 1.5 cm"}},
        {"uneven mirrored x", x15(0, 1, 0, 0),
         [](map_defects& d) { d.coordinates.push_back({0, 20, 1.1875 - 0.45 * 0.0625}); }, 0,
         {"the x coordinates are not evenly spaced (node 20 lies 0.45 steps from its place); the page places the nodes "
          "evenly from -1.5 to 1.5 cm"}},
        {"z not ascending", MAP(1, 0, 0, 1), [](map_defects& d) { d.coordinates.push_back({2, 101, 24.75}); }, 1,
         {"the z coordinates are not ascending (node 101 at 24.75 cm is not above node 100 at 24.75 cm)"}},
        {"mirrored y off its plane", MAP(2, 1, 1, 0), [](map_defects& d) { d.shift[1] = 0.05; }, 0,
         {"y is mirrored (ksym_xz = 1) but its first coordinate is 0.05 cm, not 0"}},
        // A whole axis flagged as mirrored: Ez does not vanish at z = -50, but the stronger note
        // says it all.
        {"whole z flagged mirrored", WITH(MAP(0, 0, 0, 1), [](map_recipe& m) { m.z_lo = -50.0; }), [](map_defects&) {}, 0,
         {"z is mirrored (ksym_xy = 1) but its first coordinate is -50 cm, not 0"}},
        {"coordinates not finite", MAP(2, 0, 1, 0),
         [](map_defects& d) {
             d.coordinates.push_back({0, 3, nan});
             d.coordinates.push_back({1, 1, inf});
             d.coordinates.push_back({1, 2, -inf});
         },
         0, {"1 x coordinate is not a number (node 3)", "2 y coordinates are infinite (first at node 1)"}},
        {"Ex on its plane", MAP(0, 1, 0, 0), [](map_defects& d) { d.plane_leak[0] = 0.086; }, 0,
         {"Ex is not zero on the mirror plane x = 0 (up to 8.6% of its largest value); check ksym_yz, the field kind "
          "and line 5"}},
        {"Bx of a B map on the z plane", MAP(1, 0, 0, 1), [](map_defects& d) { d.plane_leak[3] = 0.5; }, 1,
         {"Bx is not zero on the mirror plane z = 0 (up to 50% of its largest value); check ksym_xy, the field kind "
          "and line 5"}},
        {"Bz of both fields on two planes", MAP(2, 1, 1, 1), [](map_defects& d) { d.plane_leak[5] = 0.02; }, 1,
         {"Bz is not zero on the mirror plane x = 0 (up to 2% of its largest value); check ksym_yz, the field kind "
          "and line 5",
          "Bz is not zero on the mirror plane y = 0 (up to 2% of its largest value); check ksym_xz, the field kind "
          "and line 5"}},
        {"just above the tolerance", MAP(0, 1, 0, 0), [](map_defects& d) { d.plane_leak[0] = 2e-6; }, 0,
         {"Ex is not zero on the mirror plane x = 0 (up to 0.0002% of its largest value); check ksym_yz, the field "
          "kind and line 5"}},
        {"values not finite", MAP(2, 0, 0, 0),
         [](map_defects& d) {
             d.values.push_back({1, 6, 7, 8, nan});
             d.values.push_back({5, 1, 2, 4, inf});
             d.values.push_back({5, 5, 2, 3, -inf});
             d.values.push_back({5, 1, 2, 3, inf});
         },
         1, {"1 value of Ey is not a number (node 6, 7, 8)", "3 values of Bz are infinite (first at node 1, 2, 3)"}},
        // An infinity is no scale for the plane.
        {"Ex infinite and on its plane", MAP(0, 1, 0, 0),
         [](map_defects& d) {
             d.plane_leak[0] = 0.086;
             d.values.push_back({0, 5, 5, 5, -inf});
         },
         0,
         {"1 value of Ex is infinite (node 5, 5, 5)",
          "Ex is not zero on the mirror plane x = 0 (up to 8.6% of its largest value); check ksym_yz, the field kind "
          "and line 5"}},
        // A NaN on the plane is a hole, not a value that fails to vanish.
        {"NaN on the plane", MAP(0, 1, 0, 0), [](map_defects& d) { d.values.push_back({0, 1, 5, 5, nan}); }, 0,
         {"1 value of Ex is not a number (node 1, 5, 5)"}},
        {"electric map plotted for B", MAP(0, 0, 0, 0), [](map_defects&) {}, 1,
         {"the map carries only the electric field (kind 0) but line 5 asks for the magnetic field; every plot shows "
          "zeros"}},
        {"magnetic map plotted for E", MAP(1, 1, 1, 0), [](map_defects&) {}, 0,
         {"the map carries only the magnetic field (kind 1) but line 5 asks for the electric field; every plot shows "
          "zeros"}},
        {"both fields without B", MAP(2, 0, 0, 1), [=](map_defects& d) { d.zero = no_b; }, 1,
         {"Bx, By and Bz are zero everywhere in this map; line 5 asks for the magnetic field"}},
        {"both fields without B, E plotted", MAP(2, 0, 0, 1), [=](map_defects& d) { d.zero = no_b; }, 0, {}},
        {"electric map without E", MAP(0, 1, 1, 1), [=](map_defects& d) { d.zero = no_e; }, 0,
         {"Ex, Ey and Ez are zero everywhere in this map; line 5 asks for the electric field"}},
        // Rounding far below what the page can show.
        {"planes at 1e-9", MAP(2, 1, 1, 1), [](map_defects& d) { d.plane_leak.fill(1e-9); }, 0, {}},
        {"x written with six digits", WITH(MAP(1, 0, 0, 0), [](map_recipe& m) { m.x_hi = 1.7; }),
         [](map_defects& d) { d.coordinates.push_back({0, 5, -1.13333}); }, 1, {}},
    };
    for (const defect_row& r : rows) {
        SCOPED_TRACE(r.name);
        map_defects d;
        r.defect(d);
        LOAD_ANALYTIC(r.map, d);
        field_grid.field_flag = r.field_flag;
        CHECK_MAP();
        EXPECT_EQ(NOTES(), r.notes);
    }
}

TEST(MapChecks, CleanMapsOfEveryKindSymmetryAndDeviceRaiseNothing) {
    for (int kind = 0; kind <= 2; ++kind)
        for (int flags = 0; flags < 8; ++flags)
            for (int field_flag = 0; field_flag <= 1; ++field_flag) {
                if (kind != 2 && field_flag != kind) continue;
                SCOPED_TRACE(::testing::Message() << "kind " << kind << " flags " << flags << " line 5 " << field_flag);
                LOAD_ANALYTIC(MAP(kind, flags & 1, (flags >> 1) & 1, (flags >> 2) & 1));
                field_grid.field_flag = field_flag;
                CHECK_MAP();
                EXPECT_EQ(NOTES(), std::vector<std::string>{});
            }
    // The bundled examples, with the recipes of scripts/demo.sh.
    const auto device = [](mapgen::field_model model, int kind, int yz, int xz, int xy, double xy_hi, double z_hi) {
        map_recipe m = MAP(kind, yz, xz, xy);
        m.model = model;
        m.x_hi = m.y_hi = xy_hi;
        m.z_hi = z_hi;
        return m;
    };
    const map_recipe devices[] = {device(mapgen::field_model::rfq_cell, 0, 1, 1, 1, 0.4, 12.0),
                                device(mapgen::field_model::solenoid, 1, 1, 1, 0, 2.0, 30.0),
                                device(mapgen::field_model::lens_doublet, 2, 0, 0, 1, 1.0, 15.0)};
    for (const map_recipe& m : devices) {
        for (int field_flag = 0; field_flag <= 1; ++field_flag) {
            if (m.kind != 2 && field_flag != m.kind) continue;
            SCOPED_TRACE(::testing::Message() << "device kind " << m.kind << " line 5 " << field_flag);
            LOAD_ANALYTIC(m);
            field_grid.field_flag = field_flag;
            CHECK_MAP();
            EXPECT_EQ(NOTES(), std::vector<std::string>{});
        }
    }
}

// The run refuses a kind outside 0..2 and flags other than 0 or 1; the checks say nothing of
// such a map, however broken.
TEST(MapChecks, MapsTheRunRefusesGetNoNotes) {
    map_defects d;
    d.values.push_back({0, 1, 1, 1, nan});
    d.coordinates.push_back({0, 5, nan});
    for (const auto& [kind, yz] : {std::pair{5, 0}, std::pair{0, 2}}) {
        LOAD_ANALYTIC(MAP(0, 0, 0, 0), d);
        field_grid.field_kind = kind;
        field_grid.ksym_yz = yz;
        CHECK_MAP();
        EXPECT_TRUE(MAP_NOTES().empty()) << kind << " " << yz;
    }
}

}  // namespace
}  // namespace orvex
