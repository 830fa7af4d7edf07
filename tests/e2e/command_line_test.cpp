// command_line_test.cpp: the program's arguments, run as built without a display: --help and
// --version answer and touch no file, a DIRECTORY runs there as if started there (and the PNG
// names the program, the map and the field), anything else is refused with one line, status 2.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "map_writer.h"

#include "e2e/program_run.h"

namespace {

namespace fs = std::filesystem;

using orvex::e2e::RUN_SHELL;
using orvex::e2e::SLURP;

const std::string map_name = "EM map \u00b5.txt";  // UTF-8, with a blank

// A temporary directory: start/ is the run's working directory, maps/ holds a control file
// for map_name (the map itself only when written), out and err catch the run's output.
struct case_dirs {
    orvex::e2e::work_dir scratch{"args"};
    fs::path top = scratch.path, start = top / "start", maps = top / "maps";
    explicit case_dirs(int field_flag = 1) {
        fs::create_directory(start), fs::create_directory(maps);
        std::ofstream(maps / "plot_orvex_3dfields.dat") << "a\nb\n" << map_name << "\n1\n" << field_flag << "\n";
    }
    struct result { int status; std::string out, err; };
    result RUN(const std::vector<std::string>& args) const {
        std::string command = "cd '" + start.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" ORVEX_PROGRAM "'";
        for (const std::string& a : args) command += " '" + (a == "{maps}" ? maps.string() : a) + "'";
        command += " > ../out 2> ../err < /dev/null";
        const int status = RUN_SHELL(command);
        return {status, SLURP(top / "out"), SLURP(top / "err")};
    }
};

struct answer_case {
    const char* name;
    std::vector<std::string> args;  // "{maps}" stands for the maps directory
    int status;
    std::string out_begins;  // "": standard output stays empty
    std::string err_holds;   // "": standard error stays empty, else its one line holds this
};

// A case is named by its name, not dumped as its bytes.
void PrintTo(const answer_case& c, std::ostream* out) { *out << c.name; }

class Answers : public ::testing::TestWithParam<answer_case> {};

TEST_P(Answers, OneAnswerNoFileTouched) {
    const answer_case& c = GetParam();
    const case_dirs dirs;
    const auto r = dirs.RUN(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.substr(0, c.out_begins.size()), c.out_begins);
    EXPECT_EQ(r.out.empty(), c.out_begins.empty()) << r.out;
    if (!c.err_holds.empty()) {
        EXPECT_NE(r.err.find(c.err_holds), std::string::npos) << r.err;
    }
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.err_holds.empty() ? 0 : 1) << r.err;
    EXPECT_TRUE(fs::is_empty(dirs.start) && !fs::exists(dirs.maps / "plot_orvex_3dfields.png"));
}

const std::string version = std::string("plot_orvex_3dfields ") + ORVEX_VERSION;
const std::string usage = "Usage: plot_orvex_3dfields [DIRECTORY]\n";

