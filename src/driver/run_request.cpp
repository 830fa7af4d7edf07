// run_request.cpp: the command line's one parser: the table of options, the usage, and the one
// line that refuses what the table does not allow.
#include "driver/run_request.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "beam/particle.h"
#include "beam/phase_scan.h"
#include "console/console.h"
#include "driver/slice_run.h"
#include "console/number_text.h"
#include "field/figures.h"
#include "fieldio/map_export.h"
#include "picture/scene.h"

namespace orvex {

namespace {

constexpr std::string_view usage_text =
    "Usage: plot_orvex_3dfields [DIRECTORY]\n"
    "       plot_orvex_3dfields --export FILE.h5|FILE.vti|FILE.csv [--frequency MHZ] [DIRECTORY]\n"
    "       plot_orvex_3dfields --figures [--frequency MHZ] [--beta B] [--radius CM] [DIRECTORY]\n"
    "       plot_orvex_3dfields --multipoles [--radius CM] [DIRECTORY]\n"
    "       plot_orvex_3dfields --compare OTHER_DIRECTORY [DIRECTORY]\n"
    "       plot_orvex_3dfields --slice PLANE:NODE:QUANTITY --image FILE.png|FILE.svg|FILE.pdf\n"
    "                           [--size WxH] [--compare OTHER_DIRECTORY] [DIRECTORY]\n"
    "       plot_orvex_3dfields --probe POINTS [--interpolation linear|cubic] [DIRECTORY]\n"
    "       plot_orvex_3dfields --track --energy MEV [--particle P] [--frequency MHZ]\n"
    "                           [--phase DEG | --scan N] [--start X,Y] [--slope XP,YP] [--matrix]\n"
    "                           [DIRECTORY]\n"
    "       plot_orvex_3dfields [OPTIONS] -- DIRECTORY   (a DIRECTORY that begins with '-')\n"
    "       plot_orvex_3dfields --help | --version\n"
    "\n"
    "Shows how the field of a 3-D ORVEX field map varies along ten lines through it: one page\n"
    "of thirty plots. The run reads plot_orvex_3dfields.dat in the working directory (or in\n"
    "DIRECTORY), then the field map it names, and lists the map on standard output. With a\n"
    "display the page opens in a window; without one it is written to plot_orvex_3dfields.png\n"
    "in that directory.\n"
    "\n"
    "--export FILE writes the whole unfolded map to FILE instead of a page: an openPMD field\n"
    "mesh (.h5; --frequency gives an RF field's frequency), VTK image data (.vti) or CSV (.csv).\n"
    "--figures writes the map's figures (line integrals and extremes, axis figures, gradient,\n"
    "divergence, multipoles) as one JSON document on standard output instead; --frequency adds\n"
    "the gain and transit-time factor of the electric field on the axis, at --beta B and at the\n"
    "best beta.\n"
    "--multipoles writes the harmonics of the field on every z plane as CSV instead (z, n, Re C_n,\n"
    "Im C_n, b_n, a_n), fitted over the nodes inside a reference radius: --radius CM, else 2/3 of\n"
    "the map's smaller transverse half-width; --figures gives their integrated figures.\n"
    "--compare OTHER_DIRECTORY compares the map with the map of OTHER_DIRECTORY (read through its\n"
    "own plot_orvex_3dfields.dat): the largest and RMS difference of every component, the other\n"
    "read at this map's nodes, and every figure of both maps, as one JSON document.\n"
    "--slice writes the picture of one node plane, as the slice window shows it, to FILE\n"
    "instead: PLANE xy, xz or yz; NODE its index along the plane's normal (k, j or i, from 1);\n"
    "QUANTITY x, y, z or magnitude of line 5's field, or with --compare OTHER_DIRECTORY\n"
    "diff-x, diff-y, diff-z or diff-magnitude (this map minus the other); --size in pixels\n"
    "(points for a PDF), 900x560 unless given (a PDF: an A5 landscape page).\n"
    "--probe POINTS writes the field at points between the nodes as CSV on standard output\n"
    "instead (point,x,y,z, then Ex,Ey,Ez and/or Bx,By,Bz; nan outside the map), by\n"
    "--interpolation cubic (Catmull-Rom, the default) or linear (trilinear). POINTS is\n"
    "line:X0,Y0,Z0:X1,Y1,Z1:N (N >= 2 points, ends included), circle:R,Z:N (N >= 1 points\n"
    "about the z axis from +x) or a CSV file whose header row names x, y and z (cm; its other\n"
    "columns are carried through, # lines skipped).\n"
    "--track follows a particle of kinetic energy MEV (--particle proton, electron, deuteron,\n"
    "alpha or MASS_MEV,CHARGE) from the map's first z plane at X,Y (cm) with slopes XP,YP (mrad)\n"
    "to its last, through both fields, and writes its gain, exit and time of flight as JSON;\n"
    "with --frequency the fields are E cos(wt + phi), B sin(wt + phi), t = 0 at z = 0, at\n"
    "--phase DEG (default 0) or at the N phases of --scan N with the crest; --matrix adds the\n"
    "4 x 4 transfer matrix and focal lengths.\n"
    "--strict, with any of these: exit status 3 when the run raises a note on the map.\n"
    "\n"
    "plot_orvex_3dfields.dat, five lines:\n"
    "  1, 2  free text\n"
    "  3     the field map's file name; it holds MW (both fields), EM, PMQ or RFQ\n"
    "  4     the map's layout: 0 binary array, 1 text array, 2 node list\n"
    "  5     the field to plot: 0 electric (Ex, Ey, Ez in V/cm), 1 magnetic (Bx, By, Bz in Gs);\n"
    "        a map that carries one field needs the field it holds\n"
    "\n"
    "Exit status: 0 a complete run (the window closed or the PNG written); 1 the run stopped\n"
    "(one line on standard output or standard error says why); 2 a bad argument (also a --slice\n"
    "NODE beyond the map's plane, found once the map is read); 3 with --strict, a complete run\n"
    "that raised a note.\n"
    "See plot_orvex_3dfields(1).\n";

constexpr std::string_view see_help = "; see plot_orvex_3dfields --help";

// The modes as bits, for the modes an option belongs to.
constexpr unsigned MODE_BIT(run_mode m) { return 1u << static_cast<unsigned>(m); }
constexpr unsigned any_mode = ~0u;

// One option of the command line: its name, what its value is ("" for none), the mode it
// chooses (if any), the modes it goes with, and how its value is taken (false: refused, why set).
struct option_rule {
    std::string_view name;
    std::string_view value;
    std::optional<run_mode> chooses;
    unsigned modes;
    std::string_view goes_with;  // said when it is given in another mode
    bool (*take)(run_request& r, std::string_view value, std::string& why);
};

// A whole argument as a finite double, or false.
bool READ_NUMBER(std::string_view text, double& v) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc{} && r.ptr == text.data() + text.size() && std::isfinite(v);
}

bool TAKE_NOTHING(run_request&, std::string_view, std::string&) { return true; }

bool TAKE_EXPORT(run_request& r, std::string_view value, std::string& why) {
    if (!EXPORT_FORMAT_OF(value)) {
        why = "cannot export to " + VISIBLE_TEXT(value) + ": the file name must end in .h5, .vti or .csv";
        return false;
    }
    r.export_file = std::string(value);
    return true;
}

bool TAKE_FREQUENCY(run_request& r, std::string_view value, std::string& why) {
    double v = 0.0;
    const bool number = READ_NUMBER(value, v);
    if (!number || !FREQUENCY_USABLE(v)) {
        why = "--frequency " + std::string(frequency_rule) + ", not " + VISIBLE_TEXT(value);
        if (number && v > 0.0) why += " (too large: its value in Hz is beyond the range of a double)";
        return false;
    }
    r.frequency_mhz = v;
    return true;
}

bool TAKE_BETA(run_request& r, std::string_view value, std::string& why) {
    double v = 0.0;
    if (!READ_NUMBER(value, v) || !BETA_USABLE(v)) {
        why = "--beta " + std::string(beta_rule) + ", not " + VISIBLE_TEXT(value);
        return false;
    }
    r.beta = v;
    return true;
}

bool TAKE_RADIUS(run_request& r, std::string_view value, std::string& why) {
    double v = 0.0;
    if (!READ_NUMBER(value, v) || !RADIUS_USABLE(v)) {
        why = "--radius " + std::string(radius_rule) + ", not " + VISIBLE_TEXT(value);
        return false;
    }
    r.radius_cm = v;
    return true;
}

bool TAKE_COMPARE(run_request& r, std::string_view value, std::string& why) {
    if (value.empty()) {
        why = "--compare needs the directory of the other map, not an empty argument";
        return false;
    }
    r.compare_directory = std::string(value);
    return true;
}

bool TAKE_PROBE(run_request& r, std::string_view value, std::string& why) {
    if (value.empty()) {
        why = "--probe needs POINTS: line:X0,Y0,Z0:X1,Y1,Z1:N, circle:R,Z:N or a file";
        return false;
    }
    r.probe_argument = std::string(value);
    return true;
}

bool TAKE_INTERPOLATION(run_request& r, std::string_view value, std::string& why) {
    const std::optional<interpolation> rule = INTERPOLATION_NAMED(value);
    if (!rule) {
        why = "--interpolation takes linear or cubic, not " + VISIBLE_TEXT(value);
        return false;
    }
    r.probe_rule = *rule;
    return true;
}

bool TAKE_STRICT(run_request& r, std::string_view, std::string&) {
    r.strict = true;
    return true;
}

bool TAKE_SLICE(run_request& r, std::string_view value, std::string& why) {
    r.slice_text = std::string(value);
    return READ_SLICE_ARGUMENT(value, r.slice, why);
}

bool TAKE_IMAGE(run_request& r, std::string_view value, std::string& why) {
    if (!PICTURE_FORMAT_OF(value)) {
        why = "cannot write the picture to " + VISIBLE_TEXT(value) + ": the file name must end in .png, .svg or .pdf";
        return false;
    }
    r.image_file = std::string(value);
    return true;
}

bool TAKE_SIZE(run_request& r, std::string_view value, std::string& why) {
    std::pair<int, int> size;
    if (!READ_PICTURE_SIZE(value, size, why)) return false;
    r.image_size = size;
    return true;
}


bool TAKE_ENERGY(run_request& r, std::string_view value, std::string& why) {
    double v = 0.0;
    if (!READ_NUMBER(value, v) || !(v > 0.0)) {
        why = "--energy takes a kinetic energy above 0 in MeV, not " + VISIBLE_TEXT(value);
        return false;
    }
    r.energy_mev = v;
    return true;
}

bool TAKE_PARTICLE(run_request& r, std::string_view value, std::string& why) {
    if (!PARTICLE_NAMED(value)) {
        why = "--particle " + std::string(particle_rule) + ", not " + VISIBLE_TEXT(value);
        return false;
    }
    r.particle = std::string(value);
    return true;
}

bool TAKE_PHASE(run_request& r, std::string_view value, std::string& why) {
    double v = 0.0;
    if (!READ_NUMBER(value, v)) {
        why = "--phase takes a number of degrees, not " + VISIBLE_TEXT(value);
        return false;
    }
    r.phase_deg = v;
    return true;
}

bool TAKE_SCAN(run_request& r, std::string_view value, std::string& why) {
    int n = 0;
    const auto got = std::from_chars(value.data(), value.data() + value.size(), n);
    if (got.ec != std::errc{} || got.ptr != value.data() + value.size() || n < 1 || n > scan_most) {
        why = "--scan takes a number of phases from 1 to " + NUMBER_I(scan_most) + ", not " + VISIBLE_TEXT(value);
        return false;
    }
    r.scan = n;
    return true;
}

// "A,B": two finite numbers.
bool READ_PAIR(std::string_view text, double& a, double& b) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && READ_NUMBER(text.substr(0, comma), a) && READ_NUMBER(text.substr(comma + 1), b);
}

