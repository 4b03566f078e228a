#!/usr/bin/env python3
"""Makes examples/multilayer_measured.dat: a synthetic measurement of examples/multilayer.par.

The model's reflectivity (with its background and resolution) comes from quorrel-cli. Each
point is then "counted": a neutron count drawn from the Poisson distribution around
R * monitor, with the monitor rising towards high Qz as a real measurement counts longer
there. The file holds Qz, the counted reflectivity and its counting error sqrt(N)/monitor,
tab-separated with CR LF line ends, as the measured data loader reads them. The random
numbers come from a fixed seed, so the same program gives the same file.

usage: python3 tools/make_example_data.py [--cli build/bin/quorrel-cli] [-o FILE]
"""

import argparse
import math
import pathlib
import random
import subprocess
import sys
import tempfile

SEED = 20240611
QMIN, QMAX, POINTS = 0.008, 0.2, 192
# Monitor counts for R = 1 at Qz = 0, and the Qz at which counting time has doubled.
MONITOR, DOUBLING_QZ = 2.0e6, 0.05


def poisson(rng, mean):
    """One Poisson count: Knuth's product method for small means, a rounded normal above."""
    if mean < 60.0:
        limit, count, product = math.exp(-mean), 0, rng.random()
        while product > limit:
            count += 1
            product *= rng.random()
        return count
    # Box-Muller from two uniforms of our own generator, so the file does not depend on how
    # a library draws normal numbers.
    u1, u2 = 1.0 - rng.random(), rng.random()
    normal = math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)
    return max(0, round(mean + math.sqrt(mean) * normal))


# The first lines of an ORSO text file, and its four columns Qz, R, sR, sQz, as the examples
# made from a smeared model write them.
ORSO_FIRST_LINE = ("# # ORSO reflectivity data file | 1.1 standard | YAML encoding | "
                   "https://www.reflectometry.org/")
ORSO_COLUMNS = [
    "# columns:",
    "# - {name: Qz, unit: 1/angstrom, physical_quantity: normal_wavevector_transfer}",
    "# - {name: R, physical_quantity: reflectivity}",
    "# - {name: sR, error_of: R, error_type: uncertainty, value_is: sigma}",
    "# - {name: sQz, unit: 1/angstrom, error_of: Qz, error_type: resolution, value_is: sigma}",
]


def smeared_columns(cli, model, qz, relative_resolution, options=()):
    """The columns after Qz that quorrel-cli reflectivity writes for the model at every qz,
    smeared with sigma = relative_resolution * qz (R; or R--, R-+, R+-, R++ with
    --spin-flip among `options`), with every digit."""
    with tempfile.TemporaryDirectory() as folder:
        grid = pathlib.Path(folder) / "grid.txt"
        grid.write_text("".join(f"{q!r} 1 0.1 {relative_resolution * q!r}\n" for q in qz))
        command = [cli, "--decimal", ".", "reflectivity", str(model), *options,
                   "--data", str(grid), "--columns", "q,R,dR,sQz", "--resolution-from-data",
                   "--precision", "full"]
        output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    rows = [line.split("\t") for line in output.splitlines() if line and line[0].isdigit()]
    return [[float(row[c]) for row in rows] for c in range(1, len(rows[0]))]


def model_curve(cli, model):
    """(Qz, R) of the model from quorrel-cli, with every digit."""
    command = [cli, "--decimal", ".", "reflectivity", str(model), "--qmin", str(QMIN),
               "--qmax", str(QMAX), "--points", str(POINTS), "--precision", "full"]
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    curve = []
    for line in output.splitlines():
        fields = line.split("\t")
        curve.append((float(fields[0]), float(fields[1])))
    return curve


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build" / "bin" / "quorrel-cli"))
    parser.add_argument("-o", dest="output", default=str(root / "examples" / "multilayer_measured.dat"))
    args = parser.parse_args()

    rng = random.Random(SEED)
    lines = []
    for qz, reflectivity in model_curve(args.cli, root / "examples" / "multilayer.par"):
        monitor = MONITOR * (1.0 + (qz / DOUBLING_QZ) ** 2)
        counts = poisson(rng, reflectivity * monitor)
        if counts == 0:
            continue  # a reflectivity of 0 is no measurement the loader takes
        lines.append(f"{qz:.6e}\t{counts / monitor:.6e}\t{math.sqrt(counts) / monitor:.6e}\r\n")
    with open(args.output, "w", newline="") as out:
        out.writelines(lines)
    print(f"{args.output}: {len(lines)} points", file=sys.stderr)


if __name__ == "__main__":
    main()
