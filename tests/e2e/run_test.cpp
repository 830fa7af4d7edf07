// run_test.cpp: the program run end to end without a display, in a temporary directory, on maps
// written by the map writer in each layout: the whole console listing, the exit status and the
// page written as a PNG, read back and checked at a few pixels.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_run.h"

namespace {

namespace fs = std::filesystem;

using orvex::e2e::RUN_SHELL;
using orvex::e2e::work_dir;
inline std::string READ_FILE(const fs::path& path) { return orvex::e2e::SLURP(path); }

void WRITE_MAP(const fs::path& dir, const std::string& args, const std::string& name) {
    ASSERT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' " + args + " '" + name + "'"), 0);
}

void WRITE_CONTROL(const fs::path& dir, const std::string& name, int format_flag, int field_flag) {
    std::ofstream out(dir / "plot_orvex_3dfields.dat");
    out << "ORVEX field map viewer\nend-to-end run\n" << name << "\n" << format_flag << "\n" << field_flag << "\n";
}

using orvex::e2e::run_result;

// Runs the program in dir with no display to reach; environment holds extra NAME=value words.
run_result RUN_PROGRAM(const fs::path& dir, const std::string& environment = "") {
    const std::string d = dir.string();
    const int status = RUN_SHELL("cd '" + d + "' && env -u DISPLAY -u WAYLAND_DISPLAY " + environment + " '" ORVEX_PROGRAM
                                 "' > stdout.txt 2> stderr.txt");
    run_result r;
    r.status = status;
    r.out = READ_FILE(dir / "stdout.txt");
    r.err = READ_FILE(dir / "stderr.txt");
    fs::remove(dir / "stdout.txt");
    fs::remove(dir / "stderr.txt");
    return r;
}

// The PNG read back through libpng's simplified reader as 8-bit RGB. The library is opened at
// run time, so this test needs nothing linked beyond its own stage.
struct page_image {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // Packed colour (red low byte) of page pixel (x, y), 1-based.
    unsigned AT(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y - 1) * width + static_cast<std::size_t>(x - 1)) * 3;
        return rgb[at] | (rgb[at + 1] << 8) | (static_cast<unsigned>(rgb[at + 2]) << 16);
    }
};

bool READ_PNG(const fs::path& path, page_image& image) {
    void* lib = dlopen("libpng16.so.16", RTLD_NOW);
    if (lib == nullptr) return false;
    using begin_fn = int (*)(png_imagep, const char*);
    using finish_fn = int (*)(png_imagep, png_const_colorp, void*, png_int_32, void*);
    using free_fn = void (*)(png_imagep);
    auto begin = reinterpret_cast<begin_fn>(dlsym(lib, "png_image_begin_read_from_file"));
    auto finish = reinterpret_cast<finish_fn>(dlsym(lib, "png_image_finish_read"));
    auto release = reinterpret_cast<free_fn>(dlsym(lib, "png_image_free"));
    bool ok = false;
    if (begin != nullptr && finish != nullptr && release != nullptr) {
        png_image img{};
        img.version = PNG_IMAGE_VERSION;
        if (begin(&img, path.c_str()) != 0) {
            img.format = PNG_FORMAT_RGB;
            image.width = img.width;
            image.height = img.height;
            image.rgb.assign(PNG_IMAGE_SIZE(img), 0);
            ok = finish(&img, nullptr, image.rgb.data(), 0, nullptr) != 0;
            release(&img);
        }
    }
    dlclose(lib);
    return ok;
}

// The listing of the all-mirrored kind-2 map (x and y up to 2 cm, z up to 50 cm). The header
// listing carries n_cell as the layout has it: 3 in the array layouts, 0 from a node list.
std::string ALL_MIRRORS_LISTING(const std::string& name, int n_cell) {
    return " Input field file name = " + name + "\n" +
           "d_elm, aper, n_cell (k_s_EH)=         100.000000000000        2.00000000000000           " +
           std::to_string(n_cell) + "\n" +
           "ksym_yz, ksym_xz, ksym_xy=            1           1           1\n"
           "xmws limits=         0.00000000000000        2.00000000000000\n"
           "ymws limits=         0.00000000000000        2.00000000000000\n"
           "zmws limits=         0.00000000000000        50.0000000000000\n"
           " ksym =            3\n"
           " Grid limits in X, Y and Z =        -2.00000000000000        2.00000000000000"
           "       -2.00000000000000        2.00000000000000       -50.0000000000000        50.0000000000000\n"
           " Mesh sizes  in X, Y and Z =    8.33333333333333E-002   8.33333333333333E-002       0.250000000000000\n"
           " Y=0 and Z=0: j, k =           25         201\n"
           " X=0 and Z=0: i, k =           25         201\n"
           " X=0 and Y=0: i, j =           25          25\n"
           " X=0 and Y=m: i, j =           25          37\n"
           " X=m and Y=0: i, j =           37          25\n"
           " X=q and Y=m: i, j =           32          37\n"
           " X=m and Y=q: i, j =           37          32\n"
           " X=m and Y=m: i, j =           37          37\n"
           " X=u and Y=u: i, j =           41          41\n"
           " X=l and Y=l: i, j =            7           7\n";
}

