// control_beside_test.cpp: a map written into a directory without a control file is ready to
// view: write_field_map writes plot_orvex_3dfields.dat beside it and says so, and the viewer run
// there without a display draws the page (status 0, the PNG); an existing control file, even a
// dangling link of that name, is never touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/program_run.h"

namespace orvex::e2e {
namespace {

class ControlBeside : public run_directory<> {
protected:
    run_result WRITER(std::vector<std::string> args) {
        args.insert(args.begin(), ORVEX_MAP_WRITER);
        return RUN_PROGRAM(dir, capture, {}, {args, {}});
    }
};

TEST_F(ControlBeside, AMapInADirectoryWithoutOneGetsAControlFileThatRuns) {
    struct ready {
        std::vector<std::string> args;
        std::string name, format, field;
    };
    const std::vector<ready> cases{
        {{"--model", "rfq", "--layout", "binary", "--kind", "0", "--sym", "1,1,1", "--range", "0.4,0.4,12"}, "RFQ_cell.bin", "0", "0"},
        {{"--model", "solenoid", "--layout", "text", "--kind", "1", "--sym", "1,1,0", "--range", "2,2,30"}, "EM_sol.txt", "1", "1"},
        {{"--model", "lens-doublet", "--layout", "nodes", "--kind", "2", "--sym", "0,0,1", "--range", "1,1,15"}, "MW_lens.txt", "2", "0"},
    };
    for (const ready& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir / "maps");
        std::vector<std::string> args = c.args;
        args.push_back("maps/" + c.name);
        const run_result w = WRITER(args);
        ASSERT_EQ(w.status, 0) << w.err;
        EXPECT_NE(w.err.find("wrote maps/plot_orvex_3dfields.dat naming maps/" + c.name), std::string::npos) << w.err;
        const std::string control = SLURP(dir / "maps" / "plot_orvex_3dfields.dat");
        EXPECT_TRUE(control.ends_with("\n" + c.name + "\n" + c.format + "\n" + c.field + "\n")) << control;
        const run_result v = RUN_PROGRAM(dir / "maps", capture);
        EXPECT_EQ(v.status, 0) << v.out << v.err;
        EXPECT_TRUE(fs::exists(dir / "maps" / "plot_orvex_3dfields.png"));
    }
}

// A one-field table with a positive n_cell becomes a binary map the viewer reads as both fields:
// six components, the control file choosing the field the table carries.
TEST_F(ControlBeside, AnImportedMapWithAPositiveNcellIsOneTheViewerReads) {
    std::string table = "x [cm] y [cm] z [cm] Ex [V/cm] Ey [V/cm] Ez [V/cm]\n";
    for (int k = 0; k < 201; ++k)
        for (int j = 0; j < 25; ++j)
            for (int i = 0; i < 25; ++i)
                table += std::to_string(i * 0.1) + " " + std::to_string(j * 0.1) + " " + std::to_string(k * 0.1) + " " +
                         std::to_string(100 * i) + " " + std::to_string(100 * j) + " " + std::to_string(50 * k) + "\n";
    WRITE_TEXT(dir / "cell.txt", table);
    const run_result w = WRITER({"--import", "cell.txt", "--sym", "1,1,1", "--header", "24,0.4,5", "--layout", "binary", "RFQ_cell.bin"});
    ASSERT_EQ(w.status, 0) << w.err;
    // Header, flags, three coordinate records, and all six component records.
    EXPECT_EQ(fs::file_size(dir / "RFQ_cell.bin"), (8 + 20) + (8 + 12) + 2 * (8 + 200) + (8 + 1608) + 6 * (8 + 8 * 125625ull));
    const run_result v = RUN_PROGRAM(dir, capture);
    EXPECT_EQ(v.status, 0) << v.out << v.err;
    EXPECT_NE(v.out.find("d_elm, aper, n_cell (k_s_EH)=         24.0000000000000       0.400000000000000           5"),
              std::string::npos)
        << v.out;
}

TEST_F(ControlBeside, AnExistingControlFileIsNeverTouched) {
    const std::vector<std::string> map{"--layout", "binary", "--kind", "0", "EM_map.bin"};
    WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "mine\n");
    run_result w = WRITER(map);
    ASSERT_EQ(w.status, 0) << w.err;
    EXPECT_EQ(w.err, "");
    EXPECT_EQ(SLURP(dir / "plot_orvex_3dfields.dat"), "mine\n");
    fs::remove(dir / "plot_orvex_3dfields.dat");
    fs::create_symlink("nowhere/plot.dat", dir / "plot_orvex_3dfields.dat");
    w = WRITER(map);
    ASSERT_EQ(w.status, 0) << w.err;
    EXPECT_TRUE(fs::is_symlink(dir / "plot_orvex_3dfields.dat"));
    EXPECT_EQ(fs::read_symlink(dir / "plot_orvex_3dfields.dat"), "nowhere/plot.dat");
    // A name the viewer could not take from line 3: none written, and why.
    fs::remove(dir / "plot_orvex_3dfields.dat");
    w = WRITER({"--layout", "binary", "--kind", "0", "field.bin"});
    ASSERT_EQ(w.status, 0) << w.err;
    EXPECT_FALSE(fs::exists(dir / "plot_orvex_3dfields.dat"));
    EXPECT_EQ(w.err, "write_field_map: note: no plot_orvex_3dfields.dat written beside field.bin: the map's name holds no kind token "
                     "(MW, EM, PMQ or RFQ)\n");
}

}  // namespace
}  // namespace orvex::e2e
