#pragma once

#include <complex>

namespace stlib {

using real = long double;
using TPhasor = std::complex<real>;

// Brings an angle in degrees into (-180, 180].
real NormalizeAngle(real x);

// X at angle theta (degrees).
TPhasor Polar(real magnitude, real degrees);

// Direction of a phasor in (-180, 180]; 0 for the zero phasor.
real Direction(TPhasor x);

// arctan(imaginary / real) in degrees, -90..90; 0 when the real part is 0.
real AxisAngle(TPhasor x);

}  // namespace stlib
