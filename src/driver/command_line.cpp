// command_line.cpp: the answers to --help and --version, the directory to run in, and the one
// line that refuses anything else.
#include "driver/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/console.h"
#include "driver/figures_run.h"
#include "driver/export_run.h"

namespace orvex {

namespace {

constexpr std::string_view usage_text =
    "Usage: plot_orvex_3dfields [DIRECTORY]\n"
    "       plot_orvex_3dfields --export FILE.h5|FILE.vti|FILE.csv [--frequency MHZ] [DIRECTORY]\n"
    "       plot_orvex_3dfields --figures [--frequency MHZ] [--beta B] [DIRECTORY]\n"
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
    "divergence) as one JSON document on standard output instead; --frequency adds the gain and\n"
    "transit-time factor of the electric field on the axis, at --beta B and at the best beta.\n"
    "\n"
    "plot_orvex_3dfields.dat, five lines:\n"
    "  1, 2  free text\n"
    "  3     the field map's file name; it holds MW (both fields), EM, PMQ or RFQ\n"
    "  4     the map's layout: 0 binary array, 1 text array, 2 node list\n"
    "  5     the field to plot: 0 electric (Ex, Ey, Ez in V/cm), 1 magnetic (Bx, By, Bz in Gs);\n"
    "        a map that carries one field needs the field it holds\n"
    "\n"
    "Exit status: 0 a complete run (the window closed or the PNG written); 1 the run stopped\n"
    "(one line on standard output or standard error says why); 2 a bad argument.\n"
    "See plot_orvex_3dfields(1).\n";

// Writes text to standard output; status 0, or 1 with one line on standard error when it
// cannot be written (a closed pipe, a full disk).
int ANSWER_ON_STDOUT(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (written && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "plot_orvex_3dfields: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
}

command_answer REFUSE(const std::string& why) {
    std::fprintf(stderr, "plot_orvex_3dfields: %s\n", why.c_str());
    return {false, 2};
}

// Makes directory the working directory of the run.
command_answer ENTER(std::string_view directory) {
    if (directory.empty()) return REFUSE("an empty argument names no directory; see plot_orvex_3dfields --help");
    if (::chdir(std::string(directory).c_str()) != 0)
        return REFUSE("cannot enter directory " + VISIBLE_TEXT(directory) + ": " + std::strerror(errno));
    return {true, 0};
}

}  // namespace

std::string_view PROGRAM_VERSION() { return ORVEX_VERSION; }

command_answer ANSWER_COMMAND_LINE(int argc_given, const char* const* argv_given) {
    if (IS_FIGURES_COMMAND_LINE(argc_given, argv_given)) {
        const char* directory = nullptr;
        if (const std::string refusal = TAKE_FIGURES_OPTIONS(argc_given, argv_given, directory); !refusal.empty())
            return REFUSE(refusal + "; see plot_orvex_3dfields --help");
        command_answer answer = directory != nullptr ? ENTER(directory) : command_answer{true, 0};
        answer.figures = answer.run;
        return answer;
    }
    std::vector<const char*> rest;  // the arguments other than the export options
    if (const std::string refusal = TAKE_EXPORT_OPTIONS(argc_given, argv_given, rest); !refusal.empty())
        return REFUSE(refusal);
    // "--" ends the options: what follows is the directory, whatever it begins with.
    const bool options_ended = rest.size() > 1 && std::string_view(rest[1]) == "--";
    if (options_ended) rest.erase(rest.begin() + 1);
    const int argc = static_cast<int>(rest.size());
    const char* const* argv = rest.data();
    if (argc <= 1) return {true, 0};
    if (argc > 2)
        return REFUSE("takes one argument at most, the directory to run in; see plot_orvex_3dfields --help");
    const std::string_view arg = argv[1];
    if (options_ended) return ENTER(arg);
    if (arg == "--help" || arg == "-h") return {false, ANSWER_ON_STDOUT(usage_text)};
    if (arg == "--version" || arg == "-V")
        return {false, ANSWER_ON_STDOUT("plot_orvex_3dfields " + std::string(PROGRAM_VERSION()) + "\n")};
    if (arg.starts_with('-'))
        return REFUSE("unknown option " + VISIBLE_TEXT(arg) + "; see plot_orvex_3dfields --help");
    return ENTER(arg);
}

}  // namespace orvex