INSTANTIATE_TEST_SUITE_P(
    EveryArgument, Answers,
    ::testing::Values(
        answer_case{"Help", {"--help"}, 0, usage, ""}, answer_case{"ShortHelp", {"-h"}, 0, usage, ""},
        answer_case{"Version", {"--version"}, 0, version + "\n", ""},
        answer_case{"ShortVersion", {"-V"}, 0, version + "\n", ""},
        answer_case{"UnknownOption", {"--verbose"}, 2, "", "option --verbose; see plot_orvex_3dfields --help"},
        answer_case{"EscapeInOption", {"-\x1b[2J"}, 2, "", "unknown option -\\x1B[2J"},
        answer_case{"HelpAndMore", {"--help", "{maps}"}, 2, "", "one argument at most"},
        answer_case{"MissingDirectory", {"no such dir"}, 2, "", "cannot enter directory no such dir: No such"},
        answer_case{"FileForDirectory", {"../maps/plot_orvex_3dfields.dat"}, 2, "", "Not a directory"},
        answer_case{"EmptyArgument", {""}, 2, "", "empty argument"},
        answer_case{"ExportToUnknownSuffix", {"--export", "map.vtk", "{maps}"}, 2, "",
                    "cannot export to map.vtk: the file name must end in .h5, .vti or .csv"},
        answer_case{"ExportWithoutFile", {"--export"}, 2, "", "--export needs a file name"},
        answer_case{"ExportAfterOptionsEnd", {"--", "--export", "m.csv"}, 2, "", "one argument at most"},
        answer_case{"FrequencyWithoutExport", {"--frequency", "352"}, 2, "", "--frequency goes with --export FILE.h5"},
        answer_case{"FrequencyForCsv", {"--export", "m.csv", "--frequency", "352"}, 2, "",
                    "--frequency goes with --export FILE.h5"},
        answer_case{"NegativeFrequency", {"--export", "m.h5", "--frequency", "-352"}, 2, "",
                    "--frequency needs a positive number of MHz, not -352"},
        answer_case{"ExportFrequencyInfiniteInHz", {"--export", "m.h5", "--frequency", "1e308"}, 2, "",
                    "--frequency needs a positive number of MHz, not 1e308 (too large: its value in Hz is beyond"},
        answer_case{"FiguresFrequencyInfiniteInHz", {"--figures", "--frequency", "1e303", "{maps}"}, 2, "",
                    "--frequency needs a positive number of MHz, not 1e303 (too large"},
        answer_case{"FiguresFrequencyBeyondTheDoubles", {"--figures", "--frequency", "1e309"}, 2, "",
                    "--frequency needs a positive number of MHz, not 1e309; see"},
        answer_case{"ExportToUpperCaseSuffixNeedsItsMap", {"--export", "MAP.CSV", "{maps}"}, 1, "", "EM map"},
        answer_case{"FiguresZeroFrequency", {"--figures", "--frequency", "0", "{maps}"}, 2, "", "--frequency needs a positive number of MHz, not 0"},
        answer_case{"FiguresFrequencyNotANumber", {"--figures", "--frequency", "nan"}, 2, "", "--frequency needs a positive number of MHz, not nan"},
        answer_case{"FiguresBetaAboveOne", {"--figures", "--frequency", "352", "--beta", "1.5"}, 2, "", "--beta takes"},
        answer_case{"FiguresBetaTrailingText", {"--figures", "--frequency", "352", "--beta", "0.5x"}, 2, "", "--beta takes"},
        answer_case{"FiguresBetaWithoutFrequency", {"--figures", "--beta", "0.5"}, 2, "", "--beta needs --frequency"},
        answer_case{"BetaWithoutFigures", {"--beta", "0.5", "{maps}"}, 2, "", "goes with --figures"},
        answer_case{"FiguresAndExport", {"--figures", "--export", "m.csv"}, 2, "", "separate runs"},
        answer_case{"FiguresTwice", {"--figures", "--figures"}, 2, "", "twice"},
        answer_case{"FiguresValueMissing", {"--figures", "--frequency"}, 2, "", "needs a value"},
        answer_case{"FiguresTwoDirectories", {"--figures", "{maps}", "{maps}"}, 2, "", "one directory at most"},
        answer_case{"FiguresMissingMap", {"--figures", "{maps}"}, 1, "", "EM map"},
        answer_case{"TrackWithoutEnergy", {"--track", "{maps}"}, 2, "", "--track needs --energy"},
        answer_case{"TrackNegativeEnergy", {"--track", "--energy", "-1"}, 2, "", "--energy takes a kinetic energy above 0 in MeV, not -1"},
        answer_case{"TrackUnknownParticle", {"--track", "--energy", "1", "--particle", "muon"}, 2, "",
                    "--particle takes proton, electron, deuteron, alpha or MASS_MEV,CHARGE"},
        answer_case{"TrackNeutralParticle", {"--track", "--energy", "1", "--particle", "939.6,0"}, 2, "", "--particle takes"},
        answer_case{"TrackPhaseWithoutFrequency", {"--track", "--energy", "1", "--phase", "30"}, 2, "", "--phase needs --frequency"},
        answer_case{"TrackScanWithoutFrequency", {"--track", "--energy", "1", "--scan", "36"}, 2, "", "--scan needs --frequency"},
        answer_case{"TrackPhaseAndScan", {"--track", "--energy", "1", "--frequency", "352", "--phase", "0", "--scan", "36"}, 2, "",
                    "--phase and --scan are separate runs"},
        answer_case{"TrackScanOfNone", {"--track", "--energy", "1", "--frequency", "352", "--scan", "0"}, 2, "",
                    "--scan takes a number of phases from 1 to 36000, not 0"},
        answer_case{"TrackStartOfOne", {"--track", "--energy", "1", "--start", "0.5"}, 2, "", "--start takes X,Y in cm, not 0.5"},
        answer_case{"TrackSlopeNotANumber", {"--track", "--energy", "1", "--slope", "1,inf"}, 2, "", "--slope takes XP,YP in mrad"},
        answer_case{"MatrixWithoutTrack", {"--matrix", "{maps}"}, 2, "", "--matrix goes with --track"},
        answer_case{"EnergyForFigures", {"--figures", "--energy", "1"}, 2, "", "--energy goes with --track"},
        answer_case{"TrackAndFigures", {"--track", "--figures"}, 2, "", "separate runs"},
        answer_case{"TrackMissingMap", {"--track", "--energy", "1", "{maps}"}, 1, "", "EM map"},
        answer_case{"RadiusWithoutMode", {"--radius", "1", "{maps}"}, 2, "", "--radius goes with --figures or --multipoles"},
        answer_case{"MultipolesNegativeRadius", {"--multipoles", "--radius", "-1"}, 2, "", "--radius needs a positive number of cm, not -1"},
        answer_case{"FiguresInfiniteRadius", {"--figures", "--radius", "inf"}, 2, "", "--radius needs a positive number of cm, not inf"},
        answer_case{"MultipolesAndFigures", {"--multipoles", "--figures"}, 2, "", "--multipoles and --figures are separate runs"},
        answer_case{"MultipolesWithFrequency", {"--multipoles", "--frequency", "352"}, 2, "", "--frequency goes with"},
        answer_case{"MultipolesMissingMap", {"--multipoles", "{maps}"}, 1, "", "EM map"},
        answer_case{"CompareWithoutDirectory", {"--compare"}, 2, "", "--compare needs the other map's directory"},
        answer_case{"CompareEmptyDirectory", {"--compare", ""}, 2, "", "--compare needs the directory of the other map"},
        answer_case{"CompareAndFigures", {"--compare", "{maps}", "--figures"}, 2, "", "separate runs"},
        answer_case{"CompareWithFrequency", {"--compare", "{maps}", "--frequency", "352"}, 2, "", "--frequency goes with"},
        answer_case{"CompareTwoDirectories", {"--compare", "{maps}", "{maps}", "{maps}"}, 2, "", "one directory at most"},
        // --slice: every refusal comes before the map is read (there is none: it would be status 1).
        answer_case{"SliceWithoutImage", {"--slice", "xy:1:z", "{maps}"}, 2, "", "--slice needs --image FILE"},
        answer_case{"SliceWithoutValue", {"--slice"}, 2, "", "--slice needs PLANE:NODE:QUANTITY"},
        answer_case{"SliceUnknownPlane", {"--slice", "xw:1:z", "--image", "p.png"}, 2, "",
                    "--slice takes PLANE:NODE:QUANTITY (PLANE xy, xz or yz; NODE 1 or more; QUANTITY x, y, z or magnitude), not xw:1:z"},
        answer_case{"SliceNodeZero", {"--slice", "xy:0:z", "--image", "p.png"}, 2, "", "not xy:0:z"},
        answer_case{"SliceNodeNotWhole", {"--slice", "yz:1.5:x", "--image", "p.png"}, 2, "", "not yz:1.5:x"},
        answer_case{"SliceUnknownQuantity", {"--slice", "xz:3:w", "--image", "p.png"}, 2, "", "not xz:3:w"},
        answer_case{"SliceMissingQuantity", {"--slice", "xy:3", "--image", "p.png"}, 2, "", "not xy:3"},
        answer_case{"SliceExtraPart", {"--slice", "xy:3:z:1", "--image", "p.png"}, 2, "", "not xy:3:z:1"},
        answer_case{"ImageUnknownSuffix", {"--slice", "xy:1:z", "--image", "p.jpg"}, 2, "",
                    "cannot write the picture to p.jpg: the file name must end in .png, .svg or .pdf"},
        answer_case{"ImageWithoutSlice", {"--image", "p.png", "{maps}"}, 2, "", "--image goes with --slice"},
        answer_case{"SizeTooSmall", {"--slice", "xy:1:z", "--image", "p.png", "--size", "100x560"}, 2, "",
                    "--size takes WIDTHxHEIGHT, each a whole number from 150 to 8000 (pixels; points for a PDF), not 100x560"},
        answer_case{"SizeTooLarge", {"--slice", "xy:1:z", "--image", "p.png", "--size", "900x9000"}, 2, "", "not 900x9000"},
        answer_case{"SizeWithoutSlice", {"--size", "900x560"}, 2, "", "--size goes with --slice"},
        answer_case{"SliceAndFigures", {"--slice", "xy:1:z", "--figures"}, 2, "", "separate runs"},
        answer_case{"SliceMissingMap", {"--slice", "xy:1:z", "--image", "p.png", "{maps}"}, 1, "", "EM map"},
        // A bad POINTS is refused before the map (missing here) is read.
        answer_case{"ProbeWithoutPoints", {"--probe"}, 2, "", "--probe needs POINTS"},
        answer_case{"ProbeEmptyPoints", {"--probe", "", "{maps}"}, 2, "", "--probe needs POINTS"},
        answer_case{"ProbeLineNotANumber", {"--probe", "line:0,0,0:1,x,1:5", "{maps}"}, 2, "", "Y1 is not a finite number: \"x\""},
        answer_case{"ProbeLineOnePoint", {"--probe", "line:0,0,0:1,1,1:1", "{maps}"}, 2, "", "N must be from 2 to 10000000, not 1"},
        answer_case{"ProbeLineMissingPart", {"--probe", "line:0,0,0:5", "{maps}"}, 2, "", "(the form is line:X0,Y0,Z0:X1,Y1,Z1:N)"},
        answer_case{"ProbeLineTwoCoordinates", {"--probe", "line:0,0:1,1,1:5"}, 2, "", "3 numbers X0,Y0,Z0 are wanted, not \"0,0\""},
        answer_case{"ProbeCircleNoPoints", {"--probe", "circle:1,0:0", "{maps}"}, 2, "", "N must be from 1 to"},
        answer_case{"ProbeCircleEscapes", {"--probe", "circle:1,\x1b[2J:4", "{maps}"}, 2, "", "Z is not a finite number: \"\\x1B[2J\""},
        answer_case{"ProbeMissingFile", {"--probe", "none.csv", "{maps}"}, 1, "", "none.csv: cannot open"},
        answer_case{"ProbeFileIsADirectory", {"--probe", "{maps}", "{maps}"}, 1, "", "is a directory, not a file"},
        answer_case{"InterpolationUnknown", {"--probe", "circle:1,0:4", "--interpolation", "spline"}, 2, "",
                    "--interpolation takes linear or cubic, not spline"},
        answer_case{"InterpolationWithoutProbe", {"--interpolation", "linear", "{maps}"}, 2, "", "--interpolation goes with --probe"},
        answer_case{"ProbeAndFigures", {"--probe", "circle:1,0:4", "--figures"}, 2, "", "separate runs"},
        answer_case{"ProbeMissingMap", {"--probe", "circle:1,0:4", "{maps}"}, 1, "", "EM map"}),
    [](const auto& info) { return std::string(info.param.name); });

