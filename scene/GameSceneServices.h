#pragma once

// The scene services that programs install (setSceneServices): the tooltip
// lines of TooltipServices, the board scene's layout mode, which the shell
// chooses by screen size (GameScene::setLayoutMode), and the entity views
// (EntityView). The rules' tests keep their own fakes.

#include "scene/widgets/TooltipServices.h"

class GameSceneServices : public TooltipServices {
public:
    int32_t layoutMode() override;
    // A new EntityView of the entity; null without an entity.
    CocosEntityLink* createEntityLink(Entity* entity) override;
};
