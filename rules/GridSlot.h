#pragma once

// A square of a grid: column x and row y; (-1, -1) stands for no square. For
// a linear grid, y is the position in the list and x is 0.

#include <cstdint>

struct GridSlot {
    GridSlot() = default;
    GridSlot(int32_t x, int32_t y) : x(x), y(y) {}

    bool operator==(const GridSlot& other) const = default;
    bool isNone() const { return x == -1 && y == -1; }

    int32_t x = -1;
    int32_t y = -1;
};
