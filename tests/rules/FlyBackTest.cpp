// The fly-back of a tile to its own square: the swish where it starts, the
// landing sound where it lands, both reaching the audio engine.

#include "RulesTestSupport.h"

#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"

#include <cstdio>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

using FlyBackTest = RulesTest;

// The audio calls of a sound played at x with volume and pitch 1.
std::vector<std::string> playedAt(int id, const std::string& file, float x) {
    char pan[64];
    std::snprintf(pan, sizeof pan, "setEffectPan %d %g", id,
                  double(soundPanForPosition(CCPoint(x, 0))));
    const std::string n = std::to_string(id);
    return {"playEffect " + n + " " + file + " loop=0", pan, "setEffectPitch " + n + " 1",
            "setEffectVolume " + n + " 1"};
}

} // namespace

TEST_F(FlyBackTest, ATileSwishesAtOnceAndLandsPannedAtItsSquare) {
    FakeSceneServices services;
    SoundRecorder sounds;
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    director->setWinSizeInPixels(CCSize(960, 640));
    cocos2d::CCScene* scene = cocos2d::CCScene::node();
    cocos2d::CCLayer* layer = cocos2d::CCLayer::node();
    scene->addChild(layer);
    director->runWithScene(scene);
    director->tick(0);

    MeasuredGrid rack(mGame, CCSize(50, 40), 1.0f);
    rack.setSize(6, 1);
    Entity* knight = entity(create(cKnight));
    ASSERT_TRUE(rack.addEntityAt(knight->mId, GridSlot(5, 0)));
    ASSERT_TRUE(rack.linkAt(CCPoint(0, 0)));
    cocos2d::CCNode* node = knight->getEntityLink()->getMainNode();
    layer->addChild(node);
    node->setPosition(CCPoint(40, 300)); // where the drag left it
    const CCPoint target = rack.pointForCoords(GridSlot(5, 0), true);

    knight->returnToRackSlot();
    director->tick(0);
    EXPECT_EQ(sounds.calls(), playedAt(1, "UI_Game_CannotPlace_Swish", 40));
    director->tick(0.0625f);
    EXPECT_EQ(sounds.calls().size(), 4u);
    director->tick(0.0625f);
    std::vector<std::string> expected = playedAt(1, "UI_Game_CannotPlace_Swish", 40);
    for (const std::string& call : playedAt(2, "sound/Game_Tile_Land_InRack.mp3", target.x))
        expected.push_back(call);
    EXPECT_EQ(sounds.calls(), expected);
    EXPECT_EQ(node->getPosition(), target);
    rack.unlink();
}
