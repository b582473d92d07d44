#pragma once

namespace vyn {

// Least-squares coefficients c[0..d] of a polynomial of degree d <= 4 through the n points,
// built from polynomials orthogonal over the points (no normal equations). Returns d.
// Throws QNumericFault when the points cannot carry the degree (a zero norm).
int OrthoPolyFit(int d, double c[], const double x[], const double y[], int n);

// c[0] + c[1]*t + ... + c[d]*t^d by Horner's rule.
double PolyValue(int d, const double c[], double t);

}  // namespace vyn
