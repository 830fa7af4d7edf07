// export_run.cpp: the export options, and the run that writes the unfolded map instead of a page.
#include "driver/export_run.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/plot_orvex_3dfields.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "field/unfold_rows.h"
#include "fieldio/map_export.h"

namespace orvex {

export_settings_record export_settings;

std::string TAKE_EXPORT_OPTIONS(int argc, const char* const* argv, std::vector<const char*>& rest) {
    export_settings = {};
    rest.clear();
    bool frequency_given = false;
    for (int a = 0; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg == "--" && a > 0) {  // the end of the options: the rest is taken as it is
            rest.insert(rest.end(), argv + a, argv + argc);
            break;
        }
        if (a == 0 || (arg != "--export" && arg != "--frequency")) {
            rest.push_back(argv[a]);
            continue;
        }
        if (a + 1 >= argc) return std::string(arg) + (arg == "--export" ? " needs a file name" : " needs a number of MHz");
        const std::string_view value = argv[++a];
        if (arg == "--export") {
            if (export_settings.requested) return "--export is given twice";
            if (!EXPORT_FORMAT_OF(value))
                return "cannot export to " + VISIBLE_TEXT(value) + ": the file name must end in .h5, .vti or .csv";
            std::error_code error;
            const std::filesystem::path file = std::filesystem::absolute(std::filesystem::path(value), error);
            if (error) return "cannot export to " + VISIBLE_TEXT(value) + ": " + error.message();
            export_settings.requested = true;
            export_settings.file = file.string();
        } else {
            if (frequency_given) return "--frequency is given twice";
            double mhz = 0.0;
            const auto parsed = std::from_chars(value.data(), value.data() + value.size(), mhz);
            if (parsed.ec != std::errc{} || parsed.ptr != value.data() + value.size() || !std::isfinite(mhz) ||
                !(mhz > 0.0))
                return "--frequency needs a positive number of MHz, not " + VISIBLE_TEXT(value);
            frequency_given = true;
            export_settings.frequency_mhz = mhz;
        }
    }
    if (frequency_given && (!export_settings.requested || EXPORT_FORMAT_OF(export_settings.file) != export_format::h5))
        return "--frequency goes with --export FILE.h5";
    return {};
}

int EXPORT_ORVEX_MAP() {
    HOLD_STANDARD_STREAMS();
    ADVISE_FIELD_GRID();
    SET_CONSOLE_QUIET(true);  // the listing is kept, not printed; a stop is printed as in a run
    try {
        READ_RUN_MAP();
        if (UNFOLD_PLAN(field_grid).nx == 0) STOP_RUN(msg_no_unfolding_case);
        std::string why;
        if (!EXPORT_MAP(field_grid, export_settings.file, {FIELD_FILE_NAME(), export_settings.frequency_mhz}, &why))
            RUN_FAILURE("cannot write " + VISIBLE_TEXT(export_settings.file) + ": " + why);
    } catch (const run_stop& stop) {
        SET_CONSOLE_QUIET(false);
        REPORT_RUN_STOP(stop);
        if (stop.where == run_stop::channel::console) REPORT_LOST_LISTING();
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "plot_orvex_3dfields: out of memory\n");
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plot_orvex_3dfields: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "plot_orvex_3dfields: the unfolded map is written to %s\n",
                 VISIBLE_TEXT(export_settings.file).c_str());
    return 0;
}

}  // namespace orvex
