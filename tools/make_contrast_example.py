#!/usr/bin/env python3
"""Makes examples/contrasts/: a polymer film on silicon measured in D2O and in H2O.

The true sample is examples/contrasts/film_true.par (silicon | 12 Å oxide | 85 Å polymer,
rho 1.2e-6 | D2O). Each contrast's curve comes from quorrel-cli at Qz points spaced by a
constant dQz/Qz, smeared with a resolution of 2.5 % (one sigma) of Qz that every point
carries as its sQz. The curve is then multiplied by the contrast's normalisation error (0.9
in D2O, 0.95 in H2O), raised by its incoherent background, and "counted": a Poisson count
around R times a monitor that rises towards high Qz, as a longer count there would. Each file
is an ORSO text file (Qz, R, sR, sQz). The random numbers come from a fixed seed, so the same
program gives the same files. Then film.qproj is made with quorrel-cli project from the
start model film.par: both contrasts, the H2O one replacing rho_bulk, and a fit setup.

usage: python3 tools/make_contrast_example.py [--cli build/bin/quorrel-cli]
"""

import argparse
import math
import pathlib
import random
import subprocess
import sys
import tempfile

# The same counting as the multilayer example's.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from make_example_data import ORSO_COLUMNS, ORSO_FIRST_LINE, poisson, smeared_columns  # noqa: E402

SEED = 20261209
QMIN, QMAX, POINTS = 0.008, 0.25, 140
RESOLUTION = 0.025                 # sigma of Qz over Qz
MONITOR, DOUBLING_QZ = 3.0e6, 0.05
# label, rho of the bulk (1/Å²), scale, background
CONTRASTS = [("D2O", 6.35e-6, 0.90, 3e-7), ("H2O", -0.56e-6, 0.95, 1.5e-6)]


def with_bulk(model_text, rho):
    """The model file's text with the bulk's rho (the line after the bulk's "N/A") replaced."""
    lines = model_text.split("\r\n")
    bulk = lines.index("bulk")
    lines[bulk + 2] = f"{rho:.3E}".replace("E-0", "E-")
    return "\r\n".join(lines)


def orso_text(label, rows):
    header = [
        ORSO_FIRST_LINE,
        f"# data_source:",
        f"#   owner: {{name: Quorrel example, affiliation: null}}",
        f"#   experiment: {{title: polymer film in {label}, instrument: simulated, "
        f"start_date: 2026-12-09T00:00:00, probe: neutron}}",
        f"#   sample: {{name: polymer film on silicon in {label}}}",
        f"#   measurement: {{instrument_settings: {{incident_angle: {{magnitude: null}}, "
        f"wavelength: {{magnitude: null}}}}, data_files: [simulated by tools/make_contrast_example.py]}}",
        "# reduction: {software: {name: tools/make_contrast_example.py}}",
        *ORSO_COLUMNS,
        "# # Qz (1/angstrom)  R  sR  sQz",
    ]
    body = [f"{q:.6e} {r:.6e} {dr:.6e} {s:.6e}" for q, r, dr, s in rows]
    return "\n".join(header + body) + "\n"


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(root / "build" / "bin" / "quorrel-cli"))
    args = parser.parse_args()
    folder = root / "examples" / "contrasts"
    true_text = (folder / "film_true.par").read_text(encoding="utf-8", errors="strict")
    ratio = (QMAX / QMIN) ** (1.0 / (POINTS - 1))
    qz = [QMIN * ratio**i for i in range(POINTS)]
    rng = random.Random(SEED)
    with tempfile.TemporaryDirectory() as scratch:
        for label, rho, scale, background in CONTRASTS:
            model = pathlib.Path(scratch) / f"{label}.par"
            model.write_bytes(with_bulk(true_text.replace("\n", "\r\n").replace("\r\r", "\r"),
                                        rho).encode("utf-8"))
            rows = []
            for q, r in zip(qz, smeared_columns(args.cli, model, qz, RESOLUTION)[0]):
                monitor = MONITOR * (1.0 + (q / DOUBLING_QZ) ** 2)
                counts = poisson(rng, (scale * r + background) * monitor)
                if counts == 0:
                    continue
                rows.append((q, counts / monitor, math.sqrt(counts) / monitor, RESOLUTION * q))
            path = folder / f"film_{label.lower()}.ort"
            path.write_text(orso_text(label, rows))
            print(f"{path}: {len(rows)} points", file=sys.stderr)
    subprocess.run([args.cli, "--decimal", ".", "project", str(folder / "film.par"),
                    str(folder / "film_d2o.ort"), str(folder / "film_h2o.ort"),
                    "--resolution-from-data", "--label", "film_d2o=D2O", "--label",
                    "film_h2o=H2O", "--override", "H2O:rho_bulk=-0.56e-6",
                    "--vary", "d_1,d_2,rho_2,sigma_2", "--scale", "--fit-background",
                    "--bounds", "d_1=5:30,d_2=40:150,rho_2=0:6.4e-6,sigma_2=1:15",
                    "--weighting", "errors", "--resolution", "--method", "lm",
                    "-o", str(folder / "film.qproj")], check=True)


if __name__ == "__main__":
    main()
