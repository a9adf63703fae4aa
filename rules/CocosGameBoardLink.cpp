#include "rules/CocosGameBoardLink.h"

#include "rules/GameBoard.h"

#include "content/settings/ProtoGameBoard.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>

CocosGameBoardLink::CocosGameBoardLink(GameBoard* owner) : CocosEntityGridLink(owner) {
    mCellSize = cocos2d::CCSize(52.222f, 50.0f);
    mFarScale = SettingsManager::instance().mBoardMaxDistanceWidthScale;
}

cocos2d::CCPoint CocosGameBoardLink::getCellOffset() const {
    const auto* board = dynamic_cast<const GameBoard*>(mOwner);
    const ProtoGameBoard* layout = board != nullptr ? board->getProtoGameBoard() : nullptr;
    if (layout == nullptr)
        return cocos2d::CCPoint(0.0f, 0.0f);
    return cocos2d::CCPoint(layout->mGridOffset.x, layout->mGridOffset.y);
}

void CocosGameBoardLink::highlightSlot(const GridSlot& /*slot*/,
                                       const cocos2d::ccColor3B& /*color*/) {}
void CocosGameBoardLink::hideSlotHighlights() {}
void CocosGameBoardLink::showRangeArrows(const Entity* /*unit*/) {}
void CocosGameBoardLink::hideRangeArrows() {}
void CocosGameBoardLink::showTeleporterEffect(const GridSlot& /*slot*/, float /*delay*/) {}
void CocosGameBoardLink::hideTeleporterEffects() {}

void CocosGameBoardLink::highlightSlots(const GridSlot& from, const GridSlot& to,
                                        const cocos2d::ccColor3B& color) {
    for (int32_t y = std::min(from.y, to.y); y <= std::max(from.y, to.y); ++y)
        for (int32_t x = std::min(from.x, to.x); x <= std::max(from.x, to.x); ++x)
            highlightSlot(GridSlot(x, y), color);
}
