#pragma once

// One tutorial or challenge, read from its own file "Puzzles/<name>.xml":
// the tiles and board it is played with, its script and the civs it
// includes. Its name is the file name; its display name the localised
// "Puzzle_<name>_DisplayName", else the name itself.

#include "content/PuzzleScriptSupport.h"
#include "content/XMLHelper.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/TileAllocation.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ProtoPuzzle {
public:
    static constexpr size_t cMaxIncludedTeams = 2;

    explicit ProtoPuzzle(std::string_view name);
    ProtoPuzzle(const ProtoPuzzle&) = delete;
    ProtoPuzzle& operator=(const ProtoPuzzle&) = delete;
    // Frees the script's nodes.
    virtual ~ProtoPuzzle();

    // Reads "tileAllocation", "board", "script" and "includeTeam" children
    // of the file's root. A part that fails is dropped and makes the result
    // false; reading goes on. "includeTeam" names a civ (the civs must be
    // loaded); unknown names and "Random" add nothing.
    bool load(const XmlNode* root);

    std::string mDisplayName;
    std::string mName;
    std::unique_ptr<TileAllocation> mTileAllocation;
    std::unique_ptr<ProtoGameBoard> mBoard;
    std::unique_ptr<PuzzleScriptNodeList> mScript; // null when none was read
    std::vector<int32_t> mIncludedTeams;           // civ ids

private:
    void dropScript();
};
