// slice_picture_test.cpp: the slice's picture read back from each of its files against the map:
// every cell the colour of its node (found in the PNG by the frame around the cells, in the SVG's
// embedded PNG, in the PDF's Flate image, and in the PDF and SVG as their readers draw them), the
// axes' ticks over the nodes at their coordinates, the formats by suffix, and nothing lossy.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "field/analytic_grid.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "picture/slice_picture.h"
#include "picture_files.h"
#include "surface/colour_maps.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
using testing::raster;

// Both fields, mirrored in x and z only: x from -2 to 2 cm in 49 nodes, y from -1.5 to 1.5 in
// 25, z from -50 to 50 in 401.
void LOAD_MAP() {
    testing::LOAD_ANALYTIC(testing::MAP(2, 1, 0, 1));
    UNFOLD_GRID();
}

// The colours the cells must have, from the grid's own arrays: column across (x), row up (y),
// the top row first; Ex on the XY plane at z = 0, by the diverging map over -m..m.
std::vector<packed_colour> EXPECTED_EX_CELLS() {
    const full_map& g = field_grid.full;
    double m = 0.0;
    for (int i = 1; i <= 49; ++i)
        for (int j = 1; j <= 25; ++j) m = std::max(m, std::fabs(g.ex_full[FULL_INDEX(i, j, 201)]));
    std::vector<packed_colour> cells;
    for (int j = 25; j >= 1; --j)
        for (int i = 1; i <= 49; ++i) cells.push_back(MAP_COLOUR(diverging_map, (g.ex_full[FULL_INDEX(i, j, 201)] + m) / (2 * m)));
    return cells;
}

constexpr slice_cut ex_cut{slice_plane::xy, 201, slice_quantity::x, 0};

// Each cell's centre in a raster of the picture holds its node's colour, within tolerance per
// channel; the cells lie in the frame found in the raster itself.
void EXPECT_CELLS_IN_RASTER(const raster& r, const std::vector<packed_colour>& cells, int tolerance, const char* what) {
    const testing::cell_box box = testing::CELLS_IN(r, 60);
    ASSERT_GT(box.right - box.left, 49 * 4) << what;
    ASSERT_GT(box.bottom - box.top, 25 * 4) << what;
    int wrong = 0;
    for (int cell = 0; cell < 25 * 49; ++cell) {
        const int x = box.left + static_cast<int>((cell % 49 + 0.5) * (box.right - box.left) / 49.0);
        const int y = box.top + static_cast<int>((cell / 49 + 0.5) * (box.bottom - box.top) / 25.0);
        const packed_colour got = r.AT(x, y), want = cells[static_cast<std::size_t>(cell)];
        for (int shift = 0; shift < 24; shift += 8)
            wrong += std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > tolerance;
    }
    EXPECT_EQ(wrong, 0) << what;
}

std::string SLURP(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SlicePicture, EveryCellIsItsNodesColourInThePngSvgAndPdf) {
    LOAD_MAP();
    const std::vector<packed_colour> cells = EXPECTED_EX_CELLS();
    const shown_slice shown = SHOW_SLICE(field_grid.full, ex_cut, "MW_map.bin");
    EXPECT_EQ(shown.cells, cells);

    std::string png, why;
    ASSERT_TRUE(SCENE_PNG(SLICE_SCENE(shown, screen_look), png, why)) << why;
    raster r;
    ASSERT_TRUE(testing::DECODE_PNG(png, r));
    EXPECT_EQ(r.width, 900);
    EXPECT_EQ(r.height, 560);
    EXPECT_CELLS_IN_RASTER(r, cells, 0, "png");

    // The SVG holds the cells as one PNG, pixel for pixel, drawn without smoothing.
    const std::string svg = SCENE_SVG(SLICE_SCENE(shown, screen_look));
    const std::size_t data = svg.find("data:image/png;base64,");
    ASSERT_NE(data, std::string::npos);
    raster embedded;
    ASSERT_TRUE(testing::DECODE_PNG(testing::BASE64_DECODED(std::string_view(svg).substr(data + 22)), embedded));
    EXPECT_EQ(embedded.width, 49);
    EXPECT_EQ(embedded.height, 25);
    EXPECT_EQ(embedded.pixels, cells);
    EXPECT_NE(svg.find("image-rendering:pixelated"), std::string::npos);
    EXPECT_NE(svg.find("<title>Ex (V/cm) on the XY plane at z = 0 cm (node 201 of 401)</title>"), std::string::npos);

    // The PDF's image: 8-bit RGB through /FlateDecode, inflated by zlib to exactly the cells.
    std::string pdf;
    ASSERT_TRUE(SCENE_PDF(SLICE_SCENE(shown, print_look), pdf, why)) << why;
    std::string dictionary;
    const std::string deflated = testing::PDF_STREAM(pdf, "/Subtype /Image", dictionary);
    for (const char* key : {"/Width 49", "/Height 25", "/ColorSpace /DeviceRGB", "/BitsPerComponent 8", "/Filter /FlateDecode",
                            "/Interpolate false"})
        EXPECT_NE(dictionary.find(key), std::string::npos) << key << " in " << dictionary;
    std::string rgb;
    for (const packed_colour c : cells) rgb += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c >> 16)};
    EXPECT_TRUE(testing::INFLATED(deflated, cells.size() * 3) == rgb);
    EXPECT_EQ(pdf.find("DCTDecode"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Helvetica"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.28 419.53]"), std::string::npos);
    // Every object the cross-reference table names begins at its offset.
    const std::size_t xref = pdf.find("\nxref\n0 8\n");
    ASSERT_NE(xref, std::string::npos);
    for (int object = 1; object <= 7; ++object) {
        const std::size_t offset = std::stoul(pdf.substr(xref + 10 + 20 * static_cast<std::size_t>(object), 10));
        const std::string tag = std::to_string(object) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, tag.size(), tag), 0) << object;
    }
}

