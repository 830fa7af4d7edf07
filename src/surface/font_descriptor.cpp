// font_descriptor.cpp: font descriptors ("t'Arial'h12w4i") read into font requests.
#include <cstring>

#include "surface/text_fonts.h"

namespace orvex::text_detail {

namespace {

char LOWER(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Reads a run of decimal digits at s[i]; false when there is none or the value is out of
// 1..size_limit.
bool READ_SIZE(std::string_view s, std::size_t& i, int& value) {
    const std::size_t start = i;
    long v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + (s[i] - '0');
        if (v > size_limit) return false;
        ++i;
    }
    if (i == start || v < 1) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

bool PARSE_FONT_DESCRIPTOR(std::string_view descriptor, font_request& out) {
    while (!descriptor.empty() && (descriptor.back() == ' ' || descriptor.back() == '\0')) {
        descriptor.remove_suffix(1);
    }
    if (descriptor.empty()) return false;
    font_request r;
    bool named = false;
    std::size_t i = 0;
    while (i < descriptor.size()) {
        const char code = LOWER(descriptor[i++]);
        if (code == 't') {
            if (i >= descriptor.size() || descriptor[i] != '\'') return false;
            const std::size_t close = descriptor.find('\'', i + 1);
            if (close == std::string_view::npos) return false;
            const std::size_t n = close - i - 1;
            if (n < 1 || n > name_capacity) return false;
            r.name.fill('\0');
            for (std::size_t k = 0; k < n; ++k) r.name[k] = LOWER(descriptor[i + 1 + k]);
            named = true;
            i = close + 1;
        } else if (code == 'h') {
            if (!READ_SIZE(descriptor, i, r.height)) return false;
        } else if (code == 'w') {
            if (!READ_SIZE(descriptor, i, r.width)) return false;
        } else if (code == 'i') {
            r.italic = true;
        } else {
            return false;
        }
    }
    if (!named) std::memcpy(r.name.data(), "arial", 6);
    out = r;
    return true;
}

bool SAME_REQUEST(const font_request& a, const font_request& b) {
    return a.name == b.name && a.height == b.height && a.width == b.width && a.italic == b.italic;
}

}  // namespace orvex::text_detail
