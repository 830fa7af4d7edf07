// compare_run.cpp: plot_orvex_3dfields --compare OTHER_DIRECTORY [DIRECTORY]: this map against
// the map of another directory, as one JSON document on standard output instead of a page
// (field/compare_json.h). The other map is read into a record of its own (other_map.h); its
// notes, and its figures' notes, join the run's with "in the other map: " before them.
#include <memory>
#include <string>
#include <vector>

#include "driver/control_file.h"
#include "driver/other_map.h"
#include "driver/run_modes.h"
#include "field/compare_json.h"
#include "field/field_grid.h"
#include "field/map_checks.h"

namespace orvex {

void COMPARE_STAGES(const run_request& request, run_outcome& out) {
    const std::unique_ptr<other_map> other = READ_OTHER_MAP(request.compare_directory);
    for (const std::string& note : other->notes) ADD_MAP_NOTE(note);
    const full_map& mine = field_grid.full;
    const full_map& theirs = other->grid->full;
    map_pairing pairing;
    PAIR_MAPS(mine, theirs, pairing);
    pairing.other_file = other->file;

    std::vector<field_difference> fields;
    for (int field = 0; field <= 1; ++field)
        if (MAP_CARRIES(mine, field) && MAP_CARRIES(theirs, field)) fields.push_back(COMPARE_FIELD(pairing, field));
    if (fields.empty())
        ADD_MAP_NOTE(std::string("the two maps carry no field in common: this map carries only the ") +
                     (mine.field_kind == 1 ? "magnetic" : "electric") + " field, the other only the " +
                     (theirs.field_kind == 1 ? "magnetic" : "electric") + " field");
    if (pairing.compared == 0) ADD_MAP_NOTE("no node of this map lies inside the other map's region: no node is compared");

    const figure_request asked;
    const map_figures mine_figures = MAP_FIGURES(mine, asked, field_grid.field_flag);
    const map_figures their_figures = MAP_FIGURES(theirs, asked, other->field_flag);
    for (const std::string& note : mine_figures.notes) ADD_MAP_NOTE(note);
    for (const std::string& note : their_figures.notes) ADD_MAP_NOTE(std::string(other_note_prefix) + note);

    const std::string program = PROGRAM_AND_VERSION();
    out.document = COMPARISON_JSON({program, FIELD_FILE_NAME(), other->file, other->directory, &pairing, fields,
                                    mine_figures.fields, their_figures.fields, MAP_NOTES()});
}

}  // namespace orvex
