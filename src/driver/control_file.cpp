// control_file.cpp: reading plot_orvex_3dfields.dat and classifying the field file by name.
//
// Lines 1 and 2 are free text and never looked at. Line 3 is the field file name as written:
// its first 132 characters, blank-padded; a carriage return before the line end is not part of
// it, leading blanks stay (the field readers drop them when they open the file). Lines 4 and 5
// are free-form reads of one integer each, so blank lines before them are passed over and
// anything after the integer on its line is skipped. Lines after the last read are never read.
#include "driver/control_file.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "console/console.h"
#include "console/run_stop.h"
#include "field/field_grid.h"
#include "field/field_table.h"
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
    try {
        OPEN_TEXT(text, control_file_name);
    } catch (run_stop& stop) {
        // No control file here: say where the program looked and where to read how to run it.
        struct stat status {};
        if (::lstat(std::string(control_file_name).c_str(), &status) != 0 && errno == ENOENT) {
            const std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
            stop.note = VISIBLE_TEXT("there is no " + std::string(control_file_name) + " in " +
                                     (here ? std::string(here.get()) : std::string("the working directory")) +
                                     ": run the program in the directory that holds it, or name that directory "
                                     "(plot_orvex_3dfields DIR); plot_orvex_3dfields --help says more");
        }
        throw;
    }
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

namespace {

// What a user does about a name without a kind token; a token there in lower case is named.
std::string KIND_TOKEN_NOTE(std::string_view name) {
    const std::string rule = "MW, EM, PMQ or RFQ, in upper case, anywhere in the name (directory included)";
    if (name.find_first_not_of(' ') == std::string_view::npos)
        return "line 3 of " + std::string(control_file_name) + " gives no field file name; it must name the map and hold " + rule;
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string lower_case;
    for (const std::string_view token : {"MW", "EM", "PMQ", "RFQ"}) {
        const std::size_t at = upper.find(token);
        if (at != std::string::npos && lower_case.empty()) lower_case = std::string(name.substr(at, token.size()));
    }
    return "the field file name \"" + std::string(name) + "\" holds no kind token: it must hold " + rule +
           (lower_case.empty() ? std::string() : "; it holds \"" + lower_case + "\", which is not upper case");
}

}  // namespace

void CLASSIFY_FIELD_FILE() {
    // All 132 characters, padding included: a token cannot be made of blanks, so the padding
    // never matches.
    const std::string_view name(run_settings.field_file_name.data(), run_settings.field_file_name.size());
    const int kind = KIND_OF_NAME(name, field_grid.field_flag);
    if (kind < 0) STOP_RUN_WITH_NOTE(msg_bad_file_kind, KIND_TOKEN_NOTE(FIELD_FILE_NAME()));
    field_grid.field_kind = kind;
}

}  // namespace orvex
