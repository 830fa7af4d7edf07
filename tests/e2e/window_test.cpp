// window_test.cpp: the program run in a real window on a virtual X server (Xvfb): the window
// is found by its caption, the page is found on a screenshot at 1:1, and closing the window with
// Ctrl+Q ends the run with exit status 0 and no PNG written.
//
// Needs Xvfb, xdotool and xwd (x11-apps); the test is skipped when one of them is missing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "page/panel_edges.h"

#include "e2e/program_run.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr unsigned black = 0x000000, white = 0xFFFFFF, blue = 0xFF0000, red = 0x0000FF;

using orvex::e2e::RUN_SHELL;
using orvex::e2e::SLURP;

bool ON_PATH(const char* tool) { return RUN_SHELL(std::string("command -v ") + tool + " > /dev/null 2>&1") == 0; }

// Starts program with arguments in dir, output to the given files (or /dev/null); its pid.
pid_t SPAWN(const std::vector<std::string>& argv, const fs::path& dir, const std::string& display,
            const fs::path& out, const fs::path& err) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    const int o = open(out.empty() ? "/dev/null" : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = open(err.empty() ? "/dev/null" : err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0) _exit(127);
    dup2(o, 1);
    dup2(e, 2);
    close_range(3, ~0u, 0);  // nothing of the test's own (CTest's among them) is inherited
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

constexpr int still_running = -2;

// Waits up to limit for pid to end; its exit status, -1 when it was killed, still_running
// when it has not ended.
int WAIT_FOR_EXIT(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return still_running;
}

std::string SHELL_OUTPUT(const std::string& command) {
    std::string text;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, p) != nullptr) text += buffer;
        pclose(p);
    }
    return text;
}

// A screenshot read from the XWD format: a big-endian header of 25 words, the window name,
// the colour map, then the pixels in the image's own byte order.
struct screenshot {
    unsigned width = 0, height = 0;
    std::vector<unsigned> pixels;  // packed colours, red in the low byte
    unsigned AT(unsigned x, unsigned y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t BIG_ENDIAN_WORD(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The lowest set bit of mask, the shift that brings its channel to the low byte.
int SHIFT_OF(std::uint32_t mask) {
    int s = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++s;
    }
    return s;
}

bool READ_XWD(const fs::path& path, screenshot& shot) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (d.size() < 100) return false;
    std::uint32_t h[25];
    for (int i = 0; i < 25; ++i) h[i] = BIG_ENDIAN_WORD(&d[4 * static_cast<std::size_t>(i)]);
    const std::uint32_t header_size = h[0], format = h[2], width = h[4], height = h[5], byte_order = h[7];
    const std::uint32_t bits_per_pixel = h[11], bytes_per_line = h[12], colours = h[19];
    if (format != 2 || bits_per_pixel != 32) return false;  // a 24-bit true-colour screen
    const std::size_t start = header_size + std::size_t{colours} * 12;
    if (d.size() < start + std::size_t{bytes_per_line} * height) return false;
    const int rs = SHIFT_OF(h[14]), gs = SHIFT_OF(h[15]), bs = SHIFT_OF(h[16]);
    shot.width = width;
    shot.height = height;
    shot.pixels.resize(std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &d[start + std::size_t{y} * bytes_per_line + std::size_t{x} * 4];
            const std::uint32_t v = byte_order == 0 ? (p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24)
                                                    : BIG_ENDIAN_WORD(p);
            shot.pixels[std::size_t{y} * width + x] =
                ((v >> rs) & 0xFFu) | ((v >> gs) & 0xFFu) << 8 | ((v >> bs) & 0xFFu) << 16;
        }
    }
    return true;
}

