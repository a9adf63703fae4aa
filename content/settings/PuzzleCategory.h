#pragma once

// One node of the tutorials and challenges catalogue: its name, the
// catalogue indices of its sub-categories and its puzzles, in file order.

#include "content/settings/ProtoPuzzle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct PuzzleCategory {
    std::string mName;
    std::vector<int32_t> mSubcategories;
    std::vector<std::unique_ptr<ProtoPuzzle>> mPuzzles;
};