constexpr unsigned white = 0xFFFFFF, black = 0x000000, red = 0x0000FF, blue = 0xFF0000;

// The page of the kind-2 map plotted for E: frames black, the Ex curve of the X line rising
// from the bottom-left to the top-right corner of panel 1, the legend blue under the panels.
void EXPECT_PAGE(const fs::path& png) {
    page_image image;
    ASSERT_TRUE(READ_PNG(png, image));
    ASSERT_EQ(image.width, 1280u);
    ASSERT_EQ(image.height, 800u);
    EXPECT_EQ(image.AT(60, 48), black);     // panel 1, top-left corner of the frame
    EXPECT_EQ(image.AT(134, 70), black);    // its middle vertical grid line
    EXPECT_EQ(image.AT(1248, 740), black);  // panel 30, bottom-right corner
    EXPECT_EQ(image.AT(62, 50), white);     // inside panel 1, off the curve
    EXPECT_EQ(image.AT(60, 148), red);      // Ex at x = -2, the lowest value
    EXPECT_EQ(image.AT(208, 48), red);      // Ex at x = +2, the highest value
    int legend_blue = 0;
    for (int y = 770; y <= 790; ++y)
        for (int x = 450; x <= 900; ++x) legend_blue += image.AT(x, y) == blue;
    EXPECT_GT(legend_blue, 100);
}

struct layout_case {
    const char* layout;
    int format_flag;
    const char* name;
    int listed_n_cell;
};

// CTest lists a case by its layout, not by its bytes.
void PrintTo(const layout_case& c, std::ostream* out) { *out << c.layout; }

class HeadlessRun : public ::testing::TestWithParam<layout_case> {};

TEST_P(HeadlessRun, ListingExitStatusAndPage) {
    const layout_case& c = GetParam();
    work_dir dir;
    WRITE_MAP(dir.path, std::string("--layout ") + c.layout + " --kind 2 --sym 1,1,1 --ncell 3", c.name);
    WRITE_CONTROL(dir.path, c.name, c.format_flag, 0);
    const run_result r = RUN_PROGRAM(dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ALL_MIRRORS_LISTING(c.name, c.listed_n_cell));
    EXPECT_NE(r.err.find("plot_orvex_3dfields.png"), std::string::npos) << r.err;
    const fs::path png = dir.path / "plot_orvex_3dfields.png";
    ASSERT_TRUE(fs::exists(png));
    EXPECT_PAGE(png);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, HeadlessRun,
                         ::testing::Values(layout_case{"binary", 0, "MW_map.bin", 3},
                                           layout_case{"text", 1, "MW_map.txt", 3},
                                           layout_case{"nodes", 2, "MW_nodes.txt", 0}),
                         [](const auto& info) { return std::string(info.param.layout); });

// A map with one defect the page cannot show (a coordinate between the ends of its axis, a value
// off the ten lines) gives its note on standard error, and otherwise the run of the clean map:
// the same listing, status and page (compared below the heading, which holds the time).
struct note_case {
    const char* layout;
    int format_flag;
    const char* name;
    const char* defect;
    const char* note;
};

void PrintTo(const note_case& c, std::ostream* out) { *out << c.layout; }

class MapNote : public ::testing::TestWithParam<note_case> {};

