// figures_run.cpp: plot_orvex_3dfields --figures; see figures_run.h.
#include "driver/figures_run.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "driver/command_line.h"
#include "driver/control_file.h"
#include "driver/plot_orvex_3dfields.h"
#include "field/field_grid.h"
#include "field/figures_json.h"
#include "field/figures_of_run.h"
#include "field/map_checks.h"

namespace orvex {

namespace {

figure_request asked;  // what the command line asked for

// A whole argument as a finite double, or false.
bool READ_NUMBER(std::string_view text, double& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size() && std::isfinite(v);
}

}  // namespace

bool IS_FIGURES_COMMAND_LINE(int argc, const char* const* argv) {
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg == "--figures" || arg == "--beta") return true;
    }
    return false;
}

std::string TAKE_FIGURES_OPTIONS(int argc, const char* const* argv, const char*& directory) {
    bool figures = false, options_ended = false;
    directory = nullptr;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (!options_ended && arg == "--") {
            options_ended = true;
        } else if (options_ended || !arg.starts_with('-')) {
            if (directory != nullptr) return "takes one directory at most";
            directory = argv[a];
        } else if (arg == "--figures") {
            if (figures) return "--figures is given twice";
            figures = true;
        } else if (arg == "--frequency" || arg == "--beta") {
            const bool frequency = arg == "--frequency";
            if ((frequency ? asked.frequency_mhz : asked.beta).has_value()) return std::string(arg) + " is given twice";
            if (a + 1 >= argc) return std::string(arg) + " needs a value";
            const std::string_view text = argv[++a];
            double v = 0.0;
            if (frequency && !(READ_NUMBER(text, v) && v > 0.0))
                return "--frequency takes a frequency in MHz above 0, not " + VISIBLE_TEXT(text);
            if (!frequency && !(READ_NUMBER(text, v) && v > 0.0 && v <= 1.0))
                return "--beta takes a velocity over c above 0 and at most 1, not " + VISIBLE_TEXT(text);
            (frequency ? asked.frequency_mhz : asked.beta) = v;
        } else if (arg == "--export") {
            return "--figures and --export are separate runs";
        } else {
            return "unknown option " + VISIBLE_TEXT(arg);
        }
    }
    if (!figures) return "--beta goes with --figures";
    if (asked.beta && !asked.frequency_mhz) return "--beta needs --frequency";
    return {};
}

namespace {

// What the stages leave for the end of the run.
std::string document;

void FIGURES_STAGES() {
    READ_AND_UNFOLD_MAP(unfold_scope::both_triples_when_carried);
    const field_grid_record& g = field_grid;
    const std::size_t noted = MAP_NOTES().size();
    const figure_lines lines = FIGURE_LINES_OF_RUN();
    std::vector<field_figures> fields;
    for (int field = 0; field <= 1; ++field)
        if (g.field_kind == 2 ? true : field == g.field_flag) fields.push_back(COMPUTE_FIGURES(g, lines, field, asked));
    for (const field_figures& f : fields) NOTE_DIVERGENCE(f.field, f.divergence);
    REPORT_MAP_NOTES(noted);
    const std::string program = "plot_orvex_3dfields " + std::string(PROGRAM_VERSION());
    document = FIGURES_JSON({program, FIELD_FILE_NAME(), &g, &lines, asked, fields, MAP_NOTES()});
}

}  // namespace

page_figures PAGE_FIGURES() {
    static figure_lines lines;
    static std::string program;
    lines = FIGURE_LINES_OF_RUN();
    program = "plot_orvex_3dfields " + std::string(PROGRAM_VERSION());
    return {&lines, program, FIELD_FILE_NAME()};
}

int FIGURES_RUN() {
    HOLD_STANDARD_STREAMS();
    ADVISE_FIELD_GRID();
    SET_CONSOLE_QUIET(true);  // standard output holds the document alone
    if (!RUN_STAGES(FIGURES_STAGES)) return 1;
    errno = 0;
    if (std::fwrite(document.data(), 1, document.size(), stdout) == document.size() && std::fflush(stdout) == 0)
        return 0;
    std::fprintf(stderr, "plot_orvex_3dfields: cannot write the figures to standard output: %s\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return 1;
}

}  // namespace orvex
