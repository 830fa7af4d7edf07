#!/usr/bin/env bash
# Writes the small seed corpora of the fuzz harnesses into fuzz/seeds/<harness>/ from the
# field-map writer: the heads of clean maps in every layout, kind and style, damaged framing,
# and slices of a binary map's doubles for the plot and histogram harnesses. The seeds are kept
# in the repository; run this again only when the layouts change.
#
#   fuzz/make_seeds.sh [BUILD]     BUILD holds tools/write_field_map (default build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
writer="$(cd "${1:-build}" && pwd)/tools/write_field_map"
seeds="$top/fuzz/seeds"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$seeds"
mkdir -p "$seeds"/{control_file,freeform,binary_arrays,text_arrays,node_list,vplot,hfill}

# with_byte B FILE OUT: the byte B (octal escape) followed by the file.
with_byte() { { printf "$1"; cat "$2"; } > "$3"; }

# Control files.
printf 'title\ncomment\nMW_map.bin\n0\n0\n' > "$seeds/control_file/binary"
printf 'title\r\ncomment\r\nEM_map.txt\r\n1\r\n1\r\n' > "$seeds/control_file/crlf"
printf 'a\nb\n  SYSTEM/map PMQ.txt   \n\n 2, 5 rest\n1\nnever read\n' > "$seeds/control_file/blank_line"
printf 'a\nb\nmap_rfq.txt\n3\n-1\n' > "$seeds/control_file/bad"

# Maps in every layout; the seeds are their first few kilobytes.
"$writer" --layout binary --kind 0 --sym 1,1,1 "$work/k0.bin"
"$writer" --layout binary --kind 2 --ncell 4 "$work/k2.bin"
"$writer" --layout binary --kind 1 --record 4 --lead 100 --trail 100 "$work/short.bin"
"$writer" --layout text --kind 0 --sym 1,0,1 "$work/k0.txt"
"$writer" --layout text --kind 2 --ncell 3 --crlf --tabs --d-exponent --digits 9 "$work/k2.txt"
"$writer" --layout text --kind 1 --per-line 0 --nan 1,1,1 --inf 2,1,1 "$work/k1.txt"
"$writer" --layout nodes --kind 2 --sym 1,1,0 "$work/n2.txt"
"$writer" --layout nodes --kind 0 --crlf --commas --d-exponent "$work/n0.txt"
"$writer" --layout nodes --kind 5 --sym 1,0,1 "$work/n5.txt"
"$writer" --layout nodes --kind 2 --counts 25,24,201 "$work/ncount.txt"

head -c 2400 "$work/k0.bin" > "$work/k0.head"
head -c 2400 "$work/k2.bin" > "$work/k2.head"
head -c 2400 "$work/short.bin" > "$work/short.head"
with_byte '\000' "$work/k0.head" "$seeds/binary_arrays/kind0"
with_byte '\002' "$work/k2.head" "$seeds/binary_arrays/kind2"
with_byte '\001' "$work/short.head" "$seeds/binary_arrays/short_record"

for f in k0 k2 k1; do head -c 3000 "$work/$f.txt" > "$work/$f.head"; done
with_byte '\000' "$work/k0.head" "$seeds/text_arrays/kind0"
with_byte '\002' "$work/k2.head" "$seeds/text_arrays/kind2_styled"
with_byte '\001' "$work/k1.head" "$seeds/text_arrays/kind1_one_line"

for f in n2 n0 ncount; do head -c 1500 "$work/$f.txt" > "$seeds/node_list/$f"; done
cp "$work/n5.txt" "$seeds/node_list/kind5"

with_byte '\007' "$work/k2.head" "$seeds/freeform/styled"
head -c 600 "$work/n0.txt" > "$work/n0.head"
with_byte '\055' "$work/n0.head" "$seeds/freeform/nodes"
with_byte '\000' "$work/k0.head" "$seeds/freeform/text_map"

# Doubles: the coordinate records of the binary map (offsets past their framing).
head -c 2036 "$work/k0.bin" | tail -c 2000 > "$work/doubles"
with_byte '\003' "$work/doubles" "$seeds/vplot/coordinates"
with_byte '\036' "$work/doubles" "$seeds/vplot/panel30"
with_byte '\000\144\000' "$work/doubles" "$seeds/hfill/hfill1x"
with_byte '\002\050\000\036\000' "$work/doubles" "$seeds/hfill/hfill2d"

echo "seeds written to $seeds"
