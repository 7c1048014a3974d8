// SPDX-License-Identifier: MIT
#pragma once
// The show grid's five columns: the slide at index i stands in row i / 5, column i % 5, and the cell
// at row r, column c holds slide 5r + c.

namespace ShowGrid {

inline constexpr int Columns = 5;

constexpr int indexAt(int row, int column) {
    return row * Columns + column;
}
constexpr int rowOf(int index) {
    return index / Columns;
}
constexpr int columnOf(int index) {
    return index % Columns;
}
// The rows that hold `count` slides: none for an empty show.
constexpr int rowsFor(int count) {
    return (count + Columns - 1) / Columns;
}

} // namespace ShowGrid
