// Small numeric helpers of the level meter and the fader mapping.
#pragma once

namespace zentra {

// The logarithm of x to the given base: log2(x) / log2(base).
// Meant for positive x and a positive base other than 1.
double LogBase(double base, double x);

// base raised to exponent: 1.0 when the exponent is exactly 0.0, otherwise
// exp(exponent * ln(base)). Meant for a positive base.
double PowerOf(double base, double exponent);

}  // namespace zentra
