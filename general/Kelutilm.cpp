#include "general/Kelutilm.h"

#include <cmath>

namespace kel {

int32_t kelCeil(double Value)
{
    double whole = std::trunc(Value);
    int32_t result = static_cast<int32_t>(whole);
    if (Value - whole > 0) ++result;
    return result;
}

int32_t kelMin(int32_t A, int32_t B) { return A < B ? A : B; }

int32_t kelMax(int32_t A, int32_t B) { return A > B ? A : B; }

int32_t kelMinMax(int32_t Value, int32_t Lower, int32_t Upper)
{
    if (Value < Lower) return Lower;
    if (Value > Upper) return Upper;
    return Value;
}

int32_t kelMinMaxNotDefault(int32_t Value, int32_t Lower, int32_t Upper, int32_t NoLimit)
{
    if (Lower > Value && Lower != NoLimit) return Lower;
    if (Upper < Value && Upper != NoLimit) return Upper;
    return Value;
}

} // namespace kel
