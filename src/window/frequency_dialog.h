// frequency_dialog.h: the frequency asked for when File > Export Map writes an .h5 field mesh.
//
// WHAT IT IS
//   ASK_EXPORT_FREQUENCY shows a small dialog captioned "Export Map" that asks whether the .h5
//   file holds the map as a static field (the field left empty) or as the RF field of a
//   frequency in MHz: harmonic 1 with its fundamental frequency, as plot_orvex_3dfields
//   --export FILE.h5 --frequency MHZ writes it. The frequency is checked by the rule the
//   command line and the figures use (FREQUENCY_USABLE, field/figures.h); one that is refused
//   is said in the dialog, which stays open with the text as typed.
//
// HOW TO CALL IT
//   double mhz = 0.0;
//   if (!ASK_EXPORT_FREQUENCY(this, mhz)) return;   // cancelled
//   EXPORT_MAP_TO(name, &why, mhz);                  // 0: a static field
//
// ASSUMES AND LIMITS
//   Called from the toolkit's thread. Numbers are read in the C locale's form (352.21), as the
//   command line reads them. The last frequency given in the run is offered again.
#pragma once

class QWidget;

namespace orvex {

// True with frequency_mhz set (0 for a static field) when the user agrees; false on Cancel.
bool ASK_EXPORT_FREQUENCY(QWidget* parent, double& frequency_mhz);

}  // namespace orvex
