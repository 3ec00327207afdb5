#pragma once

namespace vortak {

// Fixed sizes of the model tables. Entity k lives at index k (1-based); index 0 is unused.
inline constexpr int kMaxNodes = 100;
inline constexpr int kMaxElements = 200;
inline constexpr int kMaxGroups = 50;
inline constexpr int kMaxDofs = 2 * kMaxNodes;

}  // namespace vortak
