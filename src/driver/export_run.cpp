// export_run.cpp: plot_orvex_3dfields --export FILE [--frequency MHZ]: the full map written to
// FILE for other programs (fieldio/map_export.h), and no page; one line on standard error
// names the file written. A relative FILE is taken from where the program was started (the
// directory held open by the parser). Neither the map nor the control file is ever replaced.
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
    const export_request asked{FIELD_FILE_NAME(), request.frequency_mhz.value_or(0.0), control_file_name,
                               request.export_directory};
    if (!EXPORT_MAP(field_grid.full, request.export_file, asked, &why))
        RUN_FAILURE("cannot write " + VISIBLE_TEXT(request.export_shown) + ": " + why);
    out.said = "the unfolded map is written to " + VISIBLE_TEXT(request.export_shown);
}

}  // namespace orvex
