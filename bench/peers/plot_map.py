#!/usr/bin/python3
"""plot_map.py: the viewer's run as a numpy + matplotlib script, to time whole runs against.

Run in a directory holding plot_orvex_3dfields.dat (two free-text lines, the field file name,
the layout 0 binary / 1 text arrays / 2 node list, the field 0 E / 1 B). Reads the 25 x 25 x 201
map, lists its header, unfolds the mirrored axes with the mirror signs of the field, takes the
ten lines of the page and saves the 30 profiles (6 x 5 panels, 1280 x 800 pixels) to
plot_map.png with the Agg backend.

Arrays are indexed [i, j, k] (x, y, z), 0-based.
"""
import datetime

import numpy as np
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

NX, NY, NZ = 25, 25, 201
NODES = NX * NY * NZ
NAMES = ("Ex", "Ey", "Ez", "Bx", "By", "Bz")

# Text numbers: Fortran D exponents read as E, commas as blanks.
TO_NUMBERS = str.maketrans({"D": "E", "d": "e", ",": " "})


def numbers(text):
    return np.fromstring(text.translate(TO_NUMBERS), sep=" ")


def read_control():
    with open("plot_orvex_3dfields.dat") as f:
        lines = f.read().splitlines()
    name = lines[2][:132].strip()
    rest = numbers(" ".join(lines[3:])).astype(int)  # layout and field, blank lines skipped
    return name, int(rest[0]), int(rest[1])


def kind_from_name(name, field):
    if "MW" in name:
        return 2
    if any(token in name for token in ("PMQ", "EM", "RFQ")):
        return field
    raise SystemExit("Not a valid ORVEX 3D field file, should be MWS, EMS, PMQ, RFQ")


def components_of(kind):
    return {0: (0, 1, 2), 1: (3, 4, 5), 2: (0, 1, 2, 3, 4, 5)}.get(kind, ())


def as_grid(values):
    """125,625 values in array order (x fastest) as an [i, j, k] array."""
    return values.reshape(NZ, NY, NX).transpose(2, 1, 0)


def read_binary(name, kind):
    with open(name, "rb") as f:
        def record():  # one framed record's body: length, body, length
            length = int(np.frombuffer(f.read(4), "<i4")[0])
            body = f.read(length)
            f.read(4)
            return body

        head = record()
        d_elm, aper = np.frombuffer(head, "<f8", 2)
        n_cell = int(np.frombuffer(head, "<i4", 1, 16)[0])
        ksym = np.frombuffer(record(), "<i4", 3).astype(int)
        coords = [np.frombuffer(record(), "<f8", n) for n in (NX, NY, NZ)]
        if n_cell > 0:
            kind = 2
        fields = [np.zeros((NX, NY, NZ)) for _ in range(6)]
        for c in components_of(kind):
            fields[c] = as_grid(np.frombuffer(record(), "<f8", NODES))
    return (d_elm, aper, n_cell), ksym, coords, kind, fields


def read_text_arrays(name, kind):
    with open(name) as f:
        v = numbers(f.read())
    d_elm, aper, n_cell = v[0], v[1], int(v[2])
    ksym = v[3:6].astype(int)
    coords = [v[6:31], v[31:56], v[56:257]]
    if n_cell > 0:
        kind = 2
    fields = [np.zeros((NX, NY, NZ)) for _ in range(6)]
    start = 257
    for c in components_of(kind):
        fields[c] = as_grid(v[start:start + NODES])
        start += NODES
    return (d_elm, aper, n_cell), ksym, coords, kind, fields


def read_node_list(name):
    with open(name) as f:
        head = [next(f) for _ in range(5)]
        body = numbers(f.read())
    kind = int(head[0].split()[0])
    ksym = numbers(head[1])[:3].astype(int)
    ranges = [numbers(line)[:3] for line in head[2:5]]
    if [int(r[2]) for r in ranges] != [NX, NY, NZ]:
        raise SystemExit(" Number of data points don't match internal tables ")
    coords = [lo + np.arange(int(n)) * ((hi - lo) / (n - 1)) for lo, hi, n in ranges]
    (xlo, xhi, _), _, (zlo, zhi, _) = ranges
    d_elm = (zhi - zlo) * (2.0 if ksym[2] != 0 else 1.0)
    aper = (xhi - xlo) / (2.0 if ksym[0] == 0 else 1.0)
    fields = [np.zeros((NX, NY, NZ)) for _ in range(6)]
    comps = components_of(kind)
    nodes = body[:NODES * len(comps)].reshape(NX, NY, NZ, len(comps))  # z fastest
    for n, c in enumerate(comps):
        fields[c] = nodes[..., n]
    return (d_elm, aper, 0), ksym, coords, kind, fields


# Components odd under the mirror of x, y, z, by field kind.
ODD = {
    0: ({"Ex"}, {"Ey"}, {"Ez"}),
    1: ({"Bx"}, {"By"}, {"Bx", "By"}),
    2: ({"Ex", "By", "Bz"}, {"Ey", "Bx", "Bz"}, {"Ez", "Bx", "By"}),
}


