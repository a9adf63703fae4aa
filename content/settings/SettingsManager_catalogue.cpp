// SettingsManager: the boards, civs and player colours of their own files,
// the puzzle catalogue, and the lookups over them.

#include "content/settings/SettingsManager.h"

#include "content/DataFileCrc.h"
#include "content/NoCase.h"
#include "content/Preferences.h"
#include "content/PuzzleScriptSupport.h"

#include <cstdio>

namespace {

constexpr std::string_view cRandomCiv = "Random";
constexpr std::string_view cCompletedPuzzlePrefix = "CompletedPuzzle_";

bool isElement(const XmlNode* node) {
    return node->type() == rapidxml::node_element;
}

// The element at a position of a list, or null outside it.
template <class T> T* atIndex(const std::vector<std::unique_ptr<T>>& list, int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(list.size()))
        return nullptr;
    return list[index].get();
}

} // namespace

bool SettingsManager::loadGameBoards() {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("gameboards", root, holder) || !root)
        return false;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling()) {
        if (!isElement(element) || !xmlNameEquals(element, "board"))
            continue;
        auto board = std::make_unique<ProtoGameBoard>();
        if (board->load(element))
            mGameBoards.push_back(std::move(board));
    }
    return true;
}

bool SettingsManager::loadCivs() {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("civs", root, holder) || !root)
        return false;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling()) {
        if (!isElement(element) || !xmlNameEquals(element, "civ"))
            continue;
        bool test = false;
        if (xmlAttrBool(element, "test", test) && test)
            continue;
        int32_t id = 0;
        if (!xmlAttrInt(element, "ID", id) || getCiv(id))
            continue; // no readable id, or the first civ of that id stays
        auto civ = std::make_unique<ProtoCiv>(id);
        if (!civ->load(element)) {
            std::printf("ERROR: failed to load a ProtoCiv.\n");
            continue;
        }
        mCivs.push_back(std::move(civ));
    }
    return true;
}

bool SettingsManager::loadPlayerColors() {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadCheckedXmlFile("PlayerColors", root, holder) || !root)
        return false;
    for (const XmlNode* element = root->first_node(); element; element = element->next_sibling()) {
        if (!isElement(element))
            continue;
        if (xmlNameEquals(element, "home"))
            loadColorList(element, mHomeColors);
        else if (xmlNameEquals(element, "away"))
            loadColorList(element, mAwayColors);
    }
    return true;
}

void SettingsManager::loadColorList(const XmlNode* list,
                                    std::vector<std::unique_ptr<PlayerColor>>& colors) {
    for (const XmlNode* element = list->first_node(); element; element = element->next_sibling()) {
        if (!isElement(element))
            continue;
        auto color = std::make_unique<PlayerColor>();
        if (!color->load(element)) {
            std::printf("skipping invalid player color\n");
            continue;
        }
        colors.push_back(std::move(color));
    }
}

void SettingsManager::loadPuzzleCategories() {
    clearPuzzleCategories();
    loadPuzzleCategoryFile("tutorialsCategories");
    loadPuzzleCategoryFile("challengesCategories");
    mChallengesCategoryIndex = categoryIndexForName("Challenges");
    mTutorialsCategoryIndex = categoryIndexForName("Tutorials");
    cacheTutorialCategoryIndices();
}

void SettingsManager::loadPuzzleCategoryFile(std::string_view name) {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (loadXmlFile("Puzzles/" + std::string(name), root, holder) && root)
        parsePuzzleCategory(root);
}

int32_t SettingsManager::parsePuzzleCategory(const XmlNode* element) {
    if (!element || !xmlNameEquals(element, "category"))
        return -1;
    auto category = std::make_unique<PuzzleCategory>();
    xmlAttrString(element, "name", category->mName);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (!isElement(child))
            continue;
        if (xmlNameEquals(child, "category")) {
            const int32_t index = parsePuzzleCategory(child);
            if (index >= 0)
                category->mSubcategories.push_back(index);
        } else if (xmlNameEquals(child, "puzzle")) {
            std::string filename;
            xmlAttrString(child, "filename", filename);
            if (std::unique_ptr<ProtoPuzzle> puzzle = loadPuzzle(filename))
                category->mPuzzles.push_back(std::move(puzzle));
        }
    }
    mPuzzleCategories.push_back(std::move(category));
    return static_cast<int32_t>(mPuzzleCategories.size()) - 1;
}

