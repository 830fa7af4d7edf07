// figures_table.h: the rows of the figures window's table.
//
// WHAT IT IS
//   FILL_FIGURES_TABLE replaces the table's rows by the figures of each field: one top row per
//   field, under it the axis figures, the gradient, the divergence check, the multipoles (the
//   main harmonic, its roll, a quadrupole's centre, gradient and magnetic length, and each
//   harmonic's integrated b_n, a_n and C_n) and the ten lines (each with its components'
//   smallest and largest values and integral). Columns: figure, value (15 significant digits),
//   unit, where (node and position). An absent figure reads "absent". The rows of harmonic n
//   hold QVariantList{field, n, r_ref} under Qt::UserRole in column 0 (MULTIPOLE_OF_ROW).
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
class QTreeWidgetItem;

namespace orvex {

void FILL_FIGURES_TABLE(QTreeWidget* table, std::span<const field_figures> fields, const full_map& map,
                        const curl_figures* curl = nullptr);

// The harmonic a row of the table stands for; false for a row of no harmonic.
struct harmonic_choice {
    int field = 1, n = 0;
    double r_ref = 0.0;
};
bool MULTIPOLE_OF_ROW(const QTreeWidgetItem* row, harmonic_choice& choice);

}  // namespace orvex
