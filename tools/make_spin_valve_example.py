#!/usr/bin/env python3
"""Makes examples/spin_valve/: the four spin channels of a spin valve with a twisted free layer.

The true sample is examples/spin_valve.layers: a cap, a free layer of three slices whose
magnetisation turns from 30 to 80 degrees, a copper spacer, a pinned cobalt layer along the
guide field and a buffer on silicon. Its four channels R--, R-+, R+-, R++ come from
quorrel-cli (reflectivity --spin-flip) at Qz points spaced by a constant dQz/Qz, smeared with a
resolution of 2.5 % (one sigma) of Qz that every point carries as its sQz. Each point is then
"counted": a Poisson count around R times a monitor that rises towards high Qz, plus a small
flat background that a real instrument's spin-flip channels show. Points that count nothing
are left out. The four channels are the four data sets of one ORSO text file, each naming
its polarisation.

Then spin_valve.qproj is made with quorrel-cli project: the start model is the true one with
every slice of the free layer at 60 degrees, the fit setup varies the three angles and the
free layer's magnetic density (rhoM_3 and rhoM_4 linked to rhoM_2) and each channel's
background, all within bounds, so that the posterior can be sampled as it stands. The random
numbers come from a fixed seed, so the same program gives the same files.

usage: python3 tools/make_spin_valve_example.py [--cli build/bin/quorrel-cli]
"""

import argparse
import math
import pathlib
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from make_example_data import ORSO_COLUMNS, ORSO_FIRST_LINE, poisson, smeared_columns  # noqa: E402

SEED = 20261210
QMIN, QMAX, POINTS = 0.008, 0.16, 120
RESOLUTION = 0.025                 # sigma of Qz over Qz
MONITOR, DOUBLING_QZ = 2.0e6, 0.04
BACKGROUND = 2e-7
START_ANGLE = "60"
FREE_ROWS = (2, 3, 4)              # the free layer's slices among the table's layers
# The channels in the order quorrel-cli writes them, with ORSO's polarisation names.
CHANNELS = [("R--", "mm"), ("R-+", "mp"), ("R+-", "pm"), ("R++", "pp")]


def orso_header(channel, polarisation, first):
    """The header of one channel's data set: the whole header for the first, and for the
    others a "data_set" line followed by what differs, the polarisation."""
    settings = ("#     instrument_settings: {incident_angle: {magnitude: null}, "
                f"wavelength: {{magnitude: null}}, polarization: {polarisation}}}")
    if not first:
        return [f"# data_set: {channel}", "# data_source:", "#   measurement:", settings,
                "# # Qz (1/angstrom)  R  sR  sQz"]
    return [
        ORSO_FIRST_LINE,
        "# data_source:",
        "#   owner: {name: Quorrel example, affiliation: null}",
        "#   experiment: {title: spin valve with a twisted free layer, instrument: simulated,"
        " start_date: 2026-12-09T00:00:00, probe: neutron}",
        "#   sample: {name: spin valve on silicon}",
        "#   measurement:",
        settings,
        "#     data_files: [simulated by tools/make_spin_valve_example.py]",
        "# reduction: {software: {name: tools/make_spin_valve_example.py}}",
        f"# data_set: {channel}",
        *ORSO_COLUMNS,
        "# # Qz (1/angstrom)  R  sR  sQz",
    ]


def with_start_angles(table):
    """The layer table with the free layer's slices at START_ANGLE degrees."""
    lines, layer = [], -1
    for line in table.splitlines():
        if line.startswith("#") or not line.strip():
            lines.append(line)
            continue
        layer += 1
        cells = line.split("\t")
        if layer in FREE_ROWS:
            cells[3] = START_ANGLE
        lines.append("\t".join(cells))
    return "\n".join(lines) + "\n"


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build" / "bin" / "quorrel-cli"))
    args = parser.parse_args()
    folder = root / "examples" / "spin_valve"
    folder.mkdir(exist_ok=True)
    table = root / "examples" / "spin_valve.layers"
    cli = [args.cli, "--decimal", "."]
    subprocess.run(cli + ["import-model", str(table), "-o", str(folder / "spin_valve_true.qproj")],
                   check=True)
    ratio = (QMAX / QMIN) ** (1.0 / (POINTS - 1))
    qz = [QMIN * ratio**i for i in range(POINTS)]
    curves = smeared_columns(args.cli, folder / "spin_valve_true.qproj", qz, RESOLUTION,
                             ["--spin-flip"])
    rng = random.Random(SEED)
    text = []
    for c, (channel, polarisation) in enumerate(CHANNELS):
        text += orso_header(channel, polarisation, c == 0)
        for q, r in zip(qz, curves[c]):
            monitor = MONITOR * (1.0 + (q / DOUBLING_QZ) ** 2)
            counts = poisson(rng, (r + BACKGROUND) * monitor)
            if counts == 0:
                continue
            text.append(f"{q:.6e} {counts / monitor:.6e} {math.sqrt(counts) / monitor:.6e} "
                        f"{RESOLUTION * q:.6e}")
    data = folder / "spin_valve.ort"
    data.write_text("\n".join(text) + "\n")
    with tempfile.TemporaryDirectory() as scratch:
        start_table = pathlib.Path(scratch) / "spin_valve_start.layers"
        start_table.write_text(with_start_angles(table.read_text()))
        start = pathlib.Path(scratch) / "start.qproj"
        subprocess.run(cli + ["import-model", str(start_table), "-o", str(start)], check=True)
        channels = []
        for n, (channel, _) in enumerate(CHANNELS, start=1):
            channels += ["--channel", f"{n}={channel}"]
        subprocess.run(cli + ["project", str(start), str(data), "--all-datasets",
                              "--resolution-from-data", *channels,
                              "--vary", "rhoM_2,thetaM_2,thetaM_3,thetaM_4",
                              "--bounds", "rhoM_2=0:4e-6,thetaM_2=0:180,thetaM_3=0:180,"
                                          "thetaM_4=0:180," + ",".join(
                                              f"background y0 [{c}]=0:2e-6" for c, _ in CHANNELS),
                              "--link", "rhoM_3=rhoM_2", "--link", "rhoM_4=rhoM_2",
                              "--fit-background",
                              "--weighting", "errors", "--resolution", "--method", "lm",
                              "-o", str(folder / "spin_valve.qproj")], check=True)
    print(f"{data}: {len(text)} lines", file=sys.stderr)


if __name__ == "__main__":
    main()