std::unique_ptr<ProtoPuzzle> SettingsManager::loadPuzzle(std::string_view filename) {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadXmlFile("Puzzles/" + std::string(filename), root, holder) || !root)
        return nullptr;
    auto puzzle = std::make_unique<ProtoPuzzle>(filename);
    if (!puzzle->load(root))
        return nullptr;
    return puzzle;
}

void SettingsManager::clearPuzzleCategories() {
    mPuzzleCategories.clear();
}

ProtoGameBoard* SettingsManager::getGameBoard(int32_t index) const {
    if (mGameBoards.empty())
        return nullptr;
    const uint32_t count = static_cast<uint32_t>(mGameBoards.size());
    if (index < 0 || static_cast<uint32_t>(index) >= count) {
        std::printf("WARNING: old game board proto index, adjusting\n");
        return mGameBoards[static_cast<uint32_t>(index) % count].get();
    }
    return mGameBoards[index].get();
}

ProtoCiv* SettingsManager::getCiv(int32_t civId) const {
    for (const auto& civ : mCivs)
        if (civ->mId == civId)
            return civ.get();
    return nullptr;
}

bool SettingsManager::civNameForID(int32_t civId, std::string& outName) const {
    const ProtoCiv* civ = getCiv(civId);
    if (!civ)
        return false;
    outName = civ->mName;
    return true;
}

bool SettingsManager::civIDForName(std::string_view name, int32_t& outCivId) const {
    if (name == cRandomCiv) {
        outCivId = -1;
        return true;
    }
    for (const auto& civ : mCivs) {
        if (civ->mName == name) {
            outCivId = civ->mId;
            return true;
        }
    }
    return false;
}

int32_t SettingsManager::civIndexForName(std::string_view name) const {
    for (size_t i = 0; i < mCivs.size(); ++i)
        if (equalsNoCase(mCivs[i]->mName, name))
            return static_cast<int32_t>(i);
    return -1;
}

ProtoCiv* SettingsManager::civForName(std::string_view name) const {
    int32_t civId = -1;
    if (name == cRandomCiv || !civIDForName(name, civId))
        return nullptr;
    return getCiv(civId);
}

PlayerColor* SettingsManager::getHomeColor(int32_t index) const {
    return atIndex(mHomeColors, index);
}

PlayerColor* SettingsManager::getAwayColor(int32_t index) const {
    return atIndex(mAwayColors, index);
}

const PuzzleCategory* SettingsManager::category(int32_t index) const {
    return atIndex(mPuzzleCategories, index);
}

int32_t SettingsManager::categoryIndexForName(std::string_view name) const {
    for (size_t i = 0; i < mPuzzleCategories.size(); ++i)
        if (mPuzzleCategories[i]->mName == name)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t SettingsManager::subcategoryCount(int32_t index) const {
    const PuzzleCategory* found = category(index);
    return found ? static_cast<int32_t>(found->mSubcategories.size()) : 0;
}

int32_t SettingsManager::puzzleCount(int32_t index) const {
    const PuzzleCategory* found = category(index);
    return found ? static_cast<int32_t>(found->mPuzzles.size()) : 0;
}

int32_t SettingsManager::getSubcategory(int32_t index, int32_t n) const {
    const PuzzleCategory* found = category(index);
    if (!found || n < 0 || n >= static_cast<int32_t>(found->mSubcategories.size()))
        return -1;
    return found->mSubcategories[n];
}

bool SettingsManager::categoryName(int32_t index, std::string& outName) const {
    const PuzzleCategory* found = category(index);
    if (!found)
        return false;
    outName = found->mName;
    return true;
}

ProtoPuzzle* SettingsManager::getPuzzle(int32_t index, int32_t n) const {
    const PuzzleCategory* found = category(index);
    return found ? atIndex(found->mPuzzles, n) : nullptr;
}

void SettingsManager::setPuzzleCompleted(int32_t index, int32_t n) const {
    if (const ProtoPuzzle* puzzle = getPuzzle(index, n))
        prefSetBool(std::string(cCompletedPuzzlePrefix) + puzzle->mName, true);
}

bool SettingsManager::isPuzzleCompleted(int32_t index, int32_t n) const {
    const ProtoPuzzle* puzzle = getPuzzle(index, n);
    bool completed = false;
    if (puzzle)
        prefGetBool(std::string(cCompletedPuzzlePrefix) + puzzle->mName, completed);
    return completed;
}

bool SettingsManager::isCategoryCompleted(int32_t index) const {
    const int32_t count = puzzleCount(index);
    for (int32_t n = 0; n < count; ++n)
        if (!isPuzzleCompleted(index, n))
            return false;
    return true;
}
