// SPDX-License-Identifier: MIT
#pragma once
// How much of a show's extension block (its JSON beyond the slide records) is read: far beyond any
// show's own data, far below what makes reading it slow or large. The program and the packages'
// players read a block by the same limits. Plain C++, header only.

namespace ShowBlockLimits {

// A block is read only up to this size: no show's own data comes near it (500 slides with long
// captions and motions take some hundred kilobytes).
inline constexpr long long MaxBytes = 4 * 1024 * 1024;
// The deepest nesting of lists and objects, and the most values (keys counted), a block may hold.
inline constexpr int MaxDepth = 64;
inline constexpr long long MaxValues = 100000;

} // namespace ShowBlockLimits
