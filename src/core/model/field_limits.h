#pragma once

// What the model's number fields may hold. The editing dialogs, the mouse input, the node
// tools and the file reader all check against these, so that a value refused in one is
// refused in all of them, and everything the model holds is written and read back as it is.

namespace vortak {

// Node coordinates stay within +-1E+38: then the difference of any two, in the single
// precision the element geometry uses, and so every element length and the model's
// extents, stays finite.
inline constexpr float kMaxCoordinate = 1.0e38f;

// A coordinate read from a box or a file, or computed by a tool.
bool isStorableCoordinate(double value);
// Young's modulus E or a section area A: positive, and a normal double.
bool isValidSectionValue(double value);
// A spring constant: 0 (no spring) or positive, and storable in single precision.
bool isValidSpringConstant(double value);

// A computed coordinate as stored: in single precision, with a result too small to be held
// as a normal number made 0 (it is below 1.2E-38 anyway).
float storedCoordinate(double value);

}  // namespace vortak