// The files as their readers draw them: poppler draws the PDF at twice its points, librsvg the
// SVG at its size; every cell's centre holds its node's colour.
TEST(SlicePicture, PdfAndSvgReadersDrawTheCellsInTheirColours) {
    LOAD_MAP();
    const shown_slice shown = SHOW_SLICE(field_grid.full, ex_cut, "MW_map.bin");
    const fs::path dir = fs::temp_directory_path() / ("orvex_picture_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string why;
    ASSERT_TRUE(WRITE_SCENE((dir / "slice.pdf").string(), SLICE_SCENE(shown, print_look), &why)) << why;
    ASSERT_TRUE(WRITE_SCENE((dir / "slice.SVG").string(), SLICE_SCENE(shown, screen_look), &why)) << why;
    const std::string d = dir.string();
    bool drawn = false;
    if (std::system(("pdftoppm -r 144 -png -singlefile '" + d + "/slice.pdf' '" + d + "/pdf' 2> /dev/null").c_str()) == 0) {
        raster r;
        ASSERT_TRUE(testing::DECODE_PNG(SLURP(dir / "pdf.png"), r));
        EXPECT_EQ(r.width, 1191);  // 595.28 points at 144 dots an inch
        EXPECT_CELLS_IN_RASTER(r, EXPECTED_EX_CELLS(), 0, "pdftoppm");
        drawn = true;
    }
    if (std::system(("rsvg-convert -o '" + d + "/svg.png' '" + d + "/slice.SVG' 2> /dev/null").c_str()) == 0) {
        raster r;
        ASSERT_TRUE(testing::DECODE_PNG(SLURP(dir / "svg.png"), r));
        EXPECT_EQ(r.width, 900);
        EXPECT_CELLS_IN_RASTER(r, EXPECTED_EX_CELLS(), 1, "rsvg-convert");
        drawn = true;
    }
    fs::remove_all(dir);
    if (!drawn) GTEST_SKIP() << "neither pdftoppm nor rsvg-convert is installed (scripts/install-deps.sh installs them)";
}

// A tick of the across axis at x lies over the cell of the node at x, one of the up axis at y
// over the node at y: the axes are placed from the coordinates, the cells from the nodes.
TEST(SlicePicture, TicksLieOverTheNodesAtTheirCoordinates) {
    LOAD_MAP();
    const shown_slice shown = SHOW_SLICE(field_grid.full, ex_cut, "MW_map.bin");
    std::string png, why;
    ASSERT_TRUE(SCENE_PNG(SLICE_SCENE(shown, screen_look), png, why)) << why;
    raster r;
    ASSERT_TRUE(testing::DECODE_PNG(png, r));
    const testing::cell_box box = testing::CELLS_IN(r, 60);
    const double cell_w = (box.right - box.left) / 49.0, cell_h = (box.bottom - box.top) / 25.0;
    std::vector<double> across, up;  // where the tick marks are, in nodes (1 = the first cell's centre)
    for (int x = box.left - 1; x <= box.right; ++x)
        if (testing::DARK(r.AT(x, box.bottom + 3))) across.push_back((x + 0.5 - box.left) / cell_w + 0.5);
    for (int y = box.bottom; y >= box.top - 1; --y)
        if (testing::DARK(r.AT(box.left - 4, y))) up.push_back((box.bottom - (y + 0.5)) / cell_h + 0.5);
    // x = -2, -1, ... 2 cm at nodes 1, 13, 25, 37, 49 (steps of 1/12 cm); y = -1.5, -1, ... 1.5
    // at nodes 1, 5, ... 25 (steps of 1/8 cm). Each mark within half a pixel of its node.
    const std::vector<double> x_nodes{1, 13, 25, 37, 49}, y_nodes{1, 5, 9, 13, 17, 21, 25};
    ASSERT_EQ(across.size(), x_nodes.size());
    ASSERT_EQ(up.size(), y_nodes.size());
    for (std::size_t n = 0; n < across.size(); ++n) EXPECT_NEAR(across[n], x_nodes[n], 0.5 / cell_w + 1e-9) << n;
    for (std::size_t n = 0; n < up.size(); ++n) EXPECT_NEAR(up[n], y_nodes[n], 0.5 / cell_h + 1e-9) << n;
}

TEST(SlicePicture, FormatFollowsTheSuffixInAnyCase) {
    const struct { const char* name; std::optional<picture_format> format; } rows[] = {
        {"a.png", picture_format::png}, {"d.d/B.PNG", picture_format::png}, {"c.Svg", picture_format::svg},
        {"d.pdf", picture_format::pdf}, {"e.jpg", {}}, {"png", {}}, {"f.png/g", {}}, {"h.pdf.", {}}};
    for (const auto& row : rows) EXPECT_EQ(PICTURE_FORMAT_OF(row.name), row.format) << row.name;
    std::string why;
    scene empty;
    empty.width = empty.height = 10;
    EXPECT_FALSE(WRITE_SCENE("/nonexistent-dir/x.png", empty, &why));
    EXPECT_NE(why.find("No such file"), std::string::npos) << why;
}

}  // namespace
}  // namespace orvex
