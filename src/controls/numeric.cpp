#include "controls/numeric.h"

#include <cmath>

namespace zentra {

double LogBase(double base, double x) { return std::log2(x) / std::log2(base); }

double PowerOf(double base, double exponent) {
  if (exponent == 0.0) return 1.0;
  return std::exp(exponent * std::log(base));
}

}  // namespace zentra
