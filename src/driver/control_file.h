// control_file.h: plot_orvex_3dfields.dat, the run's only configuration.
//
// WHAT IT IS
//   Five lines, read from the working directory: two free text lines, the field file name (the
//   first 132 characters of line 3, blank-padded), format_flag (free-form integer), field_flag
//   (free-form integer). CLASSIFY_FIELD_FILE then takes the first field_kind from kind tokens
//   in the name: "MW" gives 2; otherwise "PMQ", "EM" or "RFQ" give field_flag; otherwise the
//   run stops. The search is case-sensitive over all 132 characters, directory part included.
//
// HOW TO CALL IT
//   READ_CONTROL_FILE(); CLASSIFY_FIELD_FILE(); then FIELD_FILE_NAME() names the map.
//
// ASSUMES AND LIMITS
//   A bad field_flag stops the run (STOP_RUN) before the name is looked at; a file that cannot
//   be read as five lines ends it through INPUT_FAILURE. format_flag is checked by the driver.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "field/field_table.h"

namespace orvex {


inline constexpr std::string_view msg_bad_field_flag = " Not a valid field flag, use 0 for E or 1 for B ";
inline constexpr std::string_view msg_bad_file_kind =
    "Not a valid ORVEX 3D field file, should be MWS, EMS, PMQ, RFQ";
inline constexpr std::string_view msg_bad_format = " Not a valid field format ";

// The run-wide scalars the control file sets.
struct run_settings_record {
    std::array<char, file_name_length> field_file_name{};  // blank-padded
    std::int32_t format_flag = 0;
};
extern run_settings_record run_settings;

// field_file_name without its trailing blanks.
std::string_view FIELD_FILE_NAME();

// Reads the control file into run_settings and field_grid.field_flag, then checks the flag.
void READ_CONTROL_FILE();
// Sets field_grid.field_kind from the name, or stops the run.
void CLASSIFY_FIELD_FILE();

}  // namespace orvex
