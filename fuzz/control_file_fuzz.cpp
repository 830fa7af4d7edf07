// control_file_fuzz.cpp: arbitrary bytes as plot_orvex_3dfields.dat, read and classified.
//
// Either the run stops with one line, or the settings are sound: field_flag 0 or 1, a kind of
// 0, 1 or 2 that agrees with the tokens of the name, a name without trailing blanks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "driver/control_file.h"
#include "field/field_grid.h"
#include "fuzz_input.h"
#include "console/run_stop.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvex;
    fuzz::ENTER_FUZZ_DIR();
    fuzz::WRITE_INPUT("plot_orvex_3dfields.dat", data, size);
    field_grid.field_flag = -7;
    field_grid.field_kind = -7;
    try {
        READ_CONTROL_FILE();
        CLASSIFY_FIELD_FILE();
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return 0;
    }
    const std::int32_t flag = field_grid.field_flag, kind = field_grid.field_kind;
    if (flag < 0 || flag > 1) __builtin_trap();
    const std::string_view full(run_settings.field_file_name.data(), run_settings.field_file_name.size());
    const bool mw = full.find("MW") != std::string_view::npos;
    if (mw ? kind != 2 : kind != flag) __builtin_trap();
    const std::string_view name = FIELD_FILE_NAME();
    if (name.size() > static_cast<std::size_t>(file_name_length) || (!name.empty() && name.back() == ' '))
        __builtin_trap();
    return 0;
}
