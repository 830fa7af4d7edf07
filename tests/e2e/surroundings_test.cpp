// surroundings_test.cpp: the program run among hostile files and limits. Libraries and a window
// module planted in the working directory, the DIRECTORY argument and the map's directory are
// never loaded; a window module that cannot be opened gives one line naming it and the page; an
// .h5 module that cannot be used gives one line and writes nothing; file-size and descriptor
// limits end in one line, never a signal; "--" ends the options.
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace {

using namespace orvex::e2e;
using namespace orvex::mapgen;

const std::string module_name = "plot_orvex_3dfields_window.so";
const std::string png_name = "plot_orvex_3dfields.png";
// A display that is not there: a run with it set looks for its window module.
const std::string no_server = "DISPLAY=:64999";

// root/run holds the control file, root/maps the map it names as ../maps/EM_map.bin.
class Surroundings : public run_directory<> {
protected:
    fs::path maps;
    void SetUp() override {
        run_directory<>::SetUp();
        maps = root / "maps";
        fs::create_directories(maps);
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "a\nb\n../maps/EM_map.bin\n0\n0\n");
        map_recipe s;
        s.kind = 0;
        s.model = orvex::mapgen::field_model::harmonic;  // free of divergence: no note on standard error
        ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, (maps / "EM_map.bin").string()));
    }
};

TEST_F(Surroundings, PlantedLibrariesAndModulesAreNeverLoaded) {
    const fs::path start = root / "start", mark = root / "mark";
    fs::create_directories(start);
    for (const fs::path& place : {start, dir, maps}) {
        for (const std::string name : {"libpng16.so.16", "libfreetype.so.6", "libfontconfig.so.1", "libz.so.1", module_name.c_str()})
            fs::copy_file(ORVEX_PLANTED_LIBRARY, place / name);
        fs::create_directories(place / "lib/plot_orvex_3dfields");
        fs::copy_file(ORVEX_PLANTED_LIBRARY, place / "lib/plot_orvex_3dfields" / module_name);
    }
    for (const std::string& display : {std::string("DISPLAY="), no_server}) {
        SCOPED_TRACE(display);
        const run_result r =
            RUN_PROGRAM(start, capture, {}, {{ORVEX_PROGRAM, dir.string()}, {display, "ORVEX_PLANTED_MARK=" + mark.string()}});
        EXPECT_FALSE(fs::exists(mark));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.err.ends_with("the page is written to " + (dir / png_name).string() + "\n")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        fs::remove(dir / png_name);
    }
}