// Where page pixel (1, 1) is on the screenshot: the offset at which the frames of the six
// panels of the first row fall on black pixels (or red ones, where a curve runs along or
// through a frame) with white just above them. False when the page is not there.
bool FIND_PAGE(const screenshot& s, int& ox, int& oy) {
    using orvex::testing_support::PANEL_EDGES;
    const int top = PANEL_EDGES(1).iy1, bottom = PANEL_EDGES(1).iy2, width = PANEL_EDGES(1).ix2 - PANEL_EDGES(1).ix1;
    auto on_frame = [&](int x, int y, int px, int py) {
        const unsigned c = s.AT(static_cast<unsigned>(x + px - 1), static_cast<unsigned>(y + py - 1));
        return c == black || c == red;
    };
    for (int y = 0; y + bottom < static_cast<int>(s.height); ++y) {
        for (int x = 0; x + 1248 < static_cast<int>(s.width); ++x) {
            // Quick look first: the top-left corner of panel 1 with white outside it.
            if (!on_frame(x, y, 60, 48) || s.AT(static_cast<unsigned>(x + 58), static_cast<unsigned>(y + 46)) != white) continue;
            int frame = 0, framed = 0, above = 0, clear = 0;
            for (const int panel : {1, 2, 3, 16, 17, 18}) {
                const int left = PANEL_EDGES(panel).ix1;
                for (int k = 0; k <= width; ++k) {
                    framed += on_frame(x, y, left + k, top) + on_frame(x, y, left + k, bottom);
                    clear += s.AT(static_cast<unsigned>(x + left + k - 1), static_cast<unsigned>(y + top - 2)) == white;
                    frame += 2;
                    ++above;
                }
                for (int k = 0; k <= bottom - top; ++k) {
                    framed += on_frame(x, y, left, top + k) + on_frame(x, y, left + width, top + k);
                    frame += 2;
                }
            }
            if (framed * 100 >= frame * 98 && clear * 100 >= above * 95) {
                ox = x;
                oy = y;
                return true;
            }
        }
    }
    return false;
}

class WindowRun : public testing::Test {
protected:
    pid_t server = -1;
    pid_t program = -1;
    std::string display;
    fs::path dir;

    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "xwd"}) {
            if (!ON_PATH(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        std::string pattern = (fs::temp_directory_path() / "orvex_window_XXXXXX").string();
        dir = mkdtemp(pattern.data());
        // A display number nobody uses, starting at one that depends on the process so that
        // tests run side by side do not reach for the same one.
        for (int k = 0, n = 100 + getpid() % 300; k < 300 && display.empty(); ++k, n = 100 + (n - 100 + 1) % 300) {
            char socket[64], lock[64], name[16];
            std::snprintf(socket, sizeof socket, "/tmp/.X11-unix/X%d", n);
            std::snprintf(lock, sizeof lock, "/tmp/.X%d-lock", n);
            std::snprintf(name, sizeof name, ":%d", n);
            if (!fs::exists(socket) && !fs::exists(lock)) display = name;
        }
        ASSERT_FALSE(display.empty());
        // -noreset: the short-lived xdotool and xwd clients must not make the server reset
        // between them, refusing connections meanwhile.
        server = SPAWN({"Xvfb", display, "-screen", "0", "1600x1000x24", "-nolisten", "tcp", "-noreset"}, {}, display,
                       {}, {});
        bool ready = false;
        for (int k = 0; k < 200 && !ready; ++k) {
            std::this_thread::sleep_for(50ms);
            ready = RUN_SHELL("DISPLAY=" + display + " xdotool getdisplaygeometry > /dev/null 2>&1") == 0;
        }
        ASSERT_TRUE(ready) << "Xvfb did not start on " << display;
        // Ours, not another server that took the number first.
        ASSERT_EQ(WAIT_FOR_EXIT(server, 0ms), still_running) << "Xvfb on " << display << " ended";
    }

    void TearDown() override {
        if (program > 0 && WAIT_FOR_EXIT(program, 0ms) == still_running) {
            kill(program, SIGKILL);
            waitpid(program, nullptr, 0);
        }
        if (server > 0) {
            kill(server, SIGTERM);
            if (WAIT_FOR_EXIT(server, 5s) == still_running) {
                kill(server, SIGKILL);
                waitpid(server, nullptr, 0);
            }
        }
        if (!dir.empty()) fs::remove_all(dir);
    }

    std::string X(const std::string& command) const { return "DISPLAY=" + display + " " + command; }

    // Writes a map (free of divergence, so that standard error holds no note) and its control
    // file, starts the program and waits for its window; the window's id, or "" (with a failure
    // recorded) when none came.
    std::string START_WINDOWED_RUN() {
        EXPECT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER
                            "' --layout binary --kind 2 --sym 1,1,1 --ncell 3 --model harmonic EM_map.bin > /dev/null"),
                  0);
        {
            std::ofstream control(dir / "plot_orvex_3dfields.dat");
            control << "window test\nEM map, binary layout, electric field\nEM_map.bin\n0\n0\n";
        }
        program = SPAWN({ORVEX_PROGRAM}, dir, display, dir / "stdout.txt", dir / "stderr.txt");
        std::string id;
        for (int k = 0; k < 300 && id.empty(); ++k) {
            std::this_thread::sleep_for(100ms);
            if (WAIT_FOR_EXIT(program, 0ms) != still_running) {
                program = -1;
                ADD_FAILURE() << "the program ended without a window: " << SLURP(dir / "stderr.txt");
                return "";
            }
            id = SHELL_OUTPUT(X("xdotool search --name '^ORVEX-3D-Fields$' 2> /dev/null"));
        }
        EXPECT_FALSE(id.empty()) << "no window captioned ORVEX-3D-Fields";
        return id.substr(0, id.find('\n'));
    }
};

