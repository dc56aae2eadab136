#include "Angles.h"

#include <cmath>
#include <numbers>

namespace stlib {
namespace {

constexpr real kDegree = std::numbers::pi_v<real> / 180;

}  // namespace

real NormalizeAngle(real x) {
    if (x != 0) {
        const real q = std::trunc(x / 360);
        if (std::fabs(q) >= 1) x -= 360 * q;
        if (std::fabs(x) >= 180) x = x > 0 ? -(360 - x) : 360 + x;
    }
    return x == -180 ? 180 : x;
}

TPhasor Polar(real magnitude, real degrees) {
    return {magnitude * std::cos(degrees * kDegree), magnitude * std::sin(degrees * kDegree)};
}

real Direction(TPhasor x) {
    if (x == TPhasor{}) return 0;
    return NormalizeAngle(std::atan2(x.imag(), x.real()) / kDegree);
}

real AxisAngle(TPhasor x) { return x.real() == 0 ? 0 : std::atan(x.imag() / x.real()) / kDegree; }

}  // namespace stlib
