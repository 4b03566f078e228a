#pragma once
// The functions that TParser registers, and the checked arithmetic they share with the
// operation routines. Every fault throws ArithmeticFault; no routine returns inf or NaN.

namespace quorrel {

using UnaryFunction = double (*)(double);
using BinaryFunction = double (*)(double, double);

//! `value` when finite; otherwise ArithmeticFault "overflow" (infinite) or "invalid
//! operation" (NaN).
double CheckedResult(double value);
//! x / y; ArithmeticFault "division by zero" when y is 0.
double CheckedDivide(double x, double y);

//! Sine and cosine that give 0 for arguments of magnitude 2^63 or more, where the
//! processor's argument reduction gives up.
double ReducedSin(double x);
double ReducedCos(double x);

double ParserSin(double x);
double ParserCos(double x);
double ParserTan(double x);
double ParserArcTan(double x);
double ParserSinh(double x);
double ParserCosh(double x);
double ParserExp(double x);
double ParserLn(double x);
double ParserSqrt(double x);
double ParserAbs(double x);
double ParserHeav(double x);
double ParserSign(double x);
double ParserZero(double x);
double ParserPh(double x);
double ParserRnd(double x);
double ParserMax(double x, double y);
double ParserMin(double x, double y);

}  // namespace quorrel