TEST_F(WindowRun, CaptionPageOnScreenAndClosedWithCtrlQ) {
    const std::string id = START_WINDOWED_RUN();
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(SHELL_OUTPUT(X("xdotool getwindowname " + id)), "ORVEX-3D-Fields\n");

    // At 1:1 the page's pixels are on the screen as they are on the page.
    ASSERT_EQ(RUN_SHELL(X("xdotool windowfocus --sync " + id + " key ctrl+0")), 0);
    const fs::path shot_file = dir / "screen.xwd";
    screenshot shot;
    int ox = 0, oy = 0;
    bool found = false;
    for (int k = 0; k < 50 && !found; ++k) {
        std::this_thread::sleep_for(200ms);
        ASSERT_EQ(RUN_SHELL(X("xwd -root -silent -out '" + shot_file.string() + "'")), 0);
        found = READ_XWD(shot_file, shot) && FIND_PAGE(shot, ox, oy);
    }
    ASSERT_TRUE(found) << "the page is not on the screen at 1:1";
    fs::remove(shot_file);
    int heading_blue = 0, stamp_red = 0, curve_red = 0;
    for (int y = 10; y < 26; ++y) {
        for (int x = 200; x < 940; ++x) heading_blue += shot.AT(ox + x - 1, oy + y - 1) == blue;
        for (int x = 950; x < 1200; ++x) stamp_red += shot.AT(ox + x - 1, oy + y - 1) == red;
    }
    for (int y = 49; y < 148; ++y) {
        for (int x = 61; x < 208; ++x) curve_red += shot.AT(ox + x - 1, oy + y - 1) == red;
    }
    EXPECT_GT(heading_blue, 100) << "page found at " << ox << "," << oy;
    EXPECT_GT(stamp_red, 60);
    EXPECT_GT(curve_red, 100);  // panel 1 holds Ex along the X axis

    // The console pane below the page: white text on black.
    int console_black = 0, console_white = 0;
    for (unsigned y = shot.height * 3 / 4; y < shot.height - 30; ++y) {
        for (unsigned x = 0; x < shot.width / 2; ++x) {
            console_black += shot.AT(x, y) == black;
            console_white += shot.AT(x, y) == white;
        }
    }
    EXPECT_GT(console_black, 20000);
    EXPECT_GT(console_white, 200);

    // Closed the way a user closes it: the run ends with status 0 and writes no PNG.
    ASSERT_EQ(RUN_SHELL(X("xdotool windowfocus --sync " + id + " key ctrl+q")), 0);
    const int status = WAIT_FOR_EXIT(program, 10s);
    if (status != still_running) program = -1;
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(dir / "plot_orvex_3dfields.png"));
    const std::string listing = SLURP(dir / "stdout.txt");
    EXPECT_NE(listing.find(" Input field file name = EM_map.bin"), std::string::npos) << listing;
    const std::string said = SLURP(dir / "stderr.txt");
    EXPECT_EQ(said, "");  // a run shown in a window says nothing on standard error
}

}  // namespace

