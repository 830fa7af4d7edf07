// main.cpp: plot_orvex_3dfields reads only its control file; the command line can ask for help
// or the version, name the directory to run in (command_line.h) or ask for the map exported
// instead of a page (export_run.h).
#include "driver/command_line.h"
#include "driver/figures_run.h"
#include "driver/export_run.h"
#include "driver/plot_orvex_3dfields.h"

int main(int argc, char** argv) {
    const orvex::command_answer answer = orvex::ANSWER_COMMAND_LINE(argc, argv);
    if (!answer.run) return answer.status;
    if (answer.figures) return orvex::FIGURES_RUN();
    return orvex::export_settings.requested ? orvex::EXPORT_ORVEX_MAP() : orvex::PLOT_ORVEX_3DFIELDS();
}
