// import_provenance.cpp: the '#' lines of a map's CSV export that give back the map it came
// from: its header record, its stored coordinates and its mirror flags.
#include <charconv>
#include <string>

#include "field/field_grid.h"
#include "fieldio/import_header.h"

namespace orvex::mapimport {

namespace {

constexpr std::array<int, 3> stored_counts{stored_nx, stored_ny, stored_nz};

bool STARTS_LOWER(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t n = 0; n < prefix.size(); ++n)
        if ((text[n] >= 'A' && text[n] <= 'Z' ? text[n] - 'A' + 'a' : text[n]) != prefix[n]) return false;
    return true;
}

bool READ_INT32(std::string_view text, std::int32_t& v) {
    const char* first = !text.empty() && text[0] == '+' ? text.data() + 1 : text.data();
    const auto r = std::from_chars(first, text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size();
}

// "d_elm <real> aper <real> n_cell <integer>"
std::string READ_HEADER(const std::vector<std::string_view>& f, map_header& h) {
    if (f.size() != 6 || f[0] != "d_elm" || f[2] != "aper" || f[4] != "n_cell")
        return "it does not read as \"d_elm <real> aper <real> n_cell <integer>\"";
    if (!READ_NUMBER(f[1], h.d_elm)) return "its d_elm \"" + SHOWN_TEXT(f[1]) + "\" is not a number";
    if (!READ_NUMBER(f[3], h.aper)) return "its aper \"" + SHOWN_TEXT(f[3]) + "\" is not a number";
    if (!READ_INT32(f[5], h.n_cell))
        return "its n_cell \"" + SHOWN_TEXT(f[5]) + "\" is not an integer a map's header can hold";
    return {};
}

}  // namespace

bool READ_PROVENANCE_NOTE(std::string_view note, long long line, table_provenance& p) {
    const auto rest = [&](std::size_t prefix) {
        std::vector<std::string_view> fields;
        SPLIT_FIELDS(note.substr(prefix), fields);
        return fields;
    };
    const std::string where = "line " + std::to_string(line) + " (\"# " + SHOWN_TEXT(note, 40) + "\"): ";
    if (STARTS_LOWER(note, "map header:")) {
        map_header h;
        const std::string problem = READ_HEADER(rest(11), h);
        if (problem.empty()) {
            p.header = h;
            p.header_problem.clear();
        } else {
            p.header.reset();
            p.header_problem = where + problem;
        }
        return true;
    }
    if (STARTS_LOWER(note, "mirror flags:")) {
        const std::vector<std::string_view> f = rest(13);
        std::array<int, 3> flags{};
        bool good = f.size() == 3;
        for (std::size_t a = 0; good && a < 3; ++a) good = (f[a] == "0" || f[a] == "1") && ((flags[a] = f[a][0] - '0'), true);
        p.mirror_flags.reset();
        p.flags_problem.clear();
        if (good) p.mirror_flags = flags;
        else p.flags_problem = where + "it does not give three mirror flags, each 0 or 1";
        return true;
    }
    for (std::size_t a = 0; a < 3; ++a) {
        const std::string prefix = std::string("stored ") + "xyz"[a] + ":";
        if (!STARTS_LOWER(note, prefix)) continue;
        const std::vector<std::string_view> f = rest(prefix.size());
        std::vector<double>& out = p.stored[a];
        out.clear();
        if (f.size() != static_cast<std::size_t>(stored_counts[a])) return true;  // not this map's lattice: not used
        out.resize(f.size());
        for (std::size_t n = 0; n < f.size(); ++n)
            if (!READ_NUMBER(f[n], out[n])) {
                out.clear();
                break;
            }
        return true;
    }
    return false;
}

}  // namespace orvex::mapimport
