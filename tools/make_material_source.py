#!/usr/bin/python3
"""Writes src/database/materials.tsv, the text source of the shipped material table.

Every value comes from Debian's python3-periodictable, whose tables are named in the header
of the file written; only the compound densities are this script's own (the COMPOUNDS list).
The build turns the source into bin/database/quorrel.db and needs no Python.

usage: tools/make_material_source.py [OUTPUT]   (default src/database/materials.tsv)
"""

import pathlib
import sys

import periodictable
from periodictable import constants, xsf
from periodictable.formulas import mix_by_weight

XRAY_KEV = 8.047  # Cu K-alpha, the energy of the table's delta and beta

# Densities periodictable does not tabulate (a record needs one): literature values, the
# unmeasured ones being estimates. Actinium's follows from its fcc lattice, see below.
DENSITY_SUPPLEMENT = {
    "At": (6.4, "estimated density"),
    "Rn": (4.4, "literature density of the liquid at its boiling point"),
    "Fr": (1.87, "estimated density"),
    "Ra": (5.5, "literature density"),
}

# name, formula, density g/cm3 (room temperature unless the comment says), comment
COMPOUNDS = [
    ("SiO2 (quartz)", "SiO2", 2.648, "alpha-quartz, crystalline"),
    ("SiO2", "SiO2", 2.20, "amorphous: fused silica, thermal oxide"),
    ("Si3N4", "Si3N4", 3.17, ""),
    ("SiC", "SiC", 3.21, ""),
    ("Al2O3 (sapphire)", "Al2O3", 3.98, ""),
    ("AlN", "AlN", 3.26, ""),
    ("TiO2 (rutile)", "TiO2", 4.23, ""),
    ("Ta2O5", "Ta2O5", 8.2, ""),
    ("HfO2", "HfO2", 9.68, ""),
    ("ZrO2", "ZrO2", 5.68, ""),
    ("Y2O3", "Y2O3", 5.01, ""),
    ("Cr2O3", "Cr2O3", 5.22, ""),
    ("Fe2O3", "Fe2O3", 5.25, "hematite"),
    ("Fe3O4", "Fe3O4", 5.17, "magnetite"),
    ("NiO", "NiO", 6.67, ""),
    ("CoO", "CoO", 6.44, ""),
    ("MgO", "MgO", 3.58, ""),
    ("ZnO", "ZnO", 5.61, ""),
    ("SrTiO3", "SrTiO3", 5.12, ""),
    ("LaAlO3", "LaAlO3", 6.52, ""),
    ("Gd3Ga5O12", "Gd3Ga5O12", 7.08, "GGG"),
    ("ITO", None, 7.14, "In2O3 90 wt% + SnO2 10 wt%, per In2O3 unit"),
    ("GaAs", "GaAs", 5.32, ""),
    ("GaN", "GaN", 6.15, ""),
    ("CaF2", "CaF2", 3.18, ""),
    ("LiF", "LiF", 2.635, ""),
    ("MgF2", "MgF2", 3.148, ""),
    ("NiFe (permalloy)", "Ni0.8Fe0.2", 8.72, "Ni80Fe20 by atoms, per atom"),
    ("H2O", "H2O", 0.9982, "20 C"),
    ("D2O", "D2O", 1.1056, "20 C"),
    ("PS (C8H8)", "C8H8", 1.05, "polystyrene, per monomer"),
    ("d-PS (C8D8)", "C8D8", 1.13, "deuterated polystyrene, per monomer"),
    ("PMMA (C5H8O2)", "C5H8O2", 1.18, "per monomer"),
    ("PE (C2H4)", "C2H4", 0.92, "low-density polyethylene, per monomer"),
    ("toluene (C7H8)", "C7H8", 0.862, "25 C"),
    ("d-toluene (C7D8)", "C7D8", 0.943, "25 C"),
]

