#include "scene/GameScene.h"

#include "scene/SettingsLayer.h"

void GameScene::onSettingsButton() {
    addChild(new SettingsLayer(), cModalZOrder);
}
