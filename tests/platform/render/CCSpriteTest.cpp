#include "RenderTest.h"

#include "platform/engine/CCAnimate.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"

using namespace cocos2d;

namespace {

class SpriteTest : public RenderTest {};

// A sprite whose own init replaces the sprite's, as the healing beam's does.
class OwnInitSprite : public CCSprite {
public:
    bool init() override {
        ++inits;
        return true;
    }
    int inits = 0;
};

} // namespace

TEST_F(SpriteTest, FilesGiveTheirSizeAndMissingFilesAnEmptySprite) {
    writeSolidPng("UI/Button.png", 40, 20, {10, 20, 30, 255});
    CCSprite* button = CCSprite::spriteWithFile("UI/Button.png");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getContentSize(), CCSize(40, 20));
    EXPECT_EQ(button->getAnchorPoint(), CCPoint(0.5f, 0.5f));
    EXPECT_NE(button->getTexture(), nullptr);

    testing::internal::CaptureStdout();
    CCSprite* missing = CCSprite::spriteWithFile("UI/Nothing.png");
    CCSprite::spriteWithFile("UI/Nothing.png");
    const std::string log = testing::internal::GetCapturedStdout();
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getContentSize(), CCSizeZero);
    EXPECT_EQ(missing->getTexture(), nullptr);
    EXPECT_EQ(log, "Sprite image not found: UI/Nothing.png\n"); // once
}

TEST_F(SpriteTest, InitWithFileRunsTheVirtualInitInsteadOfTheSprites) {
    writeSolidPng("Beam.png", 16, 8, {255, 255, 255, 255});
    auto* beam = new OwnInitSprite();
    beam->setOpacity(7); // the sprite's own init would reset it
    EXPECT_TRUE(beam->initWithFile("Beam.png"));
    EXPECT_EQ(beam->inits, 1);
    EXPECT_EQ(beam->getOpacity(), 7);
    EXPECT_EQ(beam->getContentSize(), CCSize(16, 8));
    beam->release();
}

TEST_F(SpriteTest, TheQuadCarriesFlipsAndPremultipliedColour) {
    writeSolidPng("Sheet.png", 100, 50, {255, 255, 255, 255});
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage("Sheet.png");
    CCSprite* sprite = CCSprite::spriteWithTexture(texture, CCRect(10, 0, 50, 25));
    sprite->setColor(ccc3(255, 128, 0));
    sprite->setOpacity(128);
    const ccV3F_C4B_T2F_Quad plain = sprite->getQuad();
    EXPECT_FLOAT_EQ(plain.tl.texCoords.u, 0.1f);
    EXPECT_FLOAT_EQ(plain.tr.texCoords.u, 0.6f);
    EXPECT_FLOAT_EQ(plain.tl.texCoords.v, 0.0f);
    EXPECT_FLOAT_EQ(plain.bl.texCoords.v, 0.5f);
    EXPECT_FLOAT_EQ(plain.tr.vertices.x, 50.0f);
    EXPECT_FLOAT_EQ(plain.tr.vertices.y, 25.0f);
    EXPECT_EQ(plain.bl.colors, ccc4(128, 64, 0, 128));

    sprite->setFlipX(true);
    EXPECT_FLOAT_EQ(sprite->getQuad().tl.texCoords.u, 0.6f);
    sprite->setFlipY(true);
    EXPECT_FLOAT_EQ(sprite->getQuad().tl.texCoords.v, 0.5f);
    EXPECT_TRUE(sprite->isFlipX());

    sprite->setTintColor(ccc3(0, 0, 0));
    EXPECT_EQ(sprite->getTintColor(), ccBLACK);
    sprite->setTintColor(ccc3(40, 50, 60));
    EXPECT_EQ(sprite->getTintColor(), ccc3(40, 50, 60));
    EXPECT_EQ(sprite->getColor(), ccc3(255, 128, 0)); // the tint stays apart
}

TEST_F(SpriteTest, HighDefinitionQuadsArePixelsOfPointSizes) {
    highDefinition();
    writeSolidPng("Unit.png", 30, 30, {1, 1, 1, 255});
    writeSolidPng("Unit-hd.png", 60, 60, {1, 1, 1, 255});
    CCSprite* sprite = CCSprite::spriteWithFile("Unit.png");
    EXPECT_EQ(sprite->getContentSize(), CCSize(30, 30));
    EXPECT_FLOAT_EQ(sprite->getQuad().tr.vertices.x, 60.0f);
    EXPECT_FLOAT_EQ(sprite->getQuad().tr.texCoords.u, 1.0f);
}

TEST_F(SpriteTest, TheFrameCacheRegistersReplacesAndForgetsFrames) {
    writeSolidPng("Sheet.png", 64, 32, {1, 1, 1, 255});
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage("Sheet.png");
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    EXPECT_EQ(frames->spriteFrameByName("Knight"), nullptr);
    CCSpriteFrame* first = CCSpriteFrame::frameWithTexture(texture, CCRect(0, 0, 32, 32));
    CCSpriteFrame* second = CCSpriteFrame::frameWithTexture(texture, CCRect(32, 0, 32, 32));
    frames->addSpriteFrame(first, "Knight");
    EXPECT_EQ(frames->spriteFrameByName("Knight"), first);
    frames->addSpriteFrame(second, "Knight");
    EXPECT_EQ(frames->spriteFrameByName("Knight"), second);
    EXPECT_EQ(second->getTexture(), texture);

    CCSprite* sprite = CCSprite::spriteWithSpriteFrameName("Knight");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getTextureRect(), CCRect(32, 0, 32, 32));
    EXPECT_TRUE(sprite->isFrameDisplayed(second));
    EXPECT_FALSE(sprite->isFrameDisplayed(first));

    frames->removeSpriteFrameByName("Knight");
    EXPECT_EQ(frames->spriteFrameByName("Knight"), nullptr);
    EXPECT_EQ(CCSprite::spriteWithSpriteFrameName("Knight"), nullptr);
    frames->removeSpriteFrameByName("Knight"); // absent: nothing happens
}

TEST_F(SpriteTest, AnimateShowsTheFramesInTurnAndRestoresTheFirst) {
    writeSolidPng("Walk.png", 90, 30, {1, 1, 1, 255});
    CCScene* scene = CCScene::node();
    director()->runWithScene(scene);
    director()->tick(0); // drains the pool: make the animation after

    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage("Walk.png");
    CCAnimation* walk = CCAnimation::animation();
    for (int i = 0; i < 3; ++i)
        walk->addFrame(CCSpriteFrame::frameWithTexture(texture, CCRect(30.0f * i, 0, 30, 30)));
    walk->setDelay(0.1f);
    CCSprite* sprite = CCSprite::spriteWithTexture(texture, CCRect(60, 0, 30, 30));
    scene->addChild(sprite);
    sprite->runAction(CCAnimate::actionWithAnimation(walk, true));

    const std::pair<float, float> steps[] = {{0.01f, 0}, {0.1f, 30}, {0.1f, 60}};
    for (const auto& [dt, x] : steps) {
        director()->tick(dt);
        EXPECT_FLOAT_EQ(sprite->getTextureRect().origin.x, x) << dt;
    }
    director()->tick(0.2f);
    EXPECT_EQ(sprite->numberOfRunningActions(), 0u);
    EXPECT_FLOAT_EQ(sprite->getTextureRect().origin.x, 60); // the frame before the action
}
