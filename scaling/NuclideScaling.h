#pragma once
// The choice of scaling scheme for a nuclide.

#include <cstdint>

namespace qex {

using ScalingScheme = std::int32_t;
inline constexpr ScalingScheme kStone2000 = 0;
inline constexpr ScalingScheme kLal1991 = 1;
inline constexpr ScalingScheme kDunai2000 = 2;

} // namespace qex