// The map writer answers --version as the viewer does: its name and the version on standard
// output, status 0; status 1 when standard output cannot take it.
TEST(WriterVersion, AnsweredAsTheViewerAnswersIt) {
    const case_dirs dirs;
    for (const std::string& program : {std::string(ORVEX_PROGRAM), std::string(ORVEX_MAP_WRITER)}) {
        const std::string name = fs::path(program).filename().string();
        for (const char* flag : {"--version", "-V"}) {
            const std::string run = "'" + program + "' " + flag;
            EXPECT_EQ(std::system((run + " > '" + (dirs.top / "out").string() + "'").c_str()), 0) << run;
            EXPECT_EQ(SLURP(dirs.top / "out"), name + " " + ORVEX_VERSION + "\n");
            const int full = std::system((run + " > /dev/full 2> /dev/null").c_str());
            EXPECT_EQ(WIFEXITED(full) ? WEXITSTATUS(full) : -1, 1) << run;
        }
    }
}

// A PNG's text chunk as written: its type, then keyword and text (an iTXt chunk with no
// compression, language or translated keyword between them).
std::string TEXT_CHUNK(const std::string& type, const std::string& keyword, const std::string& text) {
    return type + keyword + std::string(type == "iTXt" ? 5 : 1, '\0') + text;
}