TEST_P(MapNote, ReachesStandardErrorAndChangesNothingElse) {
    const note_case& c = GetParam();
    const std::string map = std::string("--layout ") + c.layout + " --kind 0 --sym 1,0,0 ";
    work_dir clean, defective;
    WRITE_MAP(clean.path, map, c.name);
    WRITE_MAP(defective.path, map + c.defect, c.name);
    WRITE_CONTROL(clean.path, c.name, c.format_flag, 0);
    WRITE_CONTROL(defective.path, c.name, c.format_flag, 0);
    const run_result want = RUN_PROGRAM(clean.path), got = RUN_PROGRAM(defective.path);
    EXPECT_EQ(want.status, 0) << want.err;
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, want.out);
    // The line that says where the page is written names each run's own directory.
    std::string want_err = want.err;
    if (const auto at = want_err.find(clean.path.string()); at != std::string::npos)
        want_err.replace(at, clean.path.string().size(), defective.path.string());
    EXPECT_EQ(got.err, std::string("plot_orvex_3dfields: note: ") + c.note + "\n" + want_err);
    page_image want_page, got_page;
    ASSERT_TRUE(READ_PNG(clean.path / "plot_orvex_3dfields.png", want_page));
    ASSERT_TRUE(READ_PNG(defective.path / "plot_orvex_3dfields.png", got_page));
    long differ = 0;
    for (int y = 41; y <= 800; ++y)
        for (int x = 1; x <= 1280; ++x) differ += got_page.AT(x, y) != want_page.AT(x, y);
    EXPECT_EQ(differ, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryLayout, MapNote,
    ::testing::Values(
        note_case{"binary", 0, "EM_map.bin", "--coord x,7,0.525",
                  "the x coordinates are not evenly spaced (node 7 lies 0.3 steps from its place); the page places the "
                  "nodes evenly from -2 to 2 cm"},
        note_case{"text", 1, "EM_map.txt", "--value ey,6,7,8,nan", "1 value of Ey is not a number (node 6, 7, 8)"},
        // Ex reaches 1000 * 1.3 * 1.5 * 1.7 = 3315 V/cm at the corners; 50 is 1.5% of it.
        note_case{"nodes", 2, "EM_nodes.txt", "--value ex,1,6,9,50",
                  "Ex is not zero on the mirror plane x = 0 (up to 1.5% of its largest value); check ksym_yz, the "
                  "field kind and line 5"}),
    [](const auto& info) { return std::string(info.param.layout); });

TEST(HeadlessRunStops, NoUnfoldingCaseWritesNoPage) {
    // Flags 2, 2, 0 sum to 4: no unfolding case, so the run ends after the header listing.
    work_dir dir;
    WRITE_MAP(dir.path, "--layout binary --kind 2 --sym 2,2,0 --ncell 3", "MW_map.bin");
    WRITE_CONTROL(dir.path, "MW_map.bin", 0, 0);
    const run_result r = RUN_PROGRAM(dir.path);
    EXPECT_EQ(r.status, 1);
    const std::string last_record = " Field kind and symmetry flags match no unfolding case \n";
    ASSERT_GE(r.out.size(), last_record.size());
    EXPECT_EQ(r.out.substr(r.out.size() - last_record.size()), last_record);
    EXPECT_EQ(r.out.find("Grid limits"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path / "plot_orvex_3dfields.png"));
}