bool TAKE_START(run_request& r, std::string_view value, std::string& why) {
    if (READ_PAIR(value, r.start_x, r.start_y)) return true;
    why = "--start takes X,Y in cm, not " + VISIBLE_TEXT(value);
    return false;
}

bool TAKE_SLOPE(run_request& r, std::string_view value, std::string& why) {
    if (READ_PAIR(value, r.slope_x, r.slope_y)) return true;
    why = "--slope takes XP,YP in mrad, not " + VISIBLE_TEXT(value);
    return false;
}

bool TAKE_MATRIX(run_request& r, std::string_view, std::string&) {
    r.matrix = true;
    return true;
}

const std::array<option_rule, 21> option_table{{
    {"--export", "a file name", run_mode::export_map, MODE_BIT(run_mode::export_map), {}, TAKE_EXPORT},
    {"--figures", {}, run_mode::figures, MODE_BIT(run_mode::figures), {}, TAKE_NOTHING},
    {"--frequency", "a value", std::nullopt,
     MODE_BIT(run_mode::export_map) | MODE_BIT(run_mode::figures) | MODE_BIT(run_mode::track),
     "--export FILE.h5, --figures or --track", TAKE_FREQUENCY},
    {"--beta", "a value", std::nullopt, MODE_BIT(run_mode::figures), "--figures", TAKE_BETA},
    {"--strict", {}, std::nullopt, any_mode, {}, TAKE_STRICT},
    {"--multipoles", {}, run_mode::multipoles, MODE_BIT(run_mode::multipoles), {}, TAKE_NOTHING},
    {"--radius", "a value", std::nullopt, MODE_BIT(run_mode::figures) | MODE_BIT(run_mode::multipoles),
     "--figures or --multipoles", TAKE_RADIUS},
    {"--compare", "the other map's directory", run_mode::compare, MODE_BIT(run_mode::compare) | MODE_BIT(run_mode::slice), {},
     TAKE_COMPARE},
    {"--slice", "PLANE:NODE:QUANTITY", run_mode::slice, MODE_BIT(run_mode::slice), {}, TAKE_SLICE},
    {"--image", "a file name", std::nullopt, MODE_BIT(run_mode::slice), "--slice", TAKE_IMAGE},
    {"--size", "WIDTHxHEIGHT", std::nullopt, MODE_BIT(run_mode::slice), "--slice", TAKE_SIZE},
    {"--probe", "POINTS", run_mode::probe, MODE_BIT(run_mode::probe), {}, TAKE_PROBE},
    {"--interpolation", "linear or cubic", std::nullopt, MODE_BIT(run_mode::probe), "--probe", TAKE_INTERPOLATION},
    {"--track", {}, run_mode::track, MODE_BIT(run_mode::track), {}, TAKE_NOTHING},
    {"--energy", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_ENERGY},
    {"--particle", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_PARTICLE},
    {"--phase", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_PHASE},
    {"--scan", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_SCAN},
    {"--start", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_START},
    {"--slope", "a value", std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_SLOPE},
    {"--matrix", {}, std::nullopt, MODE_BIT(run_mode::track), "--track", TAKE_MATRIX},
}};

