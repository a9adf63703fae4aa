#include "platform/engine/CCScene.h"

#include "platform/engine/CCDirector.h"

namespace cocos2d {

CCScene* CCScene::node() {
    auto* scene = new CCScene();
    scene->init();
    scene->autorelease();
    return scene;
}

bool CCScene::init() {
    setIsRelativeAnchorPoint(false);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

} // namespace cocos2d
