// control_file.cpp: reading plot_orvex_3dfields.dat and classifying the field file by name.
//
// Lines 1 and 2 are free text and never looked at. Line 3 is the field file name as written:
// its first 132 characters, blank-padded; a carriage return before the line end is not part of
// it, leading blanks stay (the field readers drop them when they open the file). Lines 4 and 5
// are free-form reads of one integer each, so blank lines before them are passed over and
// anything after the integer on its line is skipped. Lines after the last read are never read.
#include "driver/control_file.h"

#include <algorithm>
#include <cstring>

#include "console/run_stop.h"
#include "field/field_grid.h"
#include "fieldio/freeform.h"

namespace orvex {

run_settings_record run_settings;

std::string_view FIELD_FILE_NAME() {
    const std::string_view name(run_settings.field_file_name.data(), run_settings.field_file_name.size());
    const std::size_t last = name.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

void READ_CONTROL_FILE() {
    text_file text;
    OPEN_TEXT(text, control_file_name);
    SKIP_LINE(text, "line 1");
    SKIP_LINE(text, "line 2");
    const std::string_view line = READ_LINE(text, "the field file name on line 3");
    std::array<char, file_name_length>& name = run_settings.field_file_name;
    name.fill(' ');
    std::memcpy(name.data(), line.data(), std::min(line.size(), name.size()));

    run_settings.format_flag = NEXT_INTEGER(text, "format_flag on line 4");
    END_READ(text);
    field_grid.field_flag = NEXT_INTEGER(text, "field_flag on line 5");
    END_READ(text);
    CLOSE_TEXT(text);

    if (field_grid.field_flag < 0 || field_grid.field_flag > 1) STOP_RUN(msg_bad_field_flag);
}

void CLASSIFY_FIELD_FILE() {
    // All 132 characters, padding included: a token cannot be made of blanks, so the padding
    // never matches.
    const std::string_view name(run_settings.field_file_name.data(), run_settings.field_file_name.size());
    const auto holds = [&](std::string_view token) { return name.find(token) != std::string_view::npos; };
    if (holds("MW")) {
        field_grid.field_kind = 2;
    } else if (holds("PMQ") || holds("EM") || holds("RFQ")) {
        field_grid.field_kind = field_grid.field_flag;
    } else {
        STOP_RUN(msg_bad_file_kind);
    }
}

}  // namespace orvex
