// logged_texts.h: every DRAW_TEXT call of the page so far, as plain values tests compare.
#pragma once

#include <string>
#include <vector>

#include "surface/surface.h"

namespace orvex::testing_support {

struct logged_text {
    std::string text;
    int x, y;
    packed_colour colour;
    int font;
};

inline std::vector<logged_text> TEXTS() {
    std::vector<logged_text> out;
    for (int i = 0; i < static_cast<int>(TEXT_LOG().size()); ++i) {
        const text_call& t = TEXT_LOG()[static_cast<std::size_t>(i)];
        out.push_back({std::string(t.text.data(), static_cast<std::size_t>(t.length)), t.x, t.y, t.colour, t.font});
    }
    return out;
}

}  // namespace orvex::testing_support
