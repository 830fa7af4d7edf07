// probe_run.cpp: plot_orvex_3dfields --probe POINTS [--interpolation linear|cubic]: every field
// the map carries at the points (made before the map was read, run_request.h), as CSV on
// standard output (fieldio/probe_csv.h), and no page; points outside the map's region give nan
// and one note on standard error with their count and the first of them.
#include <iterator>

#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/map_checks.h"
#include "fieldio/probe_csv.h"

namespace orvex {

void PROBE_STAGES(const run_request& request, run_outcome& out) {
    if (!request.points) RUN_FAILURE("--probe was given no points");
    const probe_points& points = *request.points;
    probe_table table = PROBE_CSV(field_grid.full, request.probe_rule, points, FIELD_FILE_NAME());
    if (table.outside > 0) ADD_MAP_NOTE(PROBE_OUTSIDE_NOTE(points, table));
    out.document = std::move(table.text.front());
    out.more_document.assign(std::make_move_iterator(table.text.begin() + 1), std::make_move_iterator(table.text.end()));
}

}  // namespace orvex
