// main.cpp: plot_orvex_3dfields: the command line parsed once into a request (run_request.h),
// run through the one wrapper of every mode (run_modes.h).
#include "driver/run_modes.h"
#include "driver/run_request.h"

int main(int argc, char** argv) {
    const orvex::command_line_answer answer = orvex::PARSE_COMMAND_LINE(argc, argv);
    return answer.run ? orvex::RUN_REQUEST(answer.request) : answer.status;
}
