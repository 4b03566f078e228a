brush: A density at the wall, B decay length, C solvent
C+(A-C)*exp(-z/B)
3
