// main.cpp: plot_orvex_3dfields reads only its control file; the command line can ask for help
// or the version, or name the directory to run in (command_line.h).
#include "driver/command_line.h"
#include "driver/figures_run.h"
#include "driver/plot_orvex_3dfields.h"

int main(int argc, char** argv) {
    const orvex::command_answer answer = orvex::ANSWER_COMMAND_LINE(argc, argv);
    if (!answer.run) return answer.status;
    return answer.figures ? orvex::FIGURES_RUN() : orvex::PLOT_ORVEX_3DFIELDS();
}
