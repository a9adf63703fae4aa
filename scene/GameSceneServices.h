#pragma once

// The scene services that programs install (setSceneServices): the tooltip
// lines of TooltipServices and the board scene's layout mode, which the
// shell chooses by screen size (GameScene::setLayoutMode). The rules' tests
// keep their own fakes.

#include "scene/widgets/TooltipServices.h"

class GameSceneServices : public TooltipServices {
public:
    int32_t layoutMode() override;
};
