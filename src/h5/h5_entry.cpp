// h5_entry.cpp: the one entry of the .h5 module (fieldio/h5_module.h): the writer's address.
#include "fieldio/h5_module.h"

extern "C" __attribute__((visibility("default"))) const orvex::h5_writer orvex_map_as_h5_2 = &orvex::MAP_AS_H5;
