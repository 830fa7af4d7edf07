// command_line_test.cpp: what the program does with its arguments, run as built without a
// display: --help and --version answer and touch no file, a DIRECTORY runs there as if started
// there, anything else is refused with one line and status 2; and the page's PNG names the
// program, the map and the field in its text chunks.
#include <gtest/gtest.h>

#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "map_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace orvex::mapgen;

std::string SLURP(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string map_name = "EM map \u00b5.txt";

// Three directories in a fresh temporary one: start (the working directory of the run), maps
// (a complete case: control file and map) and capture (the run's standard output and error).
struct case_dirs {
    fs::path top, start, maps, capture;
    explicit case_dirs(int field_flag = 1) {
        std::string pattern = (fs::temp_directory_path() / "orvex_args_XXXXXX").string();
        top = fs::canonical(::mkdtemp(pattern.data()));
        start = top / "start", maps = top / "maps", capture = top / "capture";
        for (const fs::path& d : {start, maps, capture}) fs::create_directory(d);
        // A map of the field plotted, its name in UTF-8 with a blank.
        map_spec s;
        s.kind = field_flag;
        s.ksym_yz = s.ksym_xz = 1;
        EXPECT_TRUE(WRITE_FIELD_MAP(s, layout::text, (maps / map_name).string(), {}));
        std::ofstream(maps / "plot_orvex_3dfields.dat") << "command line\ntest\n" << map_name << "\n1\n" << field_flag << "\n";
    }
    ~case_dirs() { fs::remove_all(top); }
    std::set<std::string> FILES() const {
        std::set<std::string> names;
        for (const fs::path& d : {start, maps})
            for (const auto& e : fs::recursive_directory_iterator(d)) names.insert(e.path().string());
        return names;
    }
};

struct run_result {
    int status;
    std::string out, err;
};

// Runs the program in dirs.start with the arguments (each quoted for the shell as it stands).
run_result RUN(const case_dirs& dirs, const std::vector<std::string>& args) {
    std::string command = "cd '" + dirs.start.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" ORVEX_PROGRAM "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " > '" + (dirs.capture / "out").string() + "' 2> '" + (dirs.capture / "err").string() + "' < /dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, SLURP(dirs.capture / "out"), SLURP(dirs.capture / "err")};
}

struct answer_case {
    const char* name;
    std::vector<std::string> args;  // "{maps}" stands for the maps directory
    int status;
    std::string out_begins;  // standard output begins with this ("" : it is empty)
    std::string err_holds;   // the one line on standard error holds this ("" : it is empty)
};

void PrintTo(const answer_case& c, std::ostream* os) { *os << c.name; }

class Answers : public ::testing::TestWithParam<answer_case> {};

TEST_P(Answers, OneAnswerNoFileTouched) {
    const answer_case& c = GetParam();
    case_dirs dirs;
    const auto before = dirs.FILES();
    std::vector<std::string> args;
    for (const std::string& a : c.args) args.push_back(a == "{maps}" ? dirs.maps.string() : a);
    const run_result r = RUN(dirs, args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.substr(0, c.out_begins.size()), c.out_begins);
    EXPECT_EQ(r.out.empty(), c.out_begins.empty()) << r.out;
    if (c.err_holds.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.err_holds), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << "a control character reached the terminal";
    }
    EXPECT_EQ(dirs.FILES(), before);
}

const std::string version_line = std::string("plot_orvex_3dfields ") + ORVEX_VERSION + "\n";
const std::string usage = "Usage: plot_orvex_3dfields [DIRECTORY]\n";
const std::string unknown = "plot_orvex_3dfields: unknown option ";

INSTANTIATE_TEST_SUITE_P(
    EveryArgument, Answers,
    ::testing::Values(
        answer_case{"Help", {"--help"}, 0, usage, ""}, answer_case{"ShortHelp", {"-h"}, 0, usage, ""},
        answer_case{"Version", {"--version"}, 0, version_line, ""},
        answer_case{"ShortVersion", {"-V"}, 0, version_line, ""},
        answer_case{"UnknownOption", {"--verbose"}, 2, "", unknown + "--verbose; see plot_orvex_3dfields --help"},
        answer_case{"HelpMisspelt", {"--helpme"}, 2, "", unknown + "--helpme"},
        answer_case{"Dash", {"-"}, 2, "", unknown + "-;"},
        answer_case{"EscapeInOption", {"-\x1b[2J"}, 2, "", unknown + "-\\x1B[2J"},
        answer_case{"HelpAndMore", {"--help", "{maps}"}, 2, "", "one argument at most"},
        answer_case{"TwoDirectories", {"{maps}", "{maps}"}, 2, "", "one argument at most"},
        answer_case{"MissingDirectory", {"no such dir"}, 2, "", "cannot enter directory no such dir: No such file"},
        answer_case{"FileForDirectory", {"../maps/plot_orvex_3dfields.dat"}, 2, "", "Not a directory"},
        answer_case{"EmptyArgument", {""}, 2, "", "empty argument"}),
    [](const auto& info) { return std::string(info.param.name); });

// The text chunks of a PNG file (tEXt and iTXt without compression), keyword to text.
std::map<std::string, std::string> PNG_TEXTS(const fs::path& png) {
    const std::string bytes = SLURP(png);
    std::map<std::string, std::string> texts;
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        std::uint32_t length = 0;
        for (int k = 0; k < 4; ++k) length = length << 8 | static_cast<unsigned char>(bytes[at + k]);
        const std::string type = bytes.substr(at + 4, 4), data = bytes.substr(at + 8, length);
        const std::size_t nul = data.find('\0');
        if (type == "tEXt") texts[data.substr(0, nul)] = data.substr(nul + 1);
        if (type == "iTXt") texts[data.substr(0, nul)] = data.substr(data.find('\0', data.find('\0', nul + 3) + 1) + 1);
        at += 12 + length;
    }
    return texts;
}

TEST(DirectoryArgument, RunsThereAsIfStartedThereAndThePageNamesItsSource) {
    for (const int field_flag : {1, 0}) {
        case_dirs dirs(field_flag);
        for (const std::string& given : {dirs.maps.string(), std::string("../maps")}) {
            const run_result r = RUN(dirs, {given});
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), " Input field file name = " + map_name + "\n");
            EXPECT_EQ(r.err, "plot_orvex_3dfields: no display; the page is written to " +
                                 (dirs.maps / "plot_orvex_3dfields.png").string() + "\n");
            EXPECT_TRUE(fs::is_empty(dirs.start));
            const auto texts = PNG_TEXTS(dirs.maps / "plot_orvex_3dfields.png");
            EXPECT_EQ(texts.at("Software"), version_line.substr(0, version_line.size() - 1));
            EXPECT_EQ(texts.at("Source"), map_name);
            EXPECT_EQ(texts.at("Title"), field_flag == 1 ? "magnetic field Bx, By, Bz (Gs)"
                                                         : "electric field Ex, Ey, Ez (V/cm)");
            fs::remove(dirs.maps / "plot_orvex_3dfields.png");
        }
    }
}

}  // namespace
