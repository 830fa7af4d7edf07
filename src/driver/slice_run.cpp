// slice_run.cpp: --slice: its argument, the picture's size and the run's stages; see
// slice_run.h.
#include "driver/slice_run.h"

#include <array>
#include <memory>
#include <charconv>
#include <optional>
#include <string>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/other_map.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/figures.h"
#include "field/map_checks.h"
#include "picture/slice_picture.h"

namespace orvex {

namespace {

// The words of the argument; a quantity added to slice_quantity gets its row here.
constexpr std::array<std::pair<std::string_view, slice_plane>, 3> plane_words{
    {{"xy", slice_plane::xy}, {"xz", slice_plane::xz}, {"yz", slice_plane::yz}}};
// The difference quantities (this map minus the other of --compare) as diff-x ... diff-magnitude.
constexpr std::array<std::pair<std::string_view, slice_quantity>, 8> quantity_words{
    {{"x", slice_quantity::x},
     {"y", slice_quantity::y},
     {"z", slice_quantity::z},
     {"magnitude", slice_quantity::magnitude},
     {"diff-x", slice_quantity::difference_x},
     {"diff-y", slice_quantity::difference_y},
     {"diff-z", slice_quantity::difference_z},
     {"diff-magnitude", slice_quantity::difference_magnitude}}};

bool SAME_WORD(std::string_view given, std::string_view word) {
    if (given.size() != word.size()) return false;
    for (std::size_t n = 0; n < word.size(); ++n) {
        const char c = given[n] >= 'A' && given[n] <= 'Z' ? static_cast<char>(given[n] - 'A' + 'a') : given[n];
        if (c != word[n]) return false;
    }
    return true;
}

// A whole decimal number from lo to hi, nothing else.
bool READ_WHOLE(std::string_view text, int lo, int hi, int& v) {
    if (text.empty() || text.front() == '+' || text.front() == '-') return false;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size() && v >= lo && v <= hi;
}

}  // namespace

bool READ_SLICE_ARGUMENT(std::string_view text, slice_cut& cut, std::string& why) {
    // (with --compare QUANTITY may also be diff-x, diff-y, diff-z or diff-magnitude: the usage says so)
    why = "--slice takes PLANE:NODE:QUANTITY (PLANE xy, xz or yz; NODE 1 or more; QUANTITY x, y, z or magnitude), not " +
          VISIBLE_TEXT(text);
    const std::size_t first = text.find(':'), second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) return false;
    const std::string_view plane = text.substr(0, first), node = text.substr(first + 1, second - first - 1),
                           quantity = text.substr(second + 1);
    bool plane_known = false, quantity_known = false;
    for (const auto& [word, p] : plane_words)
        if (SAME_WORD(plane, word)) cut.plane = p, plane_known = true;
    for (const auto& [word, q] : quantity_words)
        if (SAME_WORD(quantity, word)) cut.quantity = q, quantity_known = true;
    if (!plane_known || !quantity_known || !READ_WHOLE(node, 1, 1'000'000'000, cut.node)) return false;
    why.clear();
    return true;
}

bool READ_PICTURE_SIZE(std::string_view text, std::pair<int, int>& size, std::string& why) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos || !READ_WHOLE(text.substr(0, x), 150, 8000, size.first) ||
        !READ_WHOLE(text.substr(x + 1), 150, 8000, size.second)) {
        why = "--size takes WIDTHxHEIGHT, each a whole number from 150 to 8000 (pixels; points for a PDF), not " +
              VISIBLE_TEXT(text);
        return false;
    }
    return true;
}

void SLICE_STAGES(const run_request& request, run_outcome& out) {
    const full_map& m = field_grid.full;
    slice_cut cut = request.slice;
    cut.field = field_grid.field_flag;
    // With --compare: the other map, read into a record of its own and read at this map's nodes.
    std::unique_ptr<other_map> other;
    map_pairing pairing;
    if (!request.compare_directory.empty()) {
        other = READ_OTHER_MAP(request.compare_directory);
        for (const std::string& note : other->notes) ADD_MAP_NOTE(note);
        PAIR_MAPS(m, other->grid->full, pairing);
        pairing.other_file = other->file;
        cut.compared = &pairing;
    }
    const slice_size plane = SLICE_SIZE(m, cut.plane);
    const int count = AXIS_NODES(m, plane.normal);
    if (cut.node > count) {
        const char index = plane.normal == 'x' ? 'i' : plane.normal == 'y' ? 'j' : 'k';
        out.said = "--slice " + VISIBLE_TEXT(request.slice_text) + ": node " + std::to_string(cut.node) + " is beyond the map's " +
                   std::to_string(count) + " " + plane.normal + " nodes (the " + std::string(PLANE_NAME(cut.plane)) +
                   " plane's " + index + " is 1 to " + std::to_string(count) + ")";
        out.status = 2;
        return;
    }
    // The field shown is checked for divergence first, as the page's run checks it.
    if (const std::optional<divergence_figures> d = DIVERGENCE(m, cut.field))
        if (const std::string note = DIVERGENCE_NOTE(cut.field, *d); !note.empty()) ADD_MAP_NOTE(note);
    if (!TEXT_FACE_METRICS().usable)
        RUN_FAILURE("no font can be loaded (fontconfig offers no scalable face); the picture cannot be drawn");
    slice_look look = PICTURE_FORMAT_OF(request.image_file) == picture_format::pdf ? print_look : screen_look;
    if (request.image_size) {
        look.width = request.image_size->first;
        look.height = request.image_size->second;
    }
    const std::string source = other == nullptr ? std::string(FIELD_FILE_NAME())
                                                : std::string(FIELD_FILE_NAME()) + " against " + other->file;
    const shown_slice shown = SHOW_SLICE(m, cut, source);
    look.stretch = SLICE_IS_STRIP(shown);  // as the slice window opens such a plane
    const scene picture = SLICE_SCENE(shown, look);
    std::string why;
    if (!WRITE_SCENE(request.image_file, picture, &why)) RUN_FAILURE("cannot write " + VISIBLE_TEXT(request.image_file) + ": " + why);
    out.said = "the slice picture is written to " + VISIBLE_TEXT(request.image_file);
}

}  // namespace orvex
