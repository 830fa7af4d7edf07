// main.cpp: plot_orvex_3dfields takes no arguments; the control file in the working directory
// says everything.
#include "driver/plot_orvex_3dfields.h"

int main() { return orvex::PLOT_ORVEX_3DFIELDS(); }
