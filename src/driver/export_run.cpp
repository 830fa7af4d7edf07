// export_run.cpp: plot_orvex_3dfields --export FILE [--frequency MHZ]: the full map written to
// FILE for other programs (fieldio/map_export.h), and no page; one line on standard error
// names the file written. A relative FILE is taken from where the program was started.
#include <string>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "fieldio/map_export.h"

namespace orvex {

void EXPORT_STAGES(const run_request& request, run_outcome& out) {
    std::string why;
    if (!EXPORT_MAP(field_grid.full, request.export_file, {FIELD_FILE_NAME(), request.frequency_mhz.value_or(0.0)}, &why))
        RUN_FAILURE("cannot write " + VISIBLE_TEXT(request.export_file) + ": " + why);
    out.said = "the unfolded map is written to " + VISIBLE_TEXT(request.export_file);
}

}  // namespace orvex
