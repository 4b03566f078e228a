#!/usr/bin/env python3
"""Makes examples/sampling/film400.dat: a 400-point measurement of examples/contrasts/film_true.par
with a resolution column, a scale of 0.9 and a background of 2e-6, for the sampling benchmark and
the posterior's help page.

Each point's sQz is 2 % of Qz plus 2e-4 1/Å (one standard deviation). The model's curve at the
points comes from quorrel-cli with that resolution (the nine-point kernel); it is scaled, the
background is added, and counting noise is drawn around it from a fixed seed, with the error
sqrt(N)/monitor. Columns: Qz, R, dR, sQz, tab-separated.

usage: python3 tools/make_sampling_example.py [--cli build/bin/quorrel-cli] [-o FILE]
"""

import argparse
import math
import pathlib
import random
import subprocess
import sys
import tempfile

SEED = 20261209
QMIN, QMAX, POINTS = 0.008, 0.25, 400
SCALE, BACKGROUND = 0.9, 2e-6
MONITOR, DOUBLING_QZ = 1.0e7, 0.05


def resolution(qz):
    return 0.02 * qz + 2e-4


def model_curve(cli, model, qz):
    """R of the model at qz with each point's resolution, from quorrel-cli."""
    with tempfile.NamedTemporaryFile("w", suffix=".dat", delete=False) as grid:
        for q in qz:
            grid.write(f"{q:.9e}\t1\t1\t{resolution(q):.9e}\n")
    command = [cli, "--decimal", ".", "reflectivity", str(model), "--data", grid.name, "--columns", "q,R,dR,sQz",
               "--resolution-from-data", "--precision", "full"]
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    pathlib.Path(grid.name).unlink()
    return [float(line.split("\t")[1]) for line in output.splitlines()]


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build" / "bin" / "quorrel-cli"))
    parser.add_argument("-o", dest="output",
                        default=str(root / "examples" / "sampling" / "film400.dat"))
    args = parser.parse_args()

    rng = random.Random(SEED)
    qz = [QMIN + (QMAX - QMIN) * i / (POINTS - 1) for i in range(POINTS)]
    curve = model_curve(args.cli, root / "examples" / "contrasts" / "film_true.par", qz)
    lines = []
    for q, r in zip(qz, curve):
        monitor = MONITOR * (1.0 + (q / DOUBLING_QZ) ** 2)
        mean = (SCALE * r + BACKGROUND) * monitor
        counts = max(1.0, mean + math.sqrt(mean) * rng.gauss(0.0, 1.0))
        lines.append(f"{q:.6e}\t{counts / monitor:.6e}\t{math.sqrt(counts) / monitor:.6e}\t"
                     f"{resolution(q):.6e}\n")
    with open(args.output, "w", newline="") as out:
        out.writelines(lines)
    print(f"{args.output}: {len(lines)} points", file=sys.stderr)


if __name__ == "__main__":
    main()
