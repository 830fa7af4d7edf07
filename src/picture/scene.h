// scene.h: a picture as a few drawing items, and the three files it is written as.
//
// WHAT IT IS
//   A scene is a picture of width x height units (pixels for a PNG or an SVG, points for a
//   PDF), (0, 0) its top-left corner, y downward, on a background colour, with its items drawn
//   in order, each over what came before:
//     fill   the rectangle x0..x1, y0..y1 in a colour
//     line   a horizontal or vertical line from (x0, y0) to (x1, y1), width units wide, centred
//            on that segment and ending flat at its ends (a slanted line is not drawn)
//     text   a text whose baseline starts at (x0, y0), size its cell height (text_canvas.h),
//            running across or reading upward
//     image  the scene's one image, its cells stretched over x0..x1, y0..y1, each a sharp
//            rectangle of one colour (never smoothed, never compressed with loss), drawn only
//            inside the image's clip rectangle
//   The raster is the reference (SCENE_PIXELS): pixel (i, j), its centre at (i + 0.5, j + 0.5),
//   takes a fill, a line or an image cell whose rectangle holds its centre (left and top edges
//   in, right and bottom edges out) and text as the page's text is drawn. The files:
//     PNG  the raster, encoded by the surface (png_encode.h), with the text chunks Title,
//          Source and Software
//     SVG  one element an item in the scene's units; the image as one PNG inside it (lossless),
//          drawn with image-rendering pixelated; texts in "Liberation Sans", Arial, Helvetica
//     PDF  one page of width x height points: texts in the base-14 Helvetica (the metrics of
//          Arial and Liberation Sans), the image as an 8-bit RGB image XObject compressed with
//          /FlateDecode (zlib, lossless) and drawn without interpolation; no JPEG anywhere
//   The file's format follows the suffix of its name, in any case: .png, .svg or .pdf.
//
// HOW TO CALL IT
//   scene s;  s.width = 900;  s.height = 560;  s.title = "Ez (V/cm) on the XY plane ...";
//   SCENE_FILL(s, 10, 10, 20, 30, 0x0000FF);  SCENE_TEXT(s, 40, 50, "x (cm)", 14);
//   std::string why;
//   if (!WRITE_SCENE("slice.pdf", s, &why)) report "cannot write slice.pdf: " + why;
//
// ASSUMES AND LIMITS
//   width and height are 1 to 10000 units; the raster rounds them to whole pixels. Texts are
//   UTF-8; the raster and the PDF show the characters up to U+00FF (others as '?'). Text is
//   drawn through the surface's fonts: one thread. The image holds columns x rows colours,
//   its top row first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "surface/surface.h"
#include "surface/text_canvas.h"

namespace orvex {

enum class scene_kind : std::uint8_t { fill, line, text, image };

struct scene_item {
    scene_kind kind = scene_kind::fill;
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    packed_colour colour = 0x000000;
    double width = 1.0;  // a line's width
    double size = 14.0;  // a text's cell height
    text_direction direction = text_direction::across;
    std::string text;
};

struct scene_image {
    int columns = 0, rows = 0;
    std::vector<packed_colour> cells;  // rows x columns, the top row first
    double clip_x0 = 0.0, clip_y0 = 0.0, clip_x1 = 0.0, clip_y1 = 0.0;
};

struct scene {
    double width = 0.0, height = 0.0;
    packed_colour background = 0xFFFFFF;
    std::vector<scene_item> items;
    scene_image image;
    std::string title, source;  // the file's title, and what the picture was made from
};

inline constexpr std::string_view scene_software = "plot_orvex_3dfields";

void SCENE_FILL(scene& s, double x0, double y0, double x1, double y1, packed_colour colour);
void SCENE_LINE(scene& s, double x0, double y0, double x1, double y1, double width, packed_colour colour = 0x000000);
void SCENE_TEXT(scene& s, double x, double baseline, std::string_view text, double size,
                text_direction direction = text_direction::across, packed_colour colour = 0x000000);
// The image goes into the order of items here.
void SCENE_IMAGE(scene& s, double x0, double y0, double x1, double y1);

// The raster: round(width) x round(height) packed colours, row by row from the top left.
std::vector<packed_colour> SCENE_PIXELS(const scene& s, int& width, int& height);

enum class picture_format { png, svg, pdf };
// The format of a file name's suffix; none for any other name.
std::optional<picture_format> PICTURE_FORMAT_OF(std::string_view path);

std::string SCENE_SVG(const scene& s);
// False, with the reason in why, when the image cannot be compressed.
bool SCENE_PDF(const scene& s, std::string& pdf, std::string& why);
bool SCENE_PNG(const scene& s, std::string& png, std::string& why);
bool SCENE_BYTES(const scene& s, picture_format format, std::string& bytes, std::string& why);

// The scene written whole (console/file_output.h) in the format of path's suffix; false, with
// the reason in why when given.
bool WRITE_SCENE(std::string_view path, const scene& s, std::string* why = nullptr);

}  // namespace orvex