const option_rule* FIND_OPTION(std::string_view name) {
    for (const option_rule& o : option_table)
        if (o.name == name) return &o;
    return nullptr;
}

// Writes text to standard output; status 0, or 1 with one line on standard error when it
// cannot be written (a closed pipe, a full disk).
int ANSWER_ON_STDOUT(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (written && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "plot_orvex_3dfields: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
}

command_line_answer REFUSE(const std::string& why) {
    std::fprintf(stderr, "plot_orvex_3dfields: %s%.*s\n", why.c_str(), static_cast<int>(see_help.size()), see_help.data());
    return {false, 2, {}};
}

// The mode's own option, as the messages name the mode.
std::string_view MODE_OPTION(run_mode m) {
    for (const option_rule& o : option_table)
        if (o.chooses == m) return o.name;
    return {};
}

// What the whole set of options allows together, once each is taken; "" when it holds.
std::string CHECK_TOGETHER(const run_request& r, const std::vector<const option_rule*>& given) {
    for (const option_rule* o : given)
        if ((o->modes & MODE_BIT(r.mode)) == 0)
            return std::string(o->name) + " goes with " + std::string(o->goes_with);
    if (r.frequency_mhz && r.mode == run_mode::export_map && EXPORT_FORMAT_OF(r.export_file) != export_format::h5)
        return "--frequency goes with --export FILE.h5";
    if (r.beta && !r.frequency_mhz) return "--beta needs --frequency";
    if (r.mode == run_mode::slice && r.image_file.empty()) return "--slice needs --image FILE";
    if (r.mode == run_mode::slice && IS_DIFFERENCE(r.slice.quantity) && r.compare_directory.empty())
        return "--slice " + VISIBLE_TEXT(r.slice_text) + " shows the difference of two maps: it needs --compare OTHER_DIRECTORY";
    if (r.mode == run_mode::track) {
        if (!r.energy_mev) return "--track needs --energy";
        if (r.phase_deg && r.scan) return "--phase and --scan are separate runs";
        if (r.phase_deg && !r.frequency_mhz) return "--phase needs --frequency";
        if (r.scan && !r.frequency_mhz) return "--scan needs --frequency";
    }
    return {};
}

// Makes directory the working directory of the run.
command_line_answer ENTER(std::string_view directory, command_line_answer answer) {
    if (directory.empty()) return REFUSE("an empty argument names no directory");
    if (::chdir(std::string(directory).c_str()) != 0)
        return REFUSE("cannot enter directory " + VISIBLE_TEXT(directory) + ": " + std::strerror(errno));
    return answer;
}

}  // namespace

