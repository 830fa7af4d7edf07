// page_test.cpp: the empty page (colours, panels, heading, stamp), the PNG of a page and the
// end of a run without a display.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "page/page.h"
#include "page/panel_edges.h"
#include "surface/png_output.h"
#include "show/show_page.h"
#include "surface/surface.h"

namespace orvex {
namespace {

constexpr packed_colour white = 0xFFFFFF, black = 0x000000, blue = 0xFF0000, red = 0x0000FF;

std::string STAMP_AT(int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    std::array<char, 25> stamp;
    stamp.fill('#');
    D_AND_T_AT(when, stamp);
    return {stamp.data(), stamp.size()};
}

TEST(PageStamp, TwoDigitFieldsFourDigitYearAndFiveBlanks) {
    EXPECT_EQ(STAMP_AT(2026, 12, 7, 10, 10, 2), "Dec 07,2026,10:10:02     ");
    EXPECT_EQ(STAMP_AT(2027, 1, 3, 4, 5, 6), "Jan 03,2027,04:05:06     ");
    EXPECT_EQ(STAMP_AT(1000, 2, 28, 0, 0, 0), "Feb 28,1000,00:00:00     ");
    EXPECT_EQ(STAMP_AT(9999, 9, 30, 23, 59, 59), "Sep 30,9999,23:59:59     ");

    // The clock's stamp: the local time now, to the second or the one after.
    const std::time_t before = std::time(nullptr);
    std::array<char, 25> now;
    D_AND_T(now);
    const std::string got(now.data(), now.size());
    std::tm local{};
    localtime_r(&before, &local);
    const std::string expected = STAMP_AT(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                          local.tm_min, local.tm_sec);
    const std::time_t after = before + 1;
    localtime_r(&after, &local);
    const std::string next = STAMP_AT(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                      local.tm_min, local.tm_sec);
    EXPECT_TRUE(got == expected || got == next) << got;

    // A clock that cannot be read, or a time no calendar holds, stamps the epoch.
    for (const std::time_t unreadable : {static_cast<std::time_t>(-1), std::numeric_limits<std::time_t>::max()}) {
        D_AND_T_FROM(unreadable, now);
        EXPECT_EQ(std::string(now.data(), now.size()), "Jan 01,1970,00:00:00     ");
    }
}

TEST(PageLayout, ColoursAndThirtyPanelsAtTheirEdges) {
    LAYOUT_PAGE();
    EXPECT_EQ(colour_table, (std::array<packed_colour, 8>{0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                                          0xFFFF00, 0xFF00FF, 0x00FFFF}));
    for (int n = 1; n <= 30; ++n) {
        const testing_support::panel_edges want = testing_support::PANEL_EDGES(n);
        const panel_record& p = panel_table[static_cast<std::size_t>(n - 1)];
        SCOPED_TRACE("panel " + std::to_string(n));
        EXPECT_EQ(p.ix1, want.ix1);
        EXPECT_EQ(p.ix2, want.ix2);
        EXPECT_EQ(p.iy1, want.iy1);
        EXPECT_EQ(p.iy2, want.iy2);
        EXPECT_EQ(p.ndiv_x, 4);
        EXPECT_EQ(p.ndiv_y, 4);
    }
}

// True when page column x is black from row y1 to y2.
bool BLACK_COLUMN(int x, int y1, int y2) {
    for (int y = y1; y <= y2; ++y) {
        if (PAGE_PIXEL(x, y) != black) return false;
    }
    return true;
}
bool BLACK_ROW(int y, int x1, int x2) {
    for (int x = x1; x <= x2; ++x) {
        if (PAGE_PIXEL(x, y) != black) return false;
    }
    return true;
}

class PageDrawn : public testing::Test {
protected:
    void SetUp() override {
        RESET_SURFACE();
        INI_GRAPH();
    }
};

TEST_F(PageDrawn, EveryPanelIsWhiteWithBlackFrameAndGridLines37And25Apart) {
    for (int n = 1; n <= 30; ++n) {
        const panel_record& p = panel_table[static_cast<std::size_t>(n - 1)];
        SCOPED_TRACE("panel " + std::to_string(n));
        for (int y = p.iy1 - 1; y <= p.iy2 + 1; ++y) {
            for (int x = p.ix1 - 1; x <= p.ix2 + 1; ++x) {
                const bool outside = x < p.ix1 || x > p.ix2 || y < p.iy1 || y > p.iy2;
                const bool on_line = (x - p.ix1) % 37 == 0 || (y - p.iy1) % 25 == 0;
                const packed_colour want = outside ? white : (on_line ? black : white);
                ASSERT_EQ(PAGE_PIXEL(x, y), want) << "at " << x << "," << y;
            }
        }
        EXPECT_TRUE(BLACK_COLUMN(p.ix2, p.iy1, p.iy2));
        EXPECT_TRUE(BLACK_ROW(p.iy2, p.ix1, p.ix2));
    }
    // Between panels the page is the white background.
    EXPECT_EQ(PAGE_PIXEL(230, 170), white);
    EXPECT_EQ(PAGE_PIXEL(650, 400), white);
    EXPECT_EQ(PAGE_PIXEL(1270, 790), white);
}

TEST_F(PageDrawn, HeadingInBlueAndStampInRedAtTheirPlaces) {
    ASSERT_EQ(static_cast<int>(TEXT_LOG().size()), 2);
    const text_call& title = TEXT_LOG()[0];
    EXPECT_EQ(std::string(title.text.data(), 80),
              " ORVEX 3D Fields Projection Software" + std::string(80 - 36, ' '));
    EXPECT_EQ(title.length, 80);
    EXPECT_EQ(title.x, 200);
    EXPECT_EQ(title.y, 10);
    EXPECT_EQ(title.colour, blue);
    const text_call& stamp = TEXT_LOG()[1];
    EXPECT_EQ(stamp.length, 25);
    EXPECT_EQ(stamp.x, 950);
    EXPECT_EQ(stamp.y, 10);
    EXPECT_EQ(stamp.colour, red);
    EXPECT_EQ(std::string(stamp.text.data() + 20, 5), "     ");
    ASSERT_GE(title.font, 0);
    EXPECT_EQ(stamp.font, title.font);

    // On the page: the heading's pixels are blue over white, the stamp's red, both in the band
    // of their 16-pixel cell, between the heading's start and the stamp's.
    int blue_pixels = 0, red_pixels = 0;
    for (int y = 1; y <= 47; ++y) {
        for (int x = 1; x <= page_width; ++x) {
            const packed_colour p = PAGE_PIXEL(x, y);
            if (p == white) continue;
            ASSERT_GE(y, 10);
            ASSERT_LT(y, 26);
            if (x < 950) {
                ASSERT_GE(x, 200);
                // Blue over white: blue stays full, red and green fade together.
                ASSERT_EQ((p >> 16) & 0xFFu, 0xFFu) << std::hex << p;
                ASSERT_EQ(p & 0xFFu, (p >> 8) & 0xFFu) << std::hex << p;
                if (p == blue) ++blue_pixels;
            } else {
                ASSERT_EQ(p & 0xFFu, 0xFFu) << std::hex << p;
                ASSERT_EQ((p >> 8) & 0xFFu, (p >> 16) & 0xFFu) << std::hex << p;
                if (p == red) ++red_pixels;
            }
        }
    }
    EXPECT_GT(blue_pixels, 100);
    EXPECT_GT(red_pixels, 60);
}

TEST_F(PageDrawn, LeavesTheWindowAndStateAsTheProfilesExpect) {
    EXPECT_TRUE(WINDOW_REQUESTS().plot_window_open);
    EXPECT_EQ(std::string(WINDOW_REQUESTS().plot_caption.data()), "ORVEX-3D-Fields");
    EXPECT_EQ(WINDOW_REQUESTS().maximised, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(WINDOW_REQUESTS().console_text_colour, white);
    EXPECT_EQ(DRAWING_STATE().back_colour, white);
    EXPECT_EQ(DRAWING_STATE().draw_colour, black);
    EXPECT_EQ(DRAWING_STATE().clip_x1, 1);
    EXPECT_EQ(DRAWING_STATE().clip_y1, 1);
    EXPECT_EQ(DRAWING_STATE().clip_x2, page_width);
    EXPECT_EQ(DRAWING_STATE().clip_y2, page_height);
    EXPECT_EQ(DRAWING_STATE().current_font, TEXT_LOG()[0].font);
}

TEST_F(PageDrawn, PanelOfOneDivisionEachWayHasItsBorderOnly) {
    panel_record& p = panel_table[6];
    p.ndiv_x = 1;
    p.ndiv_y = 1;
    SET_DRAW_COLOUR(0x123456);
    FILL_RECT(static_cast<coord>(p.ix1 - 5), static_cast<coord>(p.iy1 - 5), static_cast<coord>(p.ix2 + 5),
              static_cast<coord>(p.iy2 + 5));
    GRAPH(7, red);
    for (int y = p.iy1; y <= p.iy2; ++y) {
        for (int x = p.ix1; x <= p.ix2; ++x) {
            const bool border = x == p.ix1 || x == p.ix2 || y == p.iy1 || y == p.iy2;
            ASSERT_EQ(PAGE_PIXEL(x, y), border ? red : white) << x << "," << y;
        }
    }
    EXPECT_EQ(PAGE_PIXEL(p.ix1 - 1, p.iy1), 0x123456u);
    LAYOUT_PAGE();
}

// ---- the PNG ----

std::filesystem::path TEMP_DIR() {
    char pattern[] = "/tmp/orvex_page_XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    return made != nullptr ? made : "/tmp";
}

// Reads an RGB PNG into packed colours; false when it is not a PNG of the page's size.
bool READ_PNG(const std::filesystem::path& path, std::vector<packed_colour>& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    if (image.width != page_width || image.height != page_height) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    out.resize(std::size_t{page_width} * page_height);
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] = rgb[3 * k] | (packed_colour{rgb[3 * k + 1]} << 8) | (packed_colour{rgb[3 * k + 2]} << 16);
    }
    return true;
}

TEST_F(PageDrawn, PngHoldsEveryPagePixelAndReplacesAnOlderFile) {
    SET_PIXEL(1, 1, red);
    SET_PIXEL(page_width, page_height, 0x00FF00);
    SET_PIXEL(2, 1, 0x123456);
    const auto dir = TEMP_DIR();
    const auto path = dir / "page.png";
    std::ofstream(path) << "an older file";
    std::string_view why = "untouched";
    ASSERT_TRUE(WRITE_PAGE_PNG(path.string(), &why));
    EXPECT_EQ(why, "untouched");
    std::vector<packed_colour> read;
    ASSERT_TRUE(READ_PNG(path, read));
    EXPECT_TRUE(std::equal(read.begin(), read.end(), PAGE_PIXELS().begin()));
    EXPECT_EQ(read[0], red);  // page (1, 1) is PNG (0, 0), red from the low byte
    EXPECT_EQ(read[1], 0x123456u);
    EXPECT_EQ(read.back(), 0x00FF00u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(dir);
}

TEST_F(PageDrawn, PngThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    const auto dir = TEMP_DIR();
    std::string_view why;
    EXPECT_FALSE(WRITE_PAGE_PNG((dir / "missing" / "page.png").string(), &why));
    EXPECT_FALSE(why.empty());
    // A directory in the way of the name: the older entry stays, no part file is left.
    std::filesystem::create_directory(dir / "taken.png");
    EXPECT_FALSE(WRITE_PAGE_PNG((dir / "taken.png").string(), &why));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.png"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(dir);
}

// Without a display the page goes to the PNG named by the caller, with one line on stderr.
TEST_F(PageDrawn, WithoutADisplayThePageIsWrittenAndNamed) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const auto dir = TEMP_DIR();
    const std::string name = (dir / "plot_orvex_3dfields.png").string();
    testing::internal::CaptureStderr();
    EXPECT_EQ(SHOW_PAGE(name), 0);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(name), std::string::npos) << said;
    std::vector<packed_colour> read;
    EXPECT_TRUE(READ_PNG(name, read));

    // A display that cannot be reached is the same as none.
    setenv("DISPLAY", ":9999", 1);
    std::filesystem::remove(name);
    testing::internal::CaptureStderr();
    EXPECT_EQ(SHOW_PAGE(name), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::exists(name));
    unsetenv("DISPLAY");

    testing::internal::CaptureStderr();
    EXPECT_EQ(SHOW_PAGE((dir / "missing" / "page.png").string()), 1);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvex
