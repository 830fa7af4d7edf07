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
//   Another map, into records of its own, as a run in its directory would read it:
//     run_settings_record s; s.directory = "../v2";
//     READ_CONTROL_FILE(s, *g); CLASSIFY_FIELD_FILE(s, *g); then read FIELD_FILE_PATH(s).
//
// ASSUMES AND LIMITS
//   A bad field_flag stops the run (STOP_RUN) before the name is looked at; a file that cannot
//   be read as five lines ends it through INPUT_FAILURE. format_flag is checked by the driver.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "field/field_table.h"

namespace orvex {

struct field_grid_record;

inline constexpr std::string_view msg_bad_field_flag = " Not a valid field flag, use 0 for E or 1 for B ";
inline constexpr std::string_view msg_bad_file_kind =
    "Not a valid ORVEX 3D field file, should be MWS, EMS, PMQ, RFQ";
inline constexpr std::string_view msg_bad_format = " Not a valid field format ";

// The run-wide scalars the control file sets.
struct run_settings_record {
    std::array<char, file_name_length> field_file_name{};  // blank-padded
    std::int32_t format_flag = 0;
    // Where the control file is: "" the working directory (the run's own), or a directory of
    // another map; a relative field file name is taken from there.
    std::string directory;
};
extern run_settings_record run_settings;

// field_file_name without its trailing blanks.
std::string_view FIELD_FILE_NAME();
std::string_view FIELD_FILE_NAME(const run_settings_record& s);
// The field file as it is opened: the name without its leading and trailing blanks, in
// s.directory unless it is absolute (the name itself for the working directory).
std::string FIELD_FILE_PATH(const run_settings_record& s);

// Reads the control file into run_settings and field_grid.field_flag, then checks the flag.
void READ_CONTROL_FILE();
// Sets field_grid.field_kind from the name, or stops the run.
void CLASSIFY_FIELD_FILE();
// The same for another map: the control file in s.directory, into s and g.
void READ_CONTROL_FILE(run_settings_record& s, field_grid_record& g);
void CLASSIFY_FIELD_FILE(const run_settings_record& s, field_grid_record& g);

}  // namespace orvex