TEST(DirectoryArgument, RunsThereAsIfStartedThereAndThePageNamesItsSource) {
    for (const int field_flag : {1, 0}) {
        const case_dirs dirs(field_flag);
        orvex::mapgen::map_recipe s;
        s.kind = field_flag, s.ksym_yz = s.ksym_xz = 1;
        s.model = orvex::mapgen::field_model::harmonic;  // free of divergence: no note on standard error
        ASSERT_TRUE(WRITE_FIELD_MAP(s, orvex::mapgen::layout::text, (dirs.maps / map_name).string(), {}));
        for (const std::string& given : {std::string("{maps}"), std::string("../maps")}) {
            const auto r = dirs.RUN({given});
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), " Input field file name = " + map_name + "\n");
            const fs::path png = dirs.maps / "plot_orvex_3dfields.png";
            EXPECT_EQ(r.err, "plot_orvex_3dfields: no display; the page is written to " + png.string() + "\n");
            EXPECT_TRUE(fs::is_empty(dirs.start));
            const std::string page = SLURP(png);
            EXPECT_NE(page.find(TEXT_CHUNK("tEXt", "Software", version)), std::string::npos);
            EXPECT_NE(page.find(TEXT_CHUNK("iTXt", "Source", map_name)), std::string::npos);
            const char* title = field_flag ? "magnetic field Bx, By, Bz (Gs)" : "electric field Ex, Ey, Ez (V/cm)";
            EXPECT_NE(page.find(TEXT_CHUNK("tEXt", "Title", title)), std::string::npos);
            fs::remove(png);
        }
    }
}

TEST(ExportArgument, WritesTheUnfoldedMapBesideTheCallerAndNoPageNorListing) {
    const case_dirs dirs(1);
    orvex::mapgen::map_recipe s;
    s.kind = 1, s.ksym_xy = 1;
    const auto absent = dirs.RUN({"--export", "map.csv", "{maps}"});  // the map is not there yet
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(std::count(absent.err.begin(), absent.err.end(), '\n'), 1) << absent.err;
    EXPECT_TRUE(absent.out.empty() && fs::is_empty(dirs.start));
    ASSERT_TRUE(WRITE_FIELD_MAP(s, orvex::mapgen::layout::text, (dirs.maps / map_name).string(), {}));
    const auto r = dirs.RUN({"{maps}", "--export", "map.csv"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "plot_orvex_3dfields: the unfolded map is written to " + (dirs.start / "map.csv").string() + "\n");
    EXPECT_FALSE(fs::exists(dirs.maps / "plot_orvex_3dfields.png"));
    const std::string csv = SLURP(dirs.start / "map.csv");
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "x,y,z,Bx,By,Bz");
    // The header row, ten # lines (the map, its fields, units, flags, counts, header and stored
    // coordinates), one row a node.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 10 + 25 * 25 * 401);
}

}  // namespace
