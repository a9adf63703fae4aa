#include "content/settings/SettingsManager.h"

#include "content/DataFileCrc.h"
#include "content/protos/ProtoFields.h"

#include <cstdio>

namespace {

using S = SettingsManager;
using K = FieldKind;

// The elements read straight into one member. Presence switches turn on
// whatever the element holds, even "false".
const FieldKey<S> cSettingsKeys[] = {
    {"boardWidth", K::Int, &S::mBoardWidth},
    {"boardHeight", K::Int, &S::mBoardHeight},
    {"boardMaxDistanceWidthScale", K::Float, &S::mBoardMaxDistanceWidthScale},
    {"restrictedTargeting", K::Presence, &S::mRestrictedTargeting},
    {"rangedAttackBlocking", K::Presence, &S::mRangedAttackBlocking},
    {"rangedAttackBlockingVersion2", K::Presence, &S::mRangedAttackBlockingVersion2},
    {"splitTileChest", K::Presence, &S::mSplitTileChest},
};

// The elements whose text keeps the member when it is out of range.
struct CheckedIntKey {
    std::string_view name;
    int32_t SettingsManager::*member;
};

const CheckedIntKey cCheckedIntKeys[] = {
    {"tileRackWidth", &S::mTileRackWidth},
    {"actionPointsPerTurn", &S::mActionPointsPerTurn},
    {"knockoutDeathThreshold", &S::mKnockoutDeathThreshold},
    {"scoreToWin", &S::mScoreToWin},
    {"initialUnitWeighting", &S::mInitialUnitWeighting},
    {"victoryDamageOnCorpseStomp", &S::mVictoryDamageOnCorpseStomp},
};

} // namespace

SettingsManager::SettingsManager() = default;

SettingsManager::~SettingsManager() = default;

SettingsManager& SettingsManager::instance() {
    static SettingsManager settings;
    return settings;
}

void SettingsManager::clear() {
    *this = SettingsManager();
}

bool SettingsManager::init() {
    std::printf("Initializing settings manager.\n");
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("settings", root, holder) || !loadSettings(root))
        return false;
    if (!loadGameBoards() || !loadCivs() || !loadPlayerColors())
        return false;
    mInitialized = true;
    std::printf("Settings manager complete.\n");
    return true;
}

bool SettingsManager::loadSettings(const XmlNode* root) {
    if (!root) // an empty file holds no settings
        return false;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling()) {
        if (element->type() != rapidxml::node_element)
            continue;
        if (readFieldKey<SettingsManager>(*this, cSettingsKeys, element))
            continue;
        bool matched = false;
        for (const CheckedIntKey& key : cCheckedIntKeys) {
            if (xmlNameEquals(element, key.name)) {
                xmlValueInt(element, this->*key.member);
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (xmlNameEquals(element, "scoring")) {
            mScoringInfo = std::make_unique<ScoringInfo>();
            mScoringInfo->load(element);
        } else if (xmlNameEquals(element, "defaultActionCost")) {
            loadDefaultActionCost(element);
        } else if (xmlNameEquals(element, "useVictoryHealthPool")) {
            xmlValueBool(element, mUseVictoryHealthPool);
        } else if (xmlNameEquals(element, "premiumTile")) {
            auto kind = std::make_unique<ProtoPremiumTile>();
            if (!kind->load(element))
                return false;
            mPremiumTiles.push_back(std::move(kind));
        } else if (xmlNameEquals(element, "Aura")) {
            auto aura = std::make_unique<ProtoAura>();
            if (!aura->load(element)) {
                std::printf("**> Aura without a type in settings\n");
                return false;
            }
            mAuras.push_back(std::move(aura));
        }
    }
    if (mBoardWidth < 0 || mBoardHeight < 0) {
        std::printf("**> negative board size %d x %d in settings\n", mBoardWidth, mBoardHeight);
        return false;
    }
    return true;
}

void SettingsManager::loadDefaultActionCost(const XmlNode* element) {
    std::string name;
    xmlAttrString(element, "type", name);
    const int32_t type = actionTypeFromName(name);
    if (type >= 0) // an unknown type is skipped
        xmlValueInt(element, mDefaultActionCost[type]);
}

const ProtoPremiumTile* SettingsManager::premiumTileKind(int32_t type) const {
    for (const auto& kind : mPremiumTiles)
        if (kind && kind->mType == type)
            return kind.get();
    return nullptr;
}
