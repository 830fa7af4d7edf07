// import_command.h: write_field_map --import TABLE ...: a solver's table written as a map.
//
// WHAT IT IS
//   IMPORT_COMMAND takes the importer's options (below), reads TABLE, imports it
//   (table_import.h), checks that OUT's file name holds the kind token the map's fields need
//   (MW for both; EM, PMQ or RFQ and not MW for one) and writes the map in the layout asked
//   for, whole (a temporary file beside OUT, renamed into place). The header values are
//   --header's, or d_elm = the region's length along z and aper = the smaller of its
//   half-widths in x and y (cm), n_cell 0.
//     --import TABLE  --layout binary|text|nodes  OUT
//     [--columns x,y,z,Ex,Ey,Ez] [--units mm,V/m] [--sym YZ,XZ,XY] [--resample linear|cubic]
//     [--part re|im] [--header D_ELM,APER[,NCELL]]
//
// HOW TO CALL IT
//   if (ASKS_FOR_IMPORT(argc, argv)) return IMPORT_COMMAND(argc, argv);
//
// ASSUMES AND LIMITS
//   Returns the exit status: 0 written; 1 a table that cannot be imported or a file that cannot
//   be read or written; 2 a bad option. Each failure is one line on standard error and writes
//   nothing.
#pragma once

namespace orvex::mapimport {

bool ASKS_FOR_IMPORT(int argc, const char* const* argv);
int IMPORT_COMMAND(int argc, const char* const* argv);

}  // namespace orvex::mapimport
