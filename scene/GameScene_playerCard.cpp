#include "scene/GameScene.h"

#include "scene/PlayerCardLayer.h"

void GameScene::openPlayerCard(const PlayerRecord& record) {
    addChild(new PlayerCardLayer(record), cModalZOrder);
}
