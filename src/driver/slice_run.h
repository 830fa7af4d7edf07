// slice_run.h: plot_orvex_3dfields --slice PLANE:NODE:QUANTITY --image FILE [--size WxH]: the
// slice window's picture of one node plane written to FILE, without a display.
//
// WHAT IT IS
//   READ_SLICE_ARGUMENT reads PLANE:NODE:QUANTITY: PLANE xy, xz or yz; NODE the plane's index
//   along its normal, 1-based as the slice window numbers it (k on XY, j on XZ, i on YZ);
//   QUANTITY x, y, z or magnitude, of the field line 5 chooses; words in any case.
//   READ_PICTURE_SIZE reads WxH ("1200x800"): whole numbers of pixels (points for a PDF), each
//   150 to 8000. SLICE_STAGES checks the divergence of the field shown (a note, as the page's
//   run raises it), draws the picture (picture/slice_picture.h) and writes it whole in the format of FILE's suffix (.png, .svg or .pdf, any case), at the
//   slice window's default size, 900 x 560 pixels, or for a PDF on an A5 landscape page
//   (595.28 x 419.53 points) with its text sized for print; --size gives another. The one line
//   on standard error then names the file. A NODE beyond the plane's count is refused once the
//   map is read, with one line and status 2 (run_modes.h), and nothing is written.
//
// HOW TO CALL IT
//   slice_cut cut;  std::string why;
//   if (!READ_SLICE_ARGUMENT("xz:25:magnitude", cut, why)) refuse(why);
//   RUN_REQUEST runs SLICE_STAGES (run_modes.h).
//
// ASSUMES AND LIMITS
//   A refusal's why names the value as given (control characters shown as \xNN).
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "field/slices.h"

namespace orvex {

bool READ_SLICE_ARGUMENT(std::string_view text, slice_cut& cut, std::string& why);
bool READ_PICTURE_SIZE(std::string_view text, std::pair<int, int>& size, std::string& why);

}  // namespace orvex