HEADER = """\
# Material table of Quorrel: the source of bin/database/quorrel.db.
# Written by tools/make_material_source.py with python3-periodictable {version}; edit that
# script, not this file, and run it again to regenerate.
# Tables used (as periodictable cites them):
#   molar masses: NIST Atomic Weights and Isotopic Compositions (Coplen 1999, 2001 review);
#   element densities: CRC Handbook of Chemistry and Physics, 80th ed. (Lide 1999), as in
#     the X-ray Data Booklet, gases as liquids at their boiling points;
#   b_coh (fm) and abs_xs (barn, 2200 m/s): Neutron Data Booklet (Rauch and Waschkowski
#     2003), Sears (1992);
#   delta and beta at 8047 eV: Henke, Gullikson and Davis (1993) scattering factors (CXRO),
#     from the density of the record.
#   densities of At, Rn, Fr and Ra: literature values and estimates listed in the script;
#     of Ac: from its fcc lattice constant (Ashcroft and Mermin, periodictable);
# Compound densities are typical room temperature literature values listed in the script.
# Compound values are sums over the formula unit; an empty field means no tabulated value.
# Columns are tab-separated, in the table's field order.
"""

COLUMNS = ["name", "info1", "ncharge", "weight", "density", "delta", "beta", "b_coh",
           "abs_xs", "type", "ID"]


def number(value, digits):
    """A value as the table stores it: text with a decimal point, or empty when unknown."""
    return "" if value is None else "%.*g" % (digits, value)


def xray_constants(formula, density):
    n = xsf.index_of_refraction(formula, density=density, energy=XRAY_KEV)
    return 1 - n.real, -n.imag


def neutron_constants(formula):
    b_coh = absorption = 0.0
    for atom, count in formula.atoms.items():
        if atom.neutron.b_c is None or atom.neutron.absorption is None:
            return None, None
        b_coh += count * atom.neutron.b_c
        absorption += count * atom.neutron.absorption
    return b_coh, absorption


def lattice_density(element):
    """Density of a cubic crystal from its lattice constant, g/cm3."""
    structure = element.crystal_structure
    atoms = {"fcc": 4, "BCC": 2, "SC": 1}[structure["symmetry"]]
    return atoms * element.mass / (constants.avogadro_number * (structure["a"] * 1e-8) ** 3)


def element_density(element):
    """The density and, when it is not periodictable's own, a note on where it comes from."""
    if element.density is not None:
        return element.density, ""
    if element.symbol in DENSITY_SUPPLEMENT:
        return DENSITY_SUPPLEMENT[element.symbol]
    return round(lattice_density(element), 3), "density from the lattice constant"


def element_comment(element, density_note, missing):
    notes = [density_note] if density_note else []
    caveat = element.density_caveat or ""
    if caveat.startswith("T=-"):
        notes.append("density of the liquid at its boiling point")
    if element.neutron.is_energy_dependent:
        notes.append("neutron absorption depends strongly on energy")
    if missing:
        notes.append("no tabulated " + " or ".join(missing))
    return "; ".join(notes)


def row(name, comment, charge, formula, density, kind, ident):
    delta, beta = xray_constants(formula, density)
    b_coh, absorption = neutron_constants(formula)
    return [name, comment, str(charge), number(formula.mass, 8),
            number(density, 6), number(delta, 4), number(beta, 4), number(b_coh, 6),
            number(absorption, 6), kind, str(ident)]


def element_rows():
    for element in periodictable.elements:
        if not 1 <= element.number <= 92:
            continue
        formula = periodictable.formula(element.symbol)
        density, density_note = element_density(element)
        missing = []
        if element.neutron.b_c is None or element.neutron.absorption is None:
            missing.append("neutron values")
        yield row(element.symbol, element_comment(element, density_note, missing),
                  element.number, formula, density, "ELEMENT", element.number)


def ito():
    mixture = mix_by_weight("In2O3", 90, "SnO2", 10)
    scale = 2 / mixture.atoms[periodictable.In]
    return periodictable.formula({atom: count * scale for atom, count in mixture.atoms.items()})


def compound_rows(first_id):
    for offset, (name, text, density, comment) in enumerate(COMPOUNDS):
        formula = ito() if text is None else periodictable.formula(text)
        yield row(name, comment, 0, formula, density, "COMPOUND", first_id + offset)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src/database/materials.tsv"
    lines = [HEADER.format(version=periodictable.__version__).rstrip("\n"), "\t".join(COLUMNS)]
    lines += ["\t".join(fields) for fields in element_rows()]
    lines += ["\t".join(fields) for fields in compound_rows(93)]
    temporary = target.with_suffix(target.suffix + ".tmp")
    temporary.write_text("\n".join(lines) + "\n", encoding="utf-8")
    temporary.replace(target)


if __name__ == "__main__":
    main()
