#pragma once

// The scene services that programs install (setSceneServices): the tooltip
// lines of TooltipServices, the board scene's layout mode, which the shell
// chooses by screen size (GameScene::setLayoutMode), and the entity views
// (EntityView) with their animation driver. The rules' tests keep their own fakes.

#include "scene/widgets/TooltipServices.h"

class GameSceneServices : public TooltipServices {
public:
    int32_t layoutMode() override;
    // A new EntityView of the entity; null without an entity.
    CocosEntityLink* createEntityLink(Entity* entity) override;
    // The animation driver of the entity's EntityView; nothing for an
    // entity without one.
    void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                             const GridSlot& toward, float delay, const GridSlot& end) override;
    void playEntityAnimationInPlace(Entity* entity, int32_t state, const GridSlot& toward,
                                    float delay) override;
    void playEntityHitAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                const GridSlot& toward) override;
};
