#pragma once
// Integer clamping and ceiling.
#include <cstdint>

namespace kel {

// The value truncated towards zero, plus one when its fraction is above zero.
int32_t kelCeil(double Value);

// The smaller of A and B; B when they are equal.
int32_t kelMin(int32_t A, int32_t B);
// The larger of A and B; B when they are equal.
int32_t kelMax(int32_t A, int32_t B);

// Clamps Value to [Lower, Upper], testing the lower bound first.
int32_t kelMinMax(int32_t Value, int32_t Lower, int32_t Upper);

// As kelMinMax, but a bound equal to NoLimit is not applied.
int32_t kelMinMaxNotDefault(int32_t Value, int32_t Lower, int32_t Upper, int32_t NoLimit);

} // namespace kel