// Esc is for closing a detail window; on the main window it does nothing, and Ctrl+W closes it.
TEST_F(WindowRun, CtrlWClosesTheWindowEscDoesNot) {
    const std::string id = START_WINDOWED_RUN();
    ASSERT_FALSE(id.empty());
    ASSERT_EQ(RUN_SHELL(X("xdotool windowfocus --sync " + id + " key Escape")), 0);
    EXPECT_EQ(WAIT_FOR_EXIT(program, 1s), still_running) << "Esc ended the run";
    ASSERT_EQ(RUN_SHELL(X("xdotool windowfocus --sync " + id + " key ctrl+w")), 0);
    const int status = WAIT_FOR_EXIT(program, 10s);
    if (status != still_running) program = -1;
    EXPECT_EQ(status, 0);
    ASSERT_EQ(program, -1) << "the window stayed open";
    EXPECT_FALSE(fs::exists(dir / "plot_orvex_3dfields.png"));
}

TEST_F(WindowRun, DisplayLostUnderTheWindowEndsWithOneLine) {
    const std::string id = START_WINDOWED_RUN();
    ASSERT_FALSE(id.empty());
    kill(server, SIGTERM);
    WAIT_FOR_EXIT(server, 5s);
    server = -1;
    // A loaded machine (the whole suite in parallel) may take a while to deliver the lost
    // connection: the limit is generous, a passing run does not wait for it.
    const int status = WAIT_FOR_EXIT(program, 30s);
    if (status != still_running) program = -1;
    const std::string said = SLURP(dir / "stderr.txt");
    EXPECT_EQ(status, 1) << said;
    EXPECT_EQ(said, "plot_orvex_3dfields: the connection to the display was lost; the window is gone\n");
    EXPECT_FALSE(fs::exists(dir / "plot_orvex_3dfields.png"));
}

// With too few file descriptors the toolkit's libraries would end the run with a trap: the
// page is written instead, with one line that says why.
TEST_F(WindowRun, TooFewDescriptorsGiveThePageNotATrap) {
    if (!ON_PATH("prlimit")) GTEST_SKIP() << "prlimit is not installed";
    EXPECT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --layout binary --kind 2 --model harmonic EM_map.bin > /dev/null"), 0);
    std::ofstream(dir / "plot_orvex_3dfields.dat") << "a\nb\nEM_map.bin\n0\n0\n";
    // Beyond the standard three, a few: enough for the loader, too few for a window.
    for (const int more : {3, 6, 16}) {
        const std::string limit = "--nofile=" + std::to_string(3 + more);
        program = SPAWN({"prlimit", limit, ORVEX_PROGRAM}, dir, display, {}, dir / "stderr.txt");
        const int status = WAIT_FOR_EXIT(program, 60s);
        if (status != still_running) program = -1;
        EXPECT_EQ(status, 0) << limit;
        const std::string said = SLURP(dir / "stderr.txt");
        EXPECT_EQ(said.rfind("plot_orvex_3dfields: too few file descriptors for the window (", 0), 0u) << limit << ": " << said;
        EXPECT_TRUE(fs::exists(dir / "plot_orvex_3dfields.png")) << limit;
        fs::remove(dir / "plot_orvex_3dfields.png");
    }
}
