#pragma once

#include <cstdint>

namespace vortak {

// Colours are stored as red + 256*green + 65536*blue. A value with the high bit set names
// a desktop palette colour by its index in the low bits instead of an RGB triple.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0x80000000u;

constexpr Colour packColour(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) + 256u * static_cast<Colour>(green & 0xFF) +
           65536u * static_cast<Colour>(blue & 0xFF);
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFFu); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFFu); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFFu); }
constexpr bool isSystemColour(Colour c) { return (c & kSystemColourFlag) != 0; }
constexpr int systemColourIndex(Colour c) { return static_cast<int>(c & 0xFFFFFFu); }

}  // namespace vortak
