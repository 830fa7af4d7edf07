// figures_table.h: the rows of the figures window's table.
//
// WHAT IT IS
//   FILL_FIGURES_TABLE replaces the table's rows by the figures of each field: one top row per
//   field, under it the axis figures, the gradient, the divergence check and the ten lines (each
//   with its components' smallest and largest values and integral). Columns: figure, value (15
//   significant digits), unit, where (node and position). An absent figure reads "absent".
//
// HOW TO CALL IT
//   FILL_FIGURES_TABLE(table, fields, map, curl);   // table with four columns; curl may be null
//
// ASSUMES AND LIMITS
//   fields hold figures of the map given. The line rows start folded.
#pragma once

#include <span>

#include "field/figures.h"

class QTreeWidget;

namespace orvex {

void FILL_FIGURES_TABLE(QTreeWidget* table, std::span<const field_figures> fields, const full_map& map,
                        const curl_figures* curl = nullptr);

}  // namespace orvex