def unfold(fields, ksym, kind):
    """Mirrors the stored half, quadrant or octant: the node on the plane is stored node 1."""
    full = list(fields)
    for axis, n in enumerate((NX, NY, NZ)):
        if ksym[axis] != 1:
            continue
        stored = np.abs(np.arange(2 * n - 1) - (n - 1))
        sign = np.where(np.arange(2 * n - 1) < n - 1, -1.0, 1.0)
        shape = [1, 1, 1]
        shape[axis] = 2 * n - 1
        sign = sign.reshape(shape)
        for c, name in enumerate(NAMES):
            full[c] = np.take(full[c], stored, axis=axis)
            if kind in ODD and name in ODD[kind][axis]:
                full[c] = full[c] * sign
    return full


def main():
    name, layout, field = read_control()
    if field not in (0, 1):
        raise SystemExit(" Not a valid field flag, use 0 for E or 1 for B ")
    kind = kind_from_name(name, field)
    print(" Input field file name = " + name)
    if layout == 0:
        header, ksym, coords, kind, fields = read_binary(name, kind)
    elif layout == 1:
        header, ksym, coords, kind, fields = read_text_arrays(name, kind)
    elif layout == 2:
        header, ksym, coords, kind, fields = read_node_list(name)
    else:
        raise SystemExit(" Not a valid field format ")
    x, y, z = coords
    print("d_elm, aper, n_cell (k_s_EH)= ", *header)
    print("ksym_yz, ksym_xz, ksym_xy= ", *ksym)
    print("xmws limits= ", x[0], x[-1])
    print("ymws limits= ", y[0], y[-1])
    print("zmws limits= ", z[0], z[-1])
    print(" ksym = ", ksym.sum())

    full = unfold(fields, ksym, kind)
    nx, ny, nz = full[0].shape
    lo = [-c[-1] if s == 1 else c[0] for c, s in zip(coords, ksym)]
    hi = [c[-1] for c in coords]
    print(" Grid limits in X, Y and Z = ", lo[0], hi[0], lo[1], hi[1], lo[2], hi[2])
    steps = [(h - l) / (n - 1) for l, h, n in zip(lo, hi, (nx, ny, nz))]
    print(" Mesh sizes  in X, Y and Z = ", *steps)
    pos = [l + np.arange(n) * d for l, d, n in zip(lo, steps, (nx, ny, nz))]

    # The ten lines: (axis, first fixed node, second fixed node, title), 1-based nodes.
    cx, cy, cz = nx // 2 + 1, ny // 2 + 1, nz // 2 + 1
    mx, my = 3 * nx // 4 + 1, 3 * ny // 4 + 1
    qx, qy = 5 * nx // 8 + 2, 5 * ny // 8 + 2
    ux, uy = int(nx * 1.7071068 / 2), int(ny * 1.7071068 / 2)
    lx, ly = int(nx * 0.29289323 / 2), int(ny * 0.29289323 / 2)
    lines = [
        (0, cy, cz, "X (cm), Y=Z=0"), (1, cx, cz, "Y (cm), X=Z=0"),
        (2, cx, cy, "Z (cm), X=Y=0"), (2, cx, my, "Z (cm), X=0,Y=M"),
        (2, mx, cy, "Z (cm), X=M,Y=0"), (2, qx, my, "Z (cm), X=Q,Y=M"),
        (2, mx, qy, "Z (cm), X=M,Y=Q"), (2, mx, my, "Z (cm), X=M,Y=M"),
        (2, ux, uy, "Z (cm), X=U,Y=U"), (2, lx, ly, "Z (cm), X=L,Y=L"),
    ]
    triple = (0, 1, 2) if field == 0 else (3, 4, 5)
    unit = "V/cm" if field == 0 else "Gs"

    fig, axes = plt.subplots(5, 6, figsize=(12.8, 8.0), dpi=100)
    fig.subplots_adjust(left=0.05, right=0.99, bottom=0.09, top=0.91, wspace=0.45, hspace=0.6)
    fig.suptitle("ORVEX 3D Fields Projection Software", fontsize=12)
    fig.text(0.99, 0.97, datetime.datetime.now().strftime("%d-%b-%Y %H:%M:%S"),
             ha="right", fontsize=8)
    for n, (axis, a, b, title) in enumerate(lines):
        print(f" line {n + 1}: fixed nodes = ", a, b)
        row, col = n % 5, 3 * (n // 5)
        for m, c in enumerate(triple):
            if axis == 0:
                values = full[c][:, a - 1, b - 1]
            elif axis == 1:
                values = full[c][a - 1, :, b - 1]
            else:
                values = full[c][a - 1, b - 1, :]
            ax = axes[row, col + m]
            ax.plot(pos[axis], values, color="red", linewidth=0.8)
            ax.set_xlim(pos[axis][0], pos[axis][-1])
            ax.set_xlabel(title, fontsize=7, labelpad=1)
            ax.set_ylabel(f"{NAMES[c]} ({unit})", fontsize=7, labelpad=1)
            ax.tick_params(labelsize=6, pad=1)
            ax.grid(True, color="black", linewidth=0.5)
    fig.text(0.35, 0.02, "Q=R/4, M=R/2, U=R/sqrt(2), L=-R/sqrt(2), R=Aperture",
             color="blue", fontsize=10)
    fig.savefig("plot_map.png", dpi=100)


if __name__ == "__main__":
    main()