// The program copied into prefix/bin finds its module in prefix/lib/plot_orvex_3dfields only.
TEST_F(Surroundings, ModuleThatCannotBeOpenedGivesOneLineAndThePage) {
    const fs::path bin = root / "prefix/bin", lib = root / "prefix/lib/plot_orvex_3dfields";
    fs::create_directories(bin);
    fs::create_directories(lib);
    fs::copy_file(ORVEX_PROGRAM, bin / "plot_orvex_3dfields");
    const fs::path module = lib / module_name;
    const std::string real = SLURP(ORVEX_PLANTED_LIBRARY);
    const auto patched = [&](std::size_t at, std::string bytes) {
        std::string image = real;
        image.replace(at, bytes.size(), bytes);
        WRITE_TEXT(module, image);
    };
    struct damage {
        std::function<void()> make;
        std::string reason;
    };
    const std::vector<damage> damages = {
        {[&] { WRITE_TEXT(module, ""); }, "file too short"},
        {[&] { WRITE_TEXT(module, real.substr(0, real.size() / 3)); }, "the file is truncated ("},
        {[&] { patched(18, std::string("\xb7\x00", 2)); }, "it is built for another machine (ELF machine 183"},
        {[&] { patched(4, "\x01"); }, "wrong ELF class: ELFCLASS32"},
        {[&] { fs::create_directory(module); }, "it is a directory"},
        {[&] { ::mkfifo(module.c_str(), 0644); }, "it is a FIFO, not a regular file"},
        {[&] { fs::create_symlink(root / "nowhere", module); }, "No such file or directory"},
        {[&] { WRITE_TEXT(module, "#!/bin/sh\n" + std::string(100, '#')); }, "invalid ELF header"},
#ifdef ORVEX_WINDOW_MODULE
        {[&] {
             std::string image = SLURP(ORVEX_WINDOW_MODULE);
             image.replace(image.find("libxcb.so.1"), 11, "libxcb.so.9");
             WRITE_TEXT(module, image);
         },
         "libxcb.so.9: cannot open shared object file"},
#endif
    };
    for (const damage& d : damages) {
        SCOPED_TRACE(d.reason);
        d.make();
        const run_result r = RUN_PROGRAM(dir, capture, {}, {{(bin / "plot_orvex_3dfields").string()}, {no_server}});
        ASSERT_FALSE(r.timed_out);
        EXPECT_EQ(r.status, 0);
        const std::string said = "plot_orvex_3dfields: cannot open the window module " + module.string() + ": ";
        EXPECT_TRUE(r.err.starts_with(said + d.reason)) << r.err;
        EXPECT_TRUE(r.err.ends_with("; the page is written to " + (dir / png_name).string() + "\n")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(fs::is_regular_file(dir / png_name));
        fs::remove(dir / png_name);
        fs::remove_all(module);
    }
}

// The program copied into prefix/bin writes an .h5 through prefix/lib/plot_orvex_3dfields's module
// only. Missing, without the entry (another module in its place) or with its HDF5 library not
// installed (the name it needs changed), it gives one line and status 1; the old map.h5 is kept.
TEST_F(Surroundings, H5ModuleThatCannotBeUsedGivesOneLineAndWritesNothing) {
    const fs::path bin = root / "prefix/bin", lib = root / "prefix/lib/plot_orvex_3dfields";
    fs::create_directories(bin);
    fs::create_directories(lib);
    fs::copy_file(ORVEX_PROGRAM, bin / "plot_orvex_3dfields");
    const fs::path module = lib / "plot_orvex_3dfields_h5.so", h5 = dir / "map.h5";
    const std::string real = SLURP(ORVEX_H5_MODULE);
    std::string without_hdf5 = real;
    for (std::size_t at = real.find("libhdf5"); at != std::string::npos; at = real.find("libhdf5", at + 1))
        without_hdf5.replace(at, 7, "libhdf0");
    std::vector<std::pair<std::string, std::string>> damages = {{"", "No such file or directory"},
                                                                 {without_hdf5, "libhdf0"}};
#ifdef ORVEX_WINDOW_MODULE
    damages.emplace_back(SLURP(ORVEX_WINDOW_MODULE), "it is from another build of the program");
#endif
    WRITE_TEXT(h5, "the old export");
    const std::vector<std::string> run = {(bin / "plot_orvex_3dfields").string(), "--export", "map.h5"};
    for (const auto& [image, reason] : damages) {
        if (!image.empty()) WRITE_TEXT(module, image);
        const run_result r = RUN_PROGRAM(dir, capture, {}, {run, {}});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.starts_with("plot_orvex_3dfields: cannot write " + h5.string() + ": the HDF5 module " +
                                      module.string() + " cannot be used: " + reason)) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(SLURP(h5), "the old export");
    }
    fs::copy_file(ORVEX_H5_MODULE, module, fs::copy_options::overwrite_existing);
    EXPECT_EQ(RUN_PROGRAM(dir, capture, {}, {run, {}}).status, 0);
    EXPECT_EQ(SLURP(h5).substr(0, 8), "\x89HDF\r\n\x1a\n");
}

TEST_F(Surroundings, LimitsEndInOneLineNeverASignal) {
    // A page larger than the file size limit: the write fails like any other, the temporary
    // file is gone and the page already there is untouched.
    WRITE_TEXT(dir / png_name, "the old page");
    const std::set<std::string> before = ENTRIES(dir);
    run_result r = RUN_PROGRAM(dir, capture, {}, {{"prlimit", "--fsize=20000", ORVEX_PROGRAM}, {}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "plot_orvex_3dfields: cannot write the page to " + png_name +
                         ": cannot write the temporary file: File too large\n");
    EXPECT_EQ(ENTRIES(dir), before);
    EXPECT_EQ(SLURP(dir / png_name), "the old page");
    fs::remove(dir / png_name);
    // Too few descriptors for a window: the page instead.
    r = RUN_PROGRAM(dir, capture, {}, {{"prlimit", "--nofile=12", ORVEX_PROGRAM}, {no_server}});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.starts_with("plot_orvex_3dfields: too few file descriptors for the window (")) << r.err;
    EXPECT_TRUE(r.err.ends_with("; see ulimit -n); the page is written to " + (dir / png_name).string() + "\n")) << r.err;
}

TEST_F(Surroundings, DoubleDashEndsTheOptions) {
    const fs::path dashed = root / "-maps";
    fs::rename(dir, dashed);
    const run_result r = RUN_PROGRAM(root, capture, {}, {{ORVEX_PROGRAM, "--", "-maps"}, {}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "plot_orvex_3dfields: no display; the page is written to " + (dashed / png_name).string() + "\n");
    EXPECT_EQ(RUN_PROGRAM(root, capture, {}, {{ORVEX_PROGRAM, "--"}, {}}).status, 1);  // no control file in root
    EXPECT_EQ(RUN_PROGRAM(root, capture, {}, {{ORVEX_PROGRAM, "--", "-maps", "x"}, {}}).status, 2);
}

}  // namespace
