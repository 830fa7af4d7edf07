#!/usr/bin/env bash
# Writes the bundled example maps (build outputs, not kept in the repository) and runs the
# viewer on the first. With a display the page opens in a window; without one it is written to
# examples/rfq_cell/plot_orvex_3dfields.png, and the viewer's last line gives its full path.
#
#   examples/rfq_cell       RFQ cell, electric field, one octant stored, binary array layout
#   examples/solenoid       solenoid, magnetic field, one quadrant stored, text array layout
#   examples/lens_doublet   einzel lens in a quadrupole doublet, both fields, z >= 0 stored,
#                           node list layout
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
writer="$build/tools/write_field_map"
viewer="$build/src/driver/plot_orvex_3dfields"

"$writer" --model rfq --layout binary --kind 0 --sym 1,1,1 --range 0.4,0.4,12 \
    --header 24,0.4,0 "$top/examples/rfq_cell/RFQ_cell.bin"
"$writer" --model solenoid --layout text --kind 1 --sym 1,1,0 --range 2,2,30 \
    --header 60,2,0 "$top/examples/solenoid/EM_solenoid.txt"
"$writer" --model lens-doublet --layout nodes --kind 2 --sym 0,0,1 --range 1,1,15 \
    "$top/examples/lens_doublet/MW_lens_doublet.txt"

echo "demo: the other examples: $viewer $top/examples/solenoid (or examples/lens_doublet)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: the page opens in a window, \"ORVEX-3D-Fields\"; close it to end the run"
fi
exec "$viewer" "$top/examples/rfq_cell"
