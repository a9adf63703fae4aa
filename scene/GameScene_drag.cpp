// The drag tooltip: while a tile is dragged over the board, the unit under
// it wears the "Highlight" aura and its tooltip panel follows beside it.

#include "scene/GameScene.h"

#include "scene/EntityView.h"
#include "scene/widgets/TooltipLayer.h"

#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/TooltipProtocol.h"

#include "platform/engine/CCDirector.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

constexpr int32_t cHighlightAura = 19;
constexpr int cDragTooltipZOrder = 40000;

// The entity view behind a tooltip target of an entity's kind (0 or 2).
EntityView* entityViewOf(TooltipProtocol* target) {
    if (target == nullptr || (target->mTooltipKind != 0 && target->mTooltipKind != 2))
        return nullptr;
    return dynamic_cast<EntityView*>(target);
}

} // namespace

void GameScene::updateDrag(float, float, TooltipProtocol* target, bool buttonDown) {
    const bool replaying = mGame != nullptr && mGame->isReplaying();
    EntityView* targetView = entityViewOf(target);
    Entity* targetEntity = targetView != nullptr ? targetView->entity() : nullptr;
    if (!replaying && targetView != nullptr && targetEntity != mDragTooltipEntity)
        targetView->showAura(cHighlightAura, true, 0.0f, false);
    if (mDragTooltipEntity != nullptr && mDragTooltipEntity != targetEntity)
        if (EntityView* old =
                entityViewOf(dynamic_cast<EntityView*>(mDragTooltipEntity->getEntityLink())))
            old->hideAura(cHighlightAura, true, 0.0f);
    const bool wanted = targetEntity != nullptr && buttonDown && !replaying;
    if (wanted && mDragTooltip != nullptr && mDragTooltipEntity == targetEntity)
        return;
    closeDragTooltip();
    mDragTooltipEntity = targetEntity;
    if (wanted)
        showDragTooltip();
}

void GameScene::closeDragTooltip() {
    if (mDragTooltip == nullptr)
        return;
    if (auto* layer = dynamic_cast<TooltipLayer*>(mDragTooltip))
        layer->close();
    mDragTooltip->release();
    mDragTooltip = nullptr;
}

void GameScene::showDragTooltip() {
    auto* view = mDragTooltipEntity != nullptr
                     ? dynamic_cast<EntityView*>(mDragTooltipEntity->getEntityLink())
                     : nullptr;
    if (view == nullptr)
        return;
    auto* layer = new TooltipLayer(view, false);
    layer->setAnchorPoint(CCPoint(0, 1));
    addChild(layer, cDragTooltipZOrder);
    layer->retain(); // the scene's own reference, beside the layer's
    mDragTooltip = layer;

    const CCSize win = cocos2d::CCDirector::sharedDirector()->getWinSize();
    const CCSize size = layer->getContentSize();
    const float sw = size.width * layer->getScaleX();
    const float sh = size.height * layer->getScaleY();
    const CCPoint p = view->getTooltipIndicatorPosition();
    CCPoint place(p.x + 15.0f, p.y - 15.0f);
    bool final = false;
    if (win.width - p.x < sw + 15.0f) { // no room to the right
        if (p.y >= sh + 15.0f) {
            place.x = win.width - sw;
            final = true;
        } else {
            place.x = p.x - sw - 15.0f;
        }
    }
    if (!final && p.y < sh + 15.0f)
        place.y = sh;
    layer->setPosition(place);
}
