#pragma once

// The puzzle scripts as the catalogue needs them (content/PuzzleScriptSupport.h):
// parsing a puzzle's "script" element into nodes, freeing them, and caching
// the category indices of the four civ tutorials. Programs install it with
// installPuzzleScriptSupport before the catalogue loads; without it every
// puzzle with a script is dropped.

#include "content/PuzzleScriptSupport.h"

#include <array>
#include <cstdint>
#include <string_view>

class PuzzleScriptLoader : public PuzzleScriptSupport {
public:
    // Appends one node per child element of script in document order; a
    // node that fails is freed and makes the result false, the others are
    // kept. False (nothing added) for a null element.
    bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes) override;
    // Frees every node with everything below it and empties the list.
    void deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes) override;
    // Looks up the categories of cTutorialCategoryNames in the catalogue
    // (SettingsManager::categoryIndexForName); called after it is rebuilt.
    void cacheTutorialCategoryIndices() override;
};

// Installs the process-wide loader (idempotent).
void installPuzzleScriptSupport();

// The civ tutorials' categories, whose completion earns an achievement.
inline constexpr std::array<std::string_view, 4> cTutorialCategoryNames = {
    "Meet the Council", "Meet the Dark Elves", "Meet the Dwarves", "Meet the Tribe"};

// Their category indices in the order of cTutorialCategoryNames, -1 for a
// name the catalogue lacks (all -1 before the first cache).
const std::array<int32_t, 4>& tutorialCategoryIndices();
