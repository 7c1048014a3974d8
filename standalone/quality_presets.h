// SPDX-License-Identifier: MIT
#pragma once
// The quality slider of the export's settings dialog: positions 1 (smallest files) to 20 (best
// pictures), each giving a luminance factor, a chrominance factor and a sub-sampling choice for the
// QPX conversion of the show's pictures.

#include <array>

struct QualityPreset {
    int luminance;
    int chrominance;
    int subSampling; // 0 "1/1/1", 1 "2/1/1", 2 "4/1/1"
};

inline constexpr int QualityMinimum = 1;
inline constexpr int QualityMaximum = 20;
inline constexpr int QualityOpening = 11;

// The preset of a slider position (clamped to 1..20).
inline QualityPreset qualityPreset(int position) {
    // Indexed by 21 minus the slider position.
    static constexpr std::array<QualityPreset, 20> table{{
        {8, 10, 0},  {11, 13, 0}, {14, 16, 0}, {16, 18, 1}, {20, 22, 1}, {22, 26, 1}, {24, 28, 1},
        {24, 28, 2}, {28, 32, 2}, {30, 34, 2}, {34, 38, 2}, {38, 42, 2}, {42, 46, 2}, {48, 52, 2},
        {54, 56, 2}, {60, 62, 2}, {66, 68, 2}, {74, 74, 2}, {82, 82, 2}, {90, 90, 2},
    }};
    const int clamped = position < QualityMinimum   ? QualityMinimum
                        : position > QualityMaximum ? QualityMaximum
                                                    : position;
    return table[static_cast<std::size_t>(QualityMaximum - clamped)];
}
