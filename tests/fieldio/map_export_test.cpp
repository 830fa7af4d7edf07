// map_export_test.cpp: every export read back with a reader of its own (the .h5 through the
// HDF5 library, the .vti by a small parser of its XML head and raw block, the CSV as text)
// equals the unfolded grid, for maps of each kind and mirror pattern; refusals write nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <hdf5.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../field/analytic_grid.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "fieldio/map_export.h"
#include "scratch_dir.h"

namespace orvex {
namespace {

using testing_support::scratch_dir;

std::string SLURP(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The maps checked: both fields in an octant, E in a half (x mirrored), B in a half (z mirrored).
struct export_case {
    int kind, yz, xz, xy;
};
constexpr std::array<export_case, 3> cases{{{2, 1, 1, 1}, {0, 1, 0, 0}, {1, 0, 0, 1}}};

// Loads the case and unfolds both triples into the full arrays: the oracle.
void LOAD_CASE(const export_case& c) {
    testing::LOAD_ANALYTIC(testing::MAP(c.kind, c.yz, c.xz, c.xy));
    UNFOLD_GRID();
}

const full_array& FULL(int c) { return COMPONENT_ARRAY(field_grid.full, c); }

// The numbers of a "# stored x: a b c" line after its name.
std::vector<double> STORED_LINE(const std::string& comments, const std::string& name) {
    const std::size_t at = comments.find("# " + name + ":");
    std::vector<double> v;
    if (at == std::string::npos) return v;
    std::istringstream in(comments.substr(at + name.size() + 3, comments.find('\n', at) - at - name.size() - 3));
    std::string word;
    while (in >> word) v.push_back(std::strtod(word.c_str(), nullptr));
    return v;
}

std::vector<int> CARRIED(int kind) {
    if (kind == 0) return {0, 1, 2};
    if (kind == 1) return {3, 4, 5};
    return {0, 1, 2, 3, 4, 5};
}

// The rows give the full map's coordinates (as the slice CSV does), the # lines the map's own
// stored coordinates and header values, so that an import can make the same file again.
TEST(MapExport, CsvHoldsEveryNodeXFastestWithTheMapsCoordinatesAndReadsBackExactly) {
    const scratch_dir dir;
    for (const export_case& c : cases) {
        LOAD_CASE(c);
        const full_map& g = field_grid.full;
        ASSERT_TRUE(EXPORT_MAP(g, "map.csv", {"MW map.txt", 0.0}));
        std::istringstream in(SLURP("map.csv"));
        std::string line;
        std::getline(in, line);
        const char* names[] = {"x,y,z,Ex,Ey,Ez", "x,y,z,Bx,By,Bz", "x,y,z,Ex,Ey,Ez,Bx,By,Bz"};
        EXPECT_EQ(line, names[c.kind]);
        std::string comments;
        while (in.peek() == '#' && std::getline(in, line)) comments += line + "\n";
        EXPECT_NE(comments.find("# map file: MW map.txt\n"), std::string::npos) << comments;
        EXPECT_NE(comments.find(c.kind == 2 ? "# units: cm,V/cm,Gs\n" : c.kind == 0 ? "# units: cm,V/cm\n" : "# units: cm,Gs\n"),
                  std::string::npos);
        EXPECT_NE(comments.find("# map header: d_elm 100 aper 2 n_cell 0\n"), std::string::npos) << comments;
        EXPECT_EQ(STORED_LINE(comments, "stored x"), std::vector<double>(field_grid.xmws.begin(), field_grid.xmws.end()));
        EXPECT_EQ(STORED_LINE(comments, "stored y"), std::vector<double>(field_grid.ymws.begin(), field_grid.ymws.end()));
        EXPECT_EQ(STORED_LINE(comments, "stored z"), std::vector<double>(field_grid.zmws.begin(), field_grid.zmws.end()));
        const std::vector<int> carried = CARRIED(c.kind);
        long rows = 0, misses = 0;
        for (int k = 1; k <= g.nz; ++k)
            for (int j = 1; j <= g.ny; ++j)
                for (int i = 1; i <= g.nx; ++i, ++rows) {
                    if (!std::getline(in, line)) FAIL() << "the file ends at row " << rows;
                    const char* p = line.c_str();
                    char* end = nullptr;
                    std::vector<double> v;
                    while (*p != '\0') {
                        v.push_back(std::strtod(p, &end));
                        p = *end == ',' ? end + 1 : end;
                    }
                    ASSERT_EQ(v.size(), 3 + carried.size()) << line;
                    misses += v[0] != g.x[static_cast<std::size_t>(i - 1)];
                    misses += v[1] != g.y[static_cast<std::size_t>(j - 1)];
                    misses += v[2] != g.z[static_cast<std::size_t>(k - 1)];
                    for (std::size_t n = 0; n < carried.size(); ++n) misses += v[3 + n] != FULL(carried[n])[FULL_INDEX(i, j, k)];
                }
        EXPECT_EQ(misses, 0);
        EXPECT_FALSE(std::getline(in, line));
    }
}

// The value of a attribute="..." in an XML head.
std::string XML_VALUE(const std::string& head, const std::string& attribute, std::size_t from = 0) {
    const std::size_t at = head.find(attribute + "=\"", from);
    if (at == std::string::npos) return {};
    const std::size_t start = at + attribute.size() + 2;
    return head.substr(start, head.find('"', start) - start);
}

TEST(MapExport, VtiImageDataHoldsTheArraysXFastestAfterTheirByteCounts) {
    const scratch_dir dir;
    for (const export_case& c : cases) {
        LOAD_CASE(c);
        const full_map& g = field_grid.full;
        ASSERT_TRUE(EXPORT_MAP(g, "map.vti", {"map", 0.0}));
        const std::string file = SLURP("map.vti");
        const std::size_t block = file.find("<AppendedData encoding=\"raw\">");
        ASSERT_NE(block, std::string::npos);
        const std::string head = file.substr(0, block);
        const std::size_t data = file.find('_', block) + 1;
        EXPECT_EQ(XML_VALUE(head, "byte_order"), "LittleEndian");
        EXPECT_EQ(XML_VALUE(head, "header_type"), "UInt64");
        const std::string extent = "0 " + std::to_string(g.nx - 1) + " 0 " + std::to_string(g.ny - 1) + " 0 " +
                                   std::to_string(g.nz - 1);
        EXPECT_EQ(XML_VALUE(head, "WholeExtent"), extent);
        double o[3], s[3];
        std::istringstream(XML_VALUE(head, "Origin")) >> o[0] >> o[1] >> o[2];
        std::istringstream(XML_VALUE(head, "Spacing")) >> s[0] >> s[1] >> s[2];
        EXPECT_EQ(o[0], g.xmin);
        EXPECT_EQ(o[2], g.zmin);
        EXPECT_DOUBLE_EQ(s[0], (g.xmax - g.xmin) / (g.nx - 1));
        EXPECT_DOUBLE_EQ(s[2], (g.zmax - g.zmin) / (g.nz - 1));
        const std::size_t nodes = static_cast<std::size_t>(g.nx) * g.ny * g.nz;
        long misses = 0;
        for (const int triple : {0, 1}) {
            const std::size_t array_at = head.find(std::string("Name=\"") + (triple == 0 ? "E" : "B") + "\"");
            const bool carried = triple == 0 ? c.kind != 1 : c.kind != 0;
            ASSERT_EQ(array_at != std::string::npos, carried);
            if (!carried) continue;
            const std::size_t offset = std::stoull(XML_VALUE(head, "offset", array_at));
            std::uint64_t bytes = 0;
            std::memcpy(&bytes, file.data() + data + offset, 8);
            ASSERT_EQ(bytes, 3 * nodes * 8);
            const char* values = file.data() + data + offset + 8;
            std::size_t n = 0;
            for (int k = 1; k <= g.nz; ++k)
                for (int j = 1; j <= g.ny; ++j)
                    for (int i = 1; i <= g.nx; ++i, ++n)
                        for (int a = 0; a < 3; ++a) {
                            double v = 0.0;
                            std::memcpy(&v, values + (3 * n + static_cast<std::size_t>(a)) * 8, 8);
                            misses += v != FULL(3 * triple + a)[FULL_INDEX(i, j, k)];
                        }
        }
        EXPECT_EQ(misses, 0);
        EXPECT_EQ(file.substr(file.size() - 30), "\n  </AppendedData>\n</VTKFile>\n");
    }
}

std::string STRING_ATTRIBUTE(hid_t where, const char* name) {
    const hid_t a = H5Aopen(where, name, H5P_DEFAULT);
    const hid_t t = H5Aget_type(a);
    std::string text;
    if (H5Tget_class(t) == H5T_STRING && H5Tis_variable_str(t) == 0) {
        text.resize(H5Tget_size(t));
        H5Aread(a, t, text.data());
        text.resize(std::strlen(text.c_str()));
    } else {
        text = "(not a fixed-length string)";
    }
    H5Tclose(t);
    H5Aclose(a);
    return text;
}

template <class T, std::size_t N>
std::array<T, N> NUMBERS(hid_t where, const char* name, hid_t type) {
    std::array<T, N> v{};
    const hid_t a = H5Aopen(where, name, H5P_DEFAULT);
    EXPECT_GE(a, 0) << name;
    EXPECT_GE(H5Aread(a, type, v.data()), 0) << name;
    H5Aclose(a);
    return v;
}

TEST(MapExport, H5MeshReadByTheHdf5LibraryHoldsTheGridInSiUnits) {
    const scratch_dir dir;
    for (const export_case& c : cases) {
        LOAD_CASE(c);
        const full_map& g = field_grid.full;
        const double mhz = c.kind == 2 ? 352.2 : 0.0;
        ASSERT_TRUE(EXPORT_MAP(g, "map.h5", {"map", mhz}));
        const hid_t file = H5Fopen("map.h5", H5F_ACC_RDONLY, H5P_DEFAULT);
        ASSERT_GE(file, 0);
        EXPECT_EQ(STRING_ATTRIBUTE(file, "openPMD"), "2.0.0");
        EXPECT_EQ(STRING_ATTRIBUTE(file, "openPMDextension"), "BeamPhysics");
        EXPECT_EQ(STRING_ATTRIBUTE(file, "externalFieldPath"), "/ExternalFieldPath/%T/");
        const hid_t mesh = H5Gopen2(file, "/ExternalFieldPath/1", H5P_DEFAULT);
        ASSERT_GE(mesh, 0);
        EXPECT_EQ(STRING_ATTRIBUTE(mesh, "gridGeometry"), "rectangular");
        EXPECT_EQ(STRING_ATTRIBUTE(mesh, "eleAnchorPt"), "beginning");
        const hid_t label_attribute = H5Aopen(mesh, "axisLabels", H5P_DEFAULT);
        const hid_t label_type = H5Aget_type(label_attribute);
        EXPECT_EQ(H5Tis_variable_str(label_type), 0);
        EXPECT_EQ(H5Tget_size(label_type), 1u);
        std::array<char, 3> labels{};
        H5Aread(label_attribute, label_type, labels.data());
        H5Tclose(label_type);
        H5Aclose(label_attribute);
        EXPECT_EQ(std::string(labels.data(), 3), "xyz");
        const auto size = NUMBERS<std::int64_t, 3>(mesh, "gridSize", H5T_NATIVE_INT64);
        EXPECT_EQ(size, (std::array<std::int64_t, 3>{g.nx, g.ny, g.nz}));
        const auto origin = NUMBERS<double, 3>(mesh, "gridOriginOffset", H5T_NATIVE_DOUBLE);
        const auto spacing = NUMBERS<double, 3>(mesh, "gridSpacing", H5T_NATIVE_DOUBLE);
        EXPECT_DOUBLE_EQ(origin[0], g.xmin * 0.01);
        EXPECT_DOUBLE_EQ(origin[2], g.zmin * 0.01);
        EXPECT_DOUBLE_EQ(spacing[1], (g.ymax - g.ymin) / (g.ny - 1) * 0.01);
        EXPECT_EQ((NUMBERS<std::int64_t, 1>(mesh, "harmonic", H5T_NATIVE_INT64)[0]), mhz > 0 ? 1 : 0);
        if (mhz > 0) {
            EXPECT_EQ((NUMBERS<double, 1>(mesh, "fundamentalFrequency", H5T_NATIVE_DOUBLE)[0]), 352.2e6);
        }

        const std::size_t nodes = static_cast<std::size_t>(g.nx) * g.ny * g.nz;
        long misses = 0;
        for (int comp = 0; comp < 6; ++comp) {
            const std::string name = std::string(comp < 3 ? "electricField/" : "magneticField/") + "xyz"[comp % 3];
            const bool carried = comp < 3 ? c.kind != 1 : c.kind != 0;
            ASSERT_EQ(H5Lexists(mesh, comp < 3 ? "electricField" : "magneticField", H5P_DEFAULT) > 0, carried);
            if (!carried) continue;
            const hid_t set = H5Dopen2(mesh, name.c_str(), H5P_DEFAULT);
            const double unit_si = NUMBERS<double, 1>(set, "unitSI", H5T_NATIVE_DOUBLE)[0];
            const auto dimension = NUMBERS<double, 7>(set, "unitDimension", H5T_NATIVE_DOUBLE);
            EXPECT_EQ(dimension[2], comp < 3 ? -3.0 : -2.0);
            // Read as doubles, or the complex {r, i} of an RF field: E(x) in r, B as i B(x)
            // (so Re[F e^(-iwt)] is E(x) cos wt and B(x) sin wt), the other part 0.
            const std::size_t parts = mhz > 0 ? 2 : 1;
            std::vector<double> v(nodes * parts);
            hid_t memory = H5T_NATIVE_DOUBLE;
            if (mhz > 0) {
                memory = H5Tcreate(H5T_COMPOUND, 2 * sizeof(double));
                H5Tinsert(memory, "r", 0, H5T_NATIVE_DOUBLE);
                H5Tinsert(memory, "i", sizeof(double), H5T_NATIVE_DOUBLE);
            }
            EXPECT_GE(H5Dread(set, memory, H5S_ALL, H5S_ALL, H5P_DEFAULT, v.data()), 0);
            if (mhz > 0) H5Tclose(memory);
            H5Dclose(set);
            const double si = comp < 3 ? 100.0 : 1e-4;  // V/cm and Gs in V/m and T
            const std::size_t held = comp < 3 || parts == 1 ? 0 : 1, other = 1 - held;
            std::size_t n = 0;  // z fastest
            for (int i = 1; i <= g.nx; ++i)
                for (int j = 1; j <= g.ny; ++j)
                    for (int k = 1; k <= g.nz; ++k, ++n) {
                        misses += v[n * parts + held] * unit_si != FULL(comp)[FULL_INDEX(i, j, k)] * si;
                        if (parts == 2) misses += v[n * parts + other] != 0.0;
                    }
        }
        EXPECT_EQ(misses, 0);
        H5Gclose(mesh);
        H5Fclose(file);
    }
}

TEST(MapExport, RefusalsSayWhyAndWriteNothing) {
    const scratch_dir dir;
    LOAD_CASE(cases[1]);
    std::string why;
    EXPECT_FALSE(EXPORT_MAP(field_grid.full, "map.txt", {"map", 0.0}, &why));
    EXPECT_EQ(why, "the file name must end in .h5, .vti or .csv");
    EXPECT_FALSE(EXPORT_MAP(field_grid.full, "map.csv", {"map", 352.0}, &why));
    EXPECT_EQ(why, "a frequency is written only to .h5 files");
    field_grid.ksym = 5;  // no unfolding case
    UNFOLD_GRID();
    EXPECT_FALSE(EXPORT_MAP(field_grid.full, "map.h5", {"map", 0.0}, &why));
    EXPECT_NE(why.find("no unfolding case"), std::string::npos);
    field_grid.ksym = 1;
    UNFOLD_GRID();
    EXPECT_FALSE(EXPORT_MAP(field_grid.full, "no such dir/map.vti", {"map", 0.0}, &why));
    EXPECT_NE(why.find("No such file or directory"), std::string::npos) << why;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The suffix chooses the format in any case; a frequency without a value in Hz is refused; a
// relative name is taken from the directory the export is handed, not the working one. (The
// refusals that keep the map and the control file run end to end: e2e/bad_input_test.cpp.)
TEST(MapExport, SuffixesInAnyCaseAndNamesFromAnOpenDirectory) {
    EXPECT_EQ(EXPORT_FORMAT_OF("dir.h5/Map.H5"), export_format::h5);
    EXPECT_EQ(EXPORT_FORMAT_OF("map.Vti"), export_format::vti);
    for (const char* none : {".csv", "map.csvx", "map.h5 ", "map.vtk"}) EXPECT_FALSE(EXPORT_FORMAT_OF(none)) << none;
    const scratch_dir dir;
    LOAD_CASE(cases[1]);
    std::string why;
    EXPECT_FALSE(EXPORT_MAP(field_grid.full, "map.h5", {"map", 1e303}, &why));
    EXPECT_EQ(why, "the frequency needs a positive number of MHz whose value in Hz is finite");
    std::filesystem::create_directory("there");
    export_request elsewhere{"map", 0.0};
    elsewhere.directory = ::open("there", O_PATH | O_DIRECTORY | O_CLOEXEC);
    EXPECT_TRUE(EXPORT_MAP(field_grid.full, "MAP.CSV", elsewhere, &why)) << why;
    ::close(elsewhere.directory);
    EXPECT_EQ(SLURP("there/MAP.CSV").substr(0, 15), "x,y,z,Ex,Ey,Ez\n");
    EXPECT_FALSE(std::filesystem::exists("MAP.CSV"));
}

}  // namespace
}  // namespace orvex
