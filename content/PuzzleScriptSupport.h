#pragma once

// What the puzzle catalogue needs of the puzzle scripts: parsing a puzzle
// file's "script" element into nodes, freeing them, and refreshing the
// cached category indices of the tutorials after the catalogue is rebuilt.
//
// The puzzle-script code implements PuzzleScriptSupport and installs it at
// start-up. Without it no script can be read: loadPuzzleScriptNodes fails (the
// catalogue then drops the puzzle) and there is nothing to cache. An
// implementation must stay installed while puzzles hold its nodes.

#include "content/XMLHelper.h"

#include <vector>

class PuzzleScriptNode;
using PuzzleScriptNodeList = std::vector<PuzzleScriptNode*>;

class PuzzleScriptSupport {
public:
    virtual ~PuzzleScriptSupport();
    // Appends one node per child element of script; a child that fails is
    // dropped and makes the result false. False for a null element.
    virtual bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes) = 0;
    // Frees every node of nodes and empties the list.
    virtual void deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes) = 0;
    // Looks up the category indices the tutorials keep.
    virtual void cacheTutorialCategoryIndices() = 0;
};

// Installs support (which must outlive its use); null removes it.
void setPuzzleScriptSupport(PuzzleScriptSupport* support);
PuzzleScriptSupport* puzzleScriptSupport();

// The calls of the installed support; without one: false, nothing, nothing.
bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes);
void deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes);
void cacheTutorialCategoryIndices();
