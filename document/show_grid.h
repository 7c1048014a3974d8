// SPDX-License-Identifier: MIT
#pragma once
// The show grid's columns: five at the start size, more where the window and the thumbnails allow.
// With `columns` columns the slide at index i stands in row i / columns, column i % columns, and the
// cell at row r, column c holds slide columns * r + c.

namespace ShowGrid {

inline constexpr int Columns = 5; // at the start size

constexpr int indexAt(int row, int column, int columns) {
    return row * columns + column;
}
constexpr int rowOf(int index, int columns) {
    return index / columns;
}
constexpr int columnOf(int index, int columns) {
    return index % columns;
}
// The rows that hold `count` slides: none for an empty show.
constexpr int rowsFor(int count, int columns) {
    return (count + columns - 1) / columns;
}

} // namespace ShowGrid
