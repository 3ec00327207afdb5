#include "model/field_limits.h"

#include <cmath>

#include "base/number_text.h"

namespace vortak {

bool isStorableCoordinate(double value) {
    return fitsInFloat(value) && std::fabs(static_cast<float>(value)) <= kMaxCoordinate;
}

bool isValidSectionValue(double value) { return value > 0 && fitsInDouble(value); }

bool isValidSpringConstant(double value) { return value >= 0 && fitsInFloat(value); }

float storedCoordinate(double value) {
    const float stored = static_cast<float>(value);
    return std::fpclassify(stored) == FP_SUBNORMAL ? 0.0f : stored;
}

}  // namespace vortak
