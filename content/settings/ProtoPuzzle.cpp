#include "content/settings/ProtoPuzzle.h"

#include "content/LocalizedStrings.h"
#include "content/protos/ProtoFields.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"

ProtoPuzzle::ProtoPuzzle(std::string_view name)
    : mDisplayName(localizedStringOrDefault("Puzzle_" + std::string(name) + "_DisplayName", name)),
      mName(name) {}

ProtoPuzzle::~ProtoPuzzle() {
    dropScript();
}

void ProtoPuzzle::dropScript() {
    if (mScript)
        deletePuzzleScriptNodes(*mScript);
    mScript.reset();
}

bool ProtoPuzzle::load(const XmlNode* root) {
    if (!root)
        return false;
    bool result = true;
    for (const XmlNode* child = root->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "tileAllocation")) {
            mTileAllocation = std::make_unique<TileAllocation>();
            if (!mTileAllocation->load(child)) {
                mTileAllocation.reset();
                result = false;
            }
        } else if (xmlNameEquals(child, "board")) {
            mBoard = std::make_unique<ProtoGameBoard>();
            if (!mBoard->load(child)) {
                mBoard.reset();
                result = false;
            }
        } else if (xmlNameEquals(child, "script")) {
            dropScript();
            mScript = std::make_unique<PuzzleScriptNodeList>();
            if (!loadPuzzleScriptNodes(child, *mScript)) {
                dropScript();
                result = false;
            }
        } else if (xmlNameEquals(child, "includeTeam")) {
            if (mIncludedTeams.size() >= cMaxIncludedTeams)
                continue;
            if (const ProtoCiv* civ = SettingsManager::instance().civForName(xmlText(child)))
                mIncludedTeams.push_back(civ->mId);
        }
    }
    return result;
}