std::string_view PROGRAM_VERSION() { return ORVEX_VERSION; }

std::string PROGRAM_AND_VERSION() { return "plot_orvex_3dfields " + std::string(PROGRAM_VERSION()); }

command_line_answer PARSE_COMMAND_LINE(int argc, const char* const* argv) {
    // Help and version stand alone.
    if (argc >= 2) {
        const std::string_view first = argv[1];
        const bool help = first == "--help" || first == "-h", version = first == "--version" || first == "-V";
        if ((help || version) && argc > 2) return REFUSE("takes one argument at most, the directory to run in");
        if (help) return {false, ANSWER_ON_STDOUT(usage_text), {}};
        if (version) return {false, ANSWER_ON_STDOUT(PROGRAM_AND_VERSION() + "\n"), {}};
    }
    command_line_answer answer{true, 0, {}};
    run_request& r = answer.request;
    std::vector<const option_rule*> given;
    std::vector<std::string_view> directories;
    std::optional<run_mode> chosen;
    bool options_ended = false;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (!options_ended && arg == "--") {
            options_ended = true;
            continue;
        }
        if (options_ended || !arg.starts_with('-') || arg == "-") {
            directories.push_back(arg);
            continue;
        }
        const option_rule* o = FIND_OPTION(arg);
        if (o == nullptr) return REFUSE("unknown option " + VISIBLE_TEXT(arg));
        for (const option_rule* before : given)
            if (before == o) return REFUSE(std::string(arg) + " is given twice");
        if (o->chooses) {
            // --slice with --compare is the slice of the difference of two maps: a slice run.
            const bool slice_of_difference = chosen && ((*chosen == run_mode::slice && *o->chooses == run_mode::compare) ||
                                                        (*chosen == run_mode::compare && *o->chooses == run_mode::slice));
            if (chosen && !slice_of_difference)
                return REFUSE(std::string(MODE_OPTION(*chosen)) + " and " + std::string(arg) + " are separate runs");
            chosen = slice_of_difference ? run_mode::slice : *o->chooses;
        }
        std::string_view value;
        if (!o->value.empty()) {
            if (a + 1 >= argc) return REFUSE(std::string(arg) + " needs " + std::string(o->value));
            value = argv[++a];
        }
        std::string why;
        if (!o->take(r, value, why)) return REFUSE(why);
        given.push_back(o);
    }
    r.mode = chosen.value_or(run_mode::page);
    if (const std::string why = CHECK_TOGETHER(r, given); !why.empty()) return REFUSE(why);
    if (directories.size() > 1)
        return REFUSE(r.mode == run_mode::page ? "takes one argument at most, the directory to run in"
                                               : "takes one directory at most");
    if (!r.export_file.empty()) {
        // A relative FILE is taken from where the program was started, also with a DIRECTORY:
        // that directory is held open, whatever the length of its absolute name.
        r.export_shown = r.export_file;
        if (!r.export_file.starts_with('/')) {
            r.export_directory = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (r.export_directory < 0)
                return REFUSE("cannot export to " + VISIBLE_TEXT(r.export_file) + ": the working directory cannot be opened: " +
                              std::strerror(errno));
            // An absolute name longer than PATH_MAX names nothing a program can open: the name
            // as given then.
            std::error_code no_name;
            const std::filesystem::path file = std::filesystem::absolute(std::filesystem::path(r.export_file), no_name);
            if (!no_name && file.native().size() < PATH_MAX) r.export_shown = file.string();
        }
    }
    if (!r.compare_directory.empty()) {
        // Like FILE: a relative OTHER_DIRECTORY is taken from where the program was started.
        std::error_code error;
        const std::filesystem::path other = std::filesystem::absolute(std::filesystem::path(r.compare_directory), error);
        if (error) return REFUSE("cannot compare with " + VISIBLE_TEXT(r.compare_directory) + ": " + error.message());
        r.compare_directory = other.lexically_normal().string();
    }
    if (!r.image_file.empty()) {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::absolute(std::filesystem::path(r.image_file), error);
        if (error) return REFUSE("cannot write the picture to " + VISIBLE_TEXT(r.image_file) + ": " + error.message());
        r.image_file = file.string();
    }
    if (r.mode == run_mode::probe) {
        auto points = std::make_shared<probe_points>();
        std::string why;
        const int status = MAKE_PROBE_POINTS(r.probe_argument, *points, why);
        if (status == 2) return REFUSE(why);
        if (status != 0) {
            std::fprintf(stderr, "plot_orvex_3dfields: %s\n", why.c_str());
            return {false, status, {}};
        }
        r.points = std::move(points);
    }
    if (directories.empty()) return answer;
    r.directory = std::string(directories.front());
    return ENTER(directories.front(), answer);
}

}  // namespace orvex
