// other_map.cpp: a second map read into a record of its own; see other_map.h.
#include "driver/other_map.h"

#include <cstdint>
#include <exception>
#include <new>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/header_listing.h"
#include "field/map_checks.h"
#include "field/unfold.h"
#include "fieldio/map_layouts.h"

namespace orvex {

namespace {

// The sequence of a run's own reading (run_modes.cpp), on the other record, listing nothing.
void READ_INTO(other_map& out, run_settings_record& settings) {
    field_grid_record& g = *out.grid;
    READ_CONTROL_FILE(settings, g);
    CLASSIFY_FIELD_FILE(settings, g);
    out.file = std::string(FIELD_FILE_NAME(settings));
    out.field_flag = g.field_flag;
    const map_layout* layout = FIND_MAP_LAYOUT(settings.format_flag);
    if (layout == nullptr) STOP_RUN(msg_bad_format);
    layout->read(FIELD_FILE_PATH(settings), g);
    SET_KSYM(g);
    const auto zero_or_one = [](std::int32_t flag) { return flag == 0 || flag == 1; };
    if (!zero_or_one(g.ksym_yz) || !zero_or_one(g.ksym_xz) || !zero_or_one(g.ksym_xy)) STOP_RUN(msg_no_unfolding_case);
    for (const std::string& note : CHECK_MAP_NOTES(g)) out.notes.push_back(std::string(other_note_prefix) + note);
    UNFOLD_GRID(g, fields_unfolded::on_request);
    if (g.full.nx == 0) STOP_RUN(msg_no_unfolding_case);
}

}  // namespace

std::unique_ptr<other_map> READ_OTHER_MAP(std::string_view directory) {
    auto out = std::make_unique<other_map>();
    out->directory = std::string(directory);
    out->grid = std::make_unique<field_grid_record>();
    run_settings_record settings;
    settings.directory = directory.empty() ? std::string(".") : std::string(directory);
    try {
        READ_INTO(*out, settings);
    } catch (run_stop& stop) {
        // A stop of the system's own says nothing of the file: the note says which map it is about.
        if (stop.where == run_stop::channel::console) {
            const std::string about = "this stop is about the other map, in " + VISIBLE_TEXT(settings.directory);
            stop.note = stop.note.empty() ? about : about + "; " + stop.note;
        }
        throw;
    }
    return out;
}

const other_map* LOAD_OTHER_MAP(std::string_view directory, std::string* why) {
    std::string reason;
    try {
        return READ_OTHER_MAP(directory).release();
    } catch (const run_stop& stop) {
        // The stop's line as a run would write it, without the program's name.
        reason = stop.message;
        constexpr std::string_view program = "plot_orvex_3dfields: ";
        if (reason.starts_with(program)) reason.erase(0, program.size());
        const std::size_t first = reason.find_first_not_of(' '), last = reason.find_last_not_of(' ');
        reason = first == std::string::npos ? std::string() : reason.substr(first, last - first + 1);
        if (!stop.note.empty()) reason += " (" + stop.note + ")";
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    } catch (const std::exception& e) {
        reason = VISIBLE_TEXT(e.what());
    }
    if (why != nullptr) *why = reason;
    return nullptr;
}

void DROP_OTHER_MAP(const other_map* map) { delete map; }

}  // namespace orvex
