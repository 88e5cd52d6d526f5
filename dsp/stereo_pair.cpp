#include "stereo_pair.h"

#include <cfloat>

namespace pair {

constexpr Constant kHalf{{0.5, 0.5}};
constexpr Constant kOne{{1.0, 1.0}};
constexpr Constant kMinusOne{{-1.0, -1.0}};
constexpr Constant kSignBit{{-0.0, -0.0}};
constexpr Constant kFloatMax{{FLT_MAX, FLT_MAX}};
constexpr Constant kMinusFloatMax{{-FLT_MAX, -FLT_MAX}};
constexpr Constant kDcBlockerCoefficient{{0.99999999999, 0.99999999999}};

}  // namespace pair