TEST(HeadlessRunStops, MissingFieldFileWritesNoPage) {
    work_dir dir;
    WRITE_CONTROL(dir.path, "MW_absent.bin", 0, 0);
    const run_result r = RUN_PROGRAM(dir.path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, " Input field file name = MW_absent.bin\n");
    EXPECT_NE(r.err.find("MW_absent.bin"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(fs::exists(dir.path / "plot_orvex_3dfields.png"));
}

TEST(HeadlessRun, MagneticMapUnmirroredPlottedForB) {
    // A magnetic map with no mirror: 25 x 25 x 201 nodes over -2..2, -2..2, -50..50.
    work_dir dir;
    WRITE_MAP(dir.path, "--layout text --kind 1 --sym 0,0,0", "EM_solenoid.txt");
    WRITE_CONTROL(dir.path, "EM_solenoid.txt", 1, 1);
    const run_result r = RUN_PROGRAM(dir.path);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string tail =
        " ksym =            0\n"
        " Grid limits in X, Y and Z =        -2.00000000000000        2.00000000000000"
        "       -2.00000000000000        2.00000000000000       -50.0000000000000        50.0000000000000\n"
        " Mesh sizes  in X, Y and Z =        0.166666666666667       0.166666666666667       0.500000000000000\n"
        " Y=0 and Z=0: j, k =           13         101\n"
        " X=0 and Z=0: i, k =           13         101\n"
        " X=0 and Y=0: i, j =           13          13\n"
        " X=0 and Y=m: i, j =           13          19\n"
        " X=m and Y=0: i, j =           19          13\n"
        " X=q and Y=m: i, j =           17          19\n"
        " X=m and Y=q: i, j =           19          17\n"
        " X=m and Y=m: i, j =           19          19\n"
        " X=u and Y=u: i, j =           21          21\n"
        " X=l and Y=l: i, j =            3           3\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    page_image image;
    ASSERT_TRUE(READ_PNG(dir.path / "plot_orvex_3dfields.png", image));
    // Bz of the solenoid-like field is positive and even along x: panel 3's curve touches the
    // panel top at both ends (the largest value at x = +-2) and stays above its bottom edge.
    EXPECT_EQ(image.AT(476, 48), red);
    EXPECT_EQ(image.AT(624, 48), red);
}

// A scalable face that is not one of the Liberation faces, or an empty path: an upright regular
// face where there is one (a hairline italic face draws too few pixels to count the legend by).
fs::path STAND_IN_FACE() {
    std::error_code error;
    fs::path any;
    for (const auto& entry : fs::recursive_directory_iterator("/usr/share/fonts", error)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".ttf" || name.find("Liberation") != std::string::npos) continue;
        if (name.find("Regular") != std::string::npos || name == "DejaVuSans.ttf") return entry.path();
        if (any.empty() || entry.path() < any) any = entry.path();
    }
    return any;
}

// fontconfig sees only the faces in fonts (a directory, maybe empty): without Arial's
// Liberation face the page's texts are drawn with the best sans-serif face there is, and one
// line says so; with no face at all the run stops before any page is written.
TEST(HeadlessRunFonts, StandInFaceOrOneLineAndNoPage) {
    const fs::path face = STAND_IN_FACE();
    if (face.empty()) GTEST_SKIP() << "no scalable face other than Liberation under /usr/share/fonts";
    for (const bool with_face : {true, false}) {
        work_dir dir;
        fs::create_directory(dir.path / "fonts");
        if (with_face) fs::copy_file(face, dir.path / "fonts" / face.filename());
        std::ofstream(dir.path / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << (dir.path / "fonts").string()
                                               << "</dir></fontconfig>\n";
        // A field free of divergence: its standard error holds no note.
        WRITE_MAP(dir.path, "--layout binary --kind 2 --sym 1,1,1 --ncell 3 --model harmonic", "MW_map.bin");
        WRITE_CONTROL(dir.path, "MW_map.bin", 0, 0);
        const run_result r = RUN_PROGRAM(dir.path, "FONTCONFIG_FILE='" + (dir.path / "fonts.conf").string() + "'");
        const fs::path png = dir.path / "plot_orvex_3dfields.png";
        if (with_face) {
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_NE(r.err.find("no liberation sans face for \"arial\"; its texts are drawn with "), std::string::npos)
                << r.err;
            page_image image;
            ASSERT_TRUE(READ_PNG(png, image));
            int legend_blue = 0;
            for (int y = 770; y <= 790; ++y)
                for (int x = 450; x <= 900; ++x) legend_blue += image.AT(x, y) == blue;
            EXPECT_GT(legend_blue, 100);
        } else {
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "plot_orvex_3dfields: no font can be loaded (fontconfig offers no scalable face); the page "
                             "cannot be drawn\n");
            EXPECT_FALSE(fs::exists(png));
        }
    }
}

// A run without a display loads nothing of the toolkit (the loader's own account of what it
// opened names no Qt library); with a display but no toolkit on the machine (its libraries
// hidden in a mount namespace of the test's own) the page is still written, with one line
// saying why there is no window.
TEST(HeadlessRun, NeedsNoToolkit) {
    work_dir dir;
    WRITE_MAP(dir.path, "--layout binary --kind 2 --sym 1,1,1 --ncell 3 --model harmonic", "MW_map.bin");
    WRITE_CONTROL(dir.path, "MW_map.bin", 0, 0);
    const run_result headless = RUN_PROGRAM(dir.path, "LD_DEBUG=files");
    EXPECT_EQ(headless.status, 0);
    EXPECT_NE(headless.err.find("calling init:"), std::string::npos) << "the loader's account is missing";
    EXPECT_EQ(headless.err.find("libQt6"), std::string::npos);
    fs::remove(dir.path / "plot_orvex_3dfields.png");

    if (RUN_SHELL("unshare -m true > /dev/null 2>&1") != 0) GTEST_SKIP() << "no mount namespace of our own to hide Qt in";
    const std::string hide_qt = "for f in /usr/lib/*/libQt6*.so.6 /lib/*/libQt6*.so.6; do [ -e \"$f\" ] && mount --bind /dev/null \"$f\"; done; ";
    const int status = RUN_SHELL("cd '" + dir.path.string() + "' && unshare -m sh -c '" + hide_qt + "DISPLAY=:0 \"" ORVEX_PROGRAM
                                 "\" > stdout.txt 2> stderr.txt'");
    const std::string err = READ_FILE(dir.path / "stderr.txt");
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err.rfind("plot_orvex_3dfields: cannot open the window module /", 0), 0u) << err;
    EXPECT_NE(err.find("/plot_orvex_3dfields_window.so: "), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(fs::exists(dir.path / "plot_orvex_3dfields.png"));
}

}  // namespace
