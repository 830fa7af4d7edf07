// write_field_map: writes an analytic field map, clean or damaged, for tests and examples, or
// imports a field solver's table as a map. Its options and exit statuses are usage_text below,
// which --help prints (and man write_field_map explains); each command returns its status.
#include "write_field_map.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "fieldio/import_control.h"
#include "fieldio/import_source.h"

namespace orvex::mapgen {

namespace {

constexpr std::string_view usage_text = R"(Usage: write_field_map --layout binary|text|nodes [OPTION...] OUT
       write_field_map --import TABLE --layout binary|text|nodes [IMPORT OPTION...] OUT
       write_field_map --help | --version

Writes a 3-D field map for plot_orvex_3dfields in one of its three layouts: the analytic test
field or an example device, clean or damaged, for tests and examples.

The map:
  --model M             analytic (default: the test field), rfq, solenoid or lens-doublet
                        (device fields for the bundled examples), or a field free of
                        divergence with closed-form figures: gaussian-gap (Ez Gaussian on the
                        axis, sigma 3 cm), gaussian-solenoid (Bz Gaussian on the axis, sigma
                        3 cm), quadrupole (dBy/dx = 500 Gs/cm, dEx/dx = 2000 V/cm^2) or harmonic
                        (gradients of cosh(ax) cosh(by) cos(cz), c^2 = a^2 + b^2), an RF
                        mode, pillbox (the TM010 mode of a pillbox cavity at 1300 MHz between
                        the first and last z planes, Ez = E0 J0(kr), B_phi = -(E0 / c) J1(kr),
                        E0 = 10 kV/cm; no mirror in z), or
                        multipole: a 2-D multipole magnet times an envelope in z, its field
                        E for --kind 0 and B otherwise, written whole (--sym 0,0,0):
  --multipole N,C[,R]   its main harmonic: order N (1 dipole, 2 quadrupole, ...), C the field
                        of that harmonic at radius R cm (default 2,1000,1)
  --harmonic N,B,A      an added harmonic of order N: normal B and skew A in units of 1e-4 of C
                        at R (repeatable)
  --offset X0,Y0        the magnet's centre in cm (default 0,0)
  --roll MRAD           the magnet turned about z, x towards y (default 0)
  --envelope H,S        the envelope: half-length H and rise S in cm (default 10,2; H = 0: none)
  --kind K              0 E only, 1 B only, 2 both (default 2); other values write no components
  --sym YZ,XZ,XY        the three mirror flags (default 0,0,0); a flag of 1 the model's field
                        does not have (its mirror image is not what the viewer unfolds) is refused
  --mirror-tolerance R  how far a mirror image may differ, relative to the field's largest
                        magnitude (default 1e-6)
  --range XHI,YHI,ZHI   upper coordinate limits in cm (default 2,2,50); the lower limit is 0 on
                        a mirrored axis and -hi otherwise
  --lo XLO,YLO,ZLO      lower limits instead of that rule
  --header D_ELM,APER[,NCELL]  header of the array layouts (default 100,2,0)
  --ncell N             header integer of the array layouts (default 0)
  --counts NX,NY,NZ     node counts written in the node list (default: the lattice's); the
                        nodes written are always those of the map's lattice
  --node-kind K         kind written on the node list's first line (default: --kind)
  --digits D            significant digits in the text layouts (default 17)
  --per-line N          values per line inside a text group (default 5; 0: whole group on one)

Text style (inputs a reader must accept):
  --crlf                "\r\n" line ends
  --tabs                a tab between values; --commas: ", " between values
  --d-exponent          every double in exponent form with D (1.5D+03)
  --nan I,J,K           the components of stored node (I,J,K) written as NaN (repeatable);
  --inf I,J,K           ... as +Infinity;  --neg-inf I,J,K  ... as -Infinity

Damage (inputs a reader must refuse):
  --cut-at N            the file ends after N bytes
  --record R            binary: record R (1-based) gets the lengths below
  --lead L, --trail T   its leading / trailing length (32-bit integers, may be negative)
  --pad R,N             binary: record R gets N zero bytes after its values (a longer
                        record, which a reader must accept)
  --node-lines N        node list: only N node lines are written
  --poke TEXT --at L,V  text layouts: value V (1-based) of line L is written as TEXT; V = 0
                        replaces the whole line. Repeatable, each --poke with its own --at.

Defects (maps that contradict their own header; the field stays that of the clean lattice):
  --coord AXIS,NODE,VALUE  array layouts: coordinate NODE of axis x, y or z written as VALUE
                        (a number, nan, inf or -inf); repeatable
  --shift AXIS,CM       every coordinate of the axis written CM further (node list: its range)
  --leak C,FRACTION     C gets FRACTION of its largest absolute value added at every stored
                        node on a mirror plane (node 1 of a mirrored axis); C is ex, ey, ez,
                        bx, by, bz, or e, b or all for several
  --zero C              C written as 0 everywhere (C as for --leak)
  --negate C            C written with its sign wrong everywhere (C as for --leak)
  --value C,I,J,K,VALUE  component C (ex..bz) of stored node (I,J,K) written as VALUE
                        (a number, nan, inf or -inf); repeatable

Import (a field solver's column table as a map; OUT must hold MW for both fields, else EM, PMQ
or RFQ):
  --import TABLE        rows of x y z and components (blanks, tabs or commas between), in any
                        order; headers with names and units: x [mm] ... Ex [V/m], a last
                        line % x y z es.Ex (V/m) ..., or nx ny nz 2 and numbered column lines;
                        a map's own CSV export gives back its header, coordinates and flags
  --columns NAMES       the columns' names when the table names none (x,y,z,Ex,Ey,Ez,...)
  --units UNITS         units the header does not give: m, mm, cm; V/m, V/cm, kV/m, MV/m;
                        T, mT, Gs, kGs; A/m (H)
  --sym YZ,XZ,XY        mirror flags: keep the side from the plane (which must be a node) up;
                        every node left out must be the mirror image the viewer unfolds
                        (default: the table's "# mirror flags:" line, else 0,0,0)
  --mirror-tolerance R  how far a node left out may differ from its image, relative to the
                        field's largest magnitude (default 1e-6)
  --resample linear|cubic  a stored part other than the map's lattice interpolated onto it
  --part re|im          the part of a table with real and imaginary columns
  --header D_ELM,APER[,NCELL]  header values (default: the table's "# map header:" line, else
                        the region's length, its half-width, 0); NCELL > 0 in an array layout
                        makes a map of both fields (the field the table lacks is zero)

A map written into a directory without plot_orvex_3dfields.dat gets one beside it, naming the
map, its layout and its field (a map of both fields: the electric); one line on standard error
says so. An existing control file is never touched.

Exit status 0 when written, 1 when the map could not be made or written (a table that cannot be
imported, a model without the parities --sym asks for), 2 on a bad option; one line on standard
error says why, and nothing is written.
)";

// The answer on standard output, status 0 (1 when it cannot be written).
int ANSWER(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return 0;
    SAY(std::string("cannot write standard output: ") + std::strerror(errno));
    return 1;
}

}  // namespace

int ANSWER_HELP() { return ANSWER(usage_text); }
int ANSWER_VERSION() { return ANSWER("write_field_map " ORVEX_VERSION "\n"); }

void SAY(std::string_view line) {
    // What the line quotes is shown safely already; this keeps anything else from the terminal.
    const std::string text = "write_field_map: " + mapimport::SHOWN_TEXT(line, std::string_view::npos) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void CONTROL_FILE_BESIDE(const std::string& out, int format_flag, int field_flag) {
    const mapimport::control_outcome o = mapimport::WRITE_CONTROL_BESIDE(out, format_flag, field_flag);
    if (o.existed) return;  // the user's own: not touched, nothing to say
    const std::string shown = mapimport::SHOWN_TEXT(out, 200);
    if (!o.done) {
        SAY("note: no " + std::string(mapimport::viewer_control_file) + " written beside " + shown + ": " + o.why);
        return;
    }
    const std::size_t slash = out.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : out.substr(0, slash);
    SAY("wrote " + mapimport::SHOWN_TEXT(o.path, 200) + " naming " + shown + " (" +
        std::string(mapimport::LAYOUT_NAME(format_flag)) + " layout, " + (field_flag == 1 ? "magnetic" : "electric") +
        " field): view it with plot_orvex_3dfields " + mapimport::SHOWN_TEXT(dir, 200));
}

}  // namespace orvex::mapgen

int main(int argc, char** argv) {
    using namespace orvex::mapgen;
    try {
        return ASKS_FOR_IMPORT(argc, argv) ? IMPORT_COMMAND(argc, argv) : WRITER_COMMAND(argc, argv);
    } catch (const std::bad_alloc&) {
        SAY("not enough memory (a memory limit, ulimit -v?); nothing was written");
        return 1;
    }
}
