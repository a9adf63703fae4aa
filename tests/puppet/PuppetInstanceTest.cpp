#include "PuppetTestSupport.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCParticleSystemQuad.h"
#include "platform/render/CCSprite.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "rules/core/RNG.h"
#include "scene/sound/SoundPlayback.h"

using namespace cocos2d;

namespace {

constexpr int32_t cIdle = 0;
const int32_t cAttack = animStateFromName("Attack");
const int32_t cMove = animStateFromName("Move");

class PuppetInstanceTest : public PuppetTest {
protected:
    void SetUp() override {
        PuppetTest::SetUp();
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        auto backend = std::make_unique<CocosDenshion::RecordingAudioBackend>();
        mRecord = backend.get();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
        gSoundsEnabled = true;
        BConfig::instance().defineById(cOptSound);
        writeImage("Art/Box.png");
        writeData("Art/Box.PuppetAttachment", R"(<Attachment textureName="Art/Box.png"/>)");
        writeData("Art/Other.PuppetAttachment", R"(<Attachment textureName="Art/Box.png"/>)");
        writeData("Art/Third.PuppetAttachment", R"(<Attachment textureName="Art/Box.png"/>)");
        // Constant poses, so that every time shows the same frame.
        writeData("Anims/Still.PuppetAnim",
                  R"(<a><node name="Body"><frame time="0"/><frame time="1"/></node></a>)");
        writeData("Anims/Turn.PuppetAnim",
                  R"(<a><node name="Body"><frame time="0" rotation="90" translationX="20"/>
                     <frame time="1" rotation="90" translationX="20"/></node></a>)");
        writeData("Anims/Blink.PuppetAnim",
                  R"(<a><node name="Body"><frame time="0"/><frame time="0.005"/></node></a>)");
        gRng.seed(7);
    }
    void TearDown() override {
        mNodes.clear();
        CCDirector::sharedDirector()->purgeDirector();
        CCPoolManager::sharedPoolManager()->finalize();
        EffectGroup::clearRegistry();
        CocosDenshion::SimpleAudioEngine::end();
        BConfig::instance().unsetById(cOptSound);
        PuppetTest::TearDown();
    }

    // A puppet of one "Body" part in the torso slot with the given extra
    // children; its index.
    int32_t puppet(std::string_view name, std::string_view children) {
        writeData(std::string(name) + ".Puppet",
                  "<Puppet><Part type=\"Torso\" bone=\"Body\" defaultAttachment=\"Art/Box\">"
                  "<Replacement category=\"weapon\" attachment=\"Art/Third\"/></Part>" +
                      std::string(children) + "</Puppet>");
        return PuppetRegistry::loadPuppet(name);
    }
    // A retained instance released at the end of the test.
    PuppetInstance* instance(int32_t index) {
        PuppetInstance* node = PuppetInstance::create(index);
        node->retain();
        mNodes.emplace_back(node, [](PuppetInstance* n) {
            n->cleanup(); // the scheduler lets go of it
            n->release();
        });
        return node;
    }
    static CCSprite* sprite(const PuppetInstance* node, size_t part = 0) {
        return part < node->getParts().size() ? node->getParts()[part]->mSprite : nullptr;
    }
    // The audio calls since the last look, with the data folder left out.
    std::vector<std::string> takeCalls() {
        auto calls = mRecord->calls();
        mRecord->clear();
        const std::string folder = (mFolder / "data").string() + "/";
        for (std::string& call : calls)
            if (const auto at = call.find(folder); at != std::string::npos)
                call.erase(at, folder.size());
        return calls;
    }

    // A running scene that the director's ticks drive.
    static CCScene* runScene() {
        CCScene* scene = CCScene::node();
        CCDirector::sharedDirector()->runWithScene(scene);
        CCDirector::sharedDirector()->tick(0);
        return scene;
    }
    static void tick(float dt, int n = 1) {
        for (int i = 0; i < n; ++i)
            CCDirector::sharedDirector()->tick(dt);
    }

    CocosDenshion::RecordingAudioBackend* mRecord = nullptr;
    std::vector<std::unique_ptr<PuppetInstance, void (*)(PuppetInstance*)>> mNodes;
};

TEST_F(PuppetInstanceTest, StatesWithoutAnimationHoldTimeZeroAndShowTheBaseTransform) {
    writeData("Art/Box.PuppetAttachment",
              R"(<Attachment textureName="Art/Box.png" rotation="30" translationX="8"/>)");
    const int32_t index = puppet("Units/One", R"(<Anim type="Idle" name="Anims/Turn"/>)");
    for (const int32_t state : {52, 5, -1}) {
        PuppetInstance* node = instance(index);
        node->playAnimation(state, 0.5f, true, 0.0f);
        node->update(0.3f);
        EXPECT_EQ(node->getCurrentAnim(), -1) << state;
        EXPECT_FLOAT_EQ(node->getCurrentTime(), 0.0f) << state;
        ASSERT_NE(sprite(node), nullptr);
        EXPECT_FLOAT_EQ(sprite(node)->getRotation(), -30.0f) << state;
        EXPECT_FLOAT_EQ(sprite(node)->getPosition().x, 4.0f) << state;
    }
}

TEST_F(PuppetInstanceTest, CrossFadesLinearlyOverTheBlend) {
    const int32_t index = puppet("Units/Two", R"(<Anim type="Idle" name="Anims/Still"/>
        <Anim type="Attack" name="Anims/Turn"/><Anim type="Move" name="Anims/Still"/>)");
    PuppetInstance* node = instance(index);
    node->playAnimation(cIdle, 0, true, 0.0f);
    node->playAnimation(cAttack, 0, true, 0.0f);
    EXPECT_FALSE(node->isBlending()) << "blend 0 cuts";
    EXPECT_NEAR(sprite(node)->getRotation(), 90.0f, 1e-3);

    node->playAnimation(cIdle, 0, true, 0.0f);
    node->playAnimation(cAttack, 0, true, 0.4f);
    EXPECT_FLOAT_EQ(sprite(node)->getRotation(), 0.0f) << "all old pose at the start";
    node->update(0.2f);
    EXPECT_NEAR(sprite(node)->getRotation(), 45.0f, 1e-3) << "halfway at b/2";
    EXPECT_NEAR(sprite(node)->getPosition().x, 5.0f, 1e-3);
    node->update(0.2f);
    EXPECT_FALSE(node->isBlending());
    EXPECT_NEAR(sprite(node)->getRotation(), 90.0f, 1e-3);

    // A second start during a fade fades from the animation current then.
    node->playAnimation(cIdle, 0, true, 0.4f);
    node->update(0.2f);                        // 45 degrees, fading from Turn
    node->playAnimation(cMove, 0, true, 0.4f); // Still again
    EXPECT_NEAR(sprite(node)->getRotation(), 0.0f, 1e-3)
        << "fades from Idle (0), not from the older Turn";
}

TEST_F(PuppetInstanceTest, TimeWrapsClampsOrHolds) {
    const int32_t index = puppet("Units/Three", R"(<Anim type="Idle" name="Anims/Blink"/>
        <Anim type="Attack" name="Anims/Still"/>)");
    PuppetInstance* node = instance(index);
    node->playAnimation(cIdle, 0, true, 0.0f);
    node->update(0.003f);
    EXPECT_FLOAT_EQ(node->getCurrentTime(), 0.0f) << "shorter than 0.01 s holds 0";
    node->playAnimation(cAttack, 0.5f, false, 0.0f);
    EXPECT_FLOAT_EQ(node->getCurrentTime(), 0.5f);
    node->update(0.75f);
    EXPECT_FLOAT_EQ(node->getCurrentTime(), 1.0f) << "no loop: the last pose holds";
    node->playAnimation(cAttack, 0.5f, true, 0.0f);
    node->update(0.75f);
    EXPECT_NEAR(node->getCurrentTime(), 0.25f, 1e-5);
}

TEST_F(PuppetInstanceTest, TagsFireOnceWithoutLoopAndAgainAfterAWrap) {
    writeData("Anims/Long.PuppetAnim",
              R"(<a><node name="Body"><frame time="0"/><frame time="1"/></node>
                 <node name="Hand"><frame time="0"/><frame time="1"/></node></a>)");
    const int32_t index = puppet("Units/Four", R"(<Anim type="Attack" name="Anims/Long">
        <Tag Type="OverrideAttachment" Time="0.5" Part="Torso" Attachment="Art/Other"/>
        <Tag Type="PlaySound" Time="0.95" Filename="sound/end.wav" positional="false"/>
        <Tag Type="PlaySound" Time="1.05" Filename="sound/late.wav" positional="false"/>
        <Tag Type="PlaySound" Time="0.1" Filename="sound/start.wav" positional="false"/>
        </Anim>)");
    const int32_t other = PuppetRegistry::loadAttachment("Art/Other");
    PuppetInstance* node = instance(index);
    node->playAnimation(cAttack, 0, false, 0.0f);
    node->update(0.6f);
    EXPECT_EQ(node->getParts()[0]->mAttachment, other) << "the override rebuilt the part";
    node->update(0.6f);
    node->update(0.6f);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"playEffect 1 sound/start.wav loop=0",
                                                     "playEffect 2 sound/end.wav loop=0"}));

    node->playAnimation(cAttack, 0.8f, true, 0.0f);
    EXPECT_NE(node->getParts()[0]->mAttachment, other) << "a new start drops the override";
    node->update(0.35f); // 0.8 -> 1.15 wraps to 0.15
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"playEffect 3 sound/end.wav loop=0",
                                                     "playEffect 4 sound/late.wav loop=0",
                                                     "playEffect 5 sound/start.wav loop=0"}));
    node->update(0.4f);
    EXPECT_EQ(node->getParts()[0]->mAttachment, other);
    node->update(0.6f); // wraps: the override goes
    EXPECT_NE(node->getParts()[0]->mAttachment, other);
}

struct PoseCase {
    const char* name;
    const char* base;  // attachment attributes
    const char* frame; // key-frame attributes
    const char* sizes; // puppet children
    float contentScale;
    float x, y, rotation, scaleX, scaleY, anchorX, anchorY;
};

TEST_F(PuppetInstanceTest, PoseMaths) {
    const PoseCase cases[] = {
        {"identity", "", "", "", 1, 0, 0, 0, 1, 1, 0, 0},
        {"key frame only", "", R"(translationX="10" translationY="-6" rotation="30" scaleX="2")",
         "", 1, 5, -3, 30, 2, 1, 0, 0},
        {"base rotated by the frame", R"(translationX="4" translationY="2" rotation="10")",
         R"(rotation="90")", "", 1, 1, -2, 80, 1, 1, 2, 1},
        {"definition scale and corner", R"(translationX="4" scaleX="3")",
         R"(translationY="8" scaleY="2")",
         "<ScaleX>2</ScaleX><ScaleY>0.5</ScaleY><CornerOffsetX>2</CornerOffsetX>"
         "<CornerOffsetY>4</CornerOffsetY>",
         1, 3, 0, 0, 6, 1, 2, 0},
        {"content scale 2", R"(translationX="4" translationY="-2")", "", "", 2, 2, -1, 0, 1, 1, 4,
         -2},
    };
    int n = 0;
    for (const PoseCase& c : cases) {
        const std::string suffix = std::to_string(n++);
        CCDirector::sharedDirector()->setContentScaleFactor(c.contentScale);
        writeData("Art/Pose" + suffix + ".PuppetAttachment",
                  std::string("<Attachment textureName=\"Art/Box.png\" ") + c.base + "/>");
        writeData("Anims/Pose" + suffix + ".PuppetAnim",
                  std::string("<a><node name=\"Body\"><frame time=\"0\" ") + c.frame +
                      "/><frame time=\"1\" " + c.frame + "/></node></a>");
        writeData("Units/Pose" + suffix + ".Puppet",
                  "<Puppet><Part type=\"Torso\" bone=\"Body\" defaultAttachment=\"Art/Pose" +
                      suffix + "\"/><Anim type=\"Idle\" name=\"Anims/Pose" + suffix + "\"/>" +
                      c.sizes + "</Puppet>");
        PuppetInstance* node = instance(PuppetRegistry::loadPuppet("Units/Pose" + suffix));
        node->playAnimation(cIdle, 0, true, 0.0f);
        CCSprite* part = sprite(node);
        ASSERT_NE(part, nullptr) << c.name;
        EXPECT_NEAR(part->getPosition().x, c.x, 1e-3) << c.name;
        EXPECT_NEAR(part->getPosition().y, c.y, 1e-3) << c.name;
        EXPECT_NEAR(part->getRotation(), c.rotation, 1e-3) << c.name;
        EXPECT_NEAR(part->getScaleX(), c.scaleX, 1e-4) << c.name;
        EXPECT_NEAR(part->getScaleY(), c.scaleY, 1e-4) << c.name;
        EXPECT_NEAR(part->getScaleAnchorPoint().x, c.anchorX, 1e-4) << c.name;
        EXPECT_NEAR(part->getScaleAnchorPoint().y, c.anchorY, 1e-4) << c.name;
    }
}

TEST_F(PuppetInstanceTest, HealthCategoriesSwitchAttachments) {
    const struct {
        int percent;
        const char* category;
    } cases[] = {{50, "HealthWeak"},  {51, "HealthMiddle"}, {99, "HealthMiddle"},
                 {100, "HealthFull"}, {150, "HealthFull"},  {0, "HealthWeak"}};
    PuppetInstance* node = instance(puppet("Units/Health", ""));
    for (const auto& c : cases) {
        node->setHealthCategory(c.percent);
        for (const char* name : {"HealthWeak", "HealthMiddle", "HealthFull"})
            EXPECT_EQ(node->hasCategory(PuppetRegistry::categoryIndex(name)),
                      std::string(name) == c.category)
                << c.percent << " " << name;
    }
    const int32_t weapon = PuppetRegistry::categoryIndex("weapon");
    node->addCategory(weapon);
    EXPECT_EQ(node->getParts()[0]->mAttachment, PuppetRegistry::loadAttachment("Art/Third"));
    node->removeCategory(weapon);
    EXPECT_EQ(node->getParts()[0]->mAttachment, PuppetRegistry::loadAttachment("Art/Box"));
}

TEST_F(PuppetInstanceTest, BonePositions) {
    PuppetInstance* node = instance(puppet("Units/Bones", R"(<Anim type="Idle" name="Anims/Turn"/>
        <CornerOffsetX>6</CornerOffsetX><CornerOffsetY>-4</CornerOffsetY>)"));
    const int32_t body = PuppetRegistry::boneIndex("Body");
    const int32_t tail = PuppetRegistry::boneIndex("Tail");
    EXPECT_EQ(node->getBonePosition(-1, body, -1, false), CCPoint(0, 0)) << "nothing playing";
    EXPECT_EQ(node->getBonePosition(cIdle, body, 0.5f, false), CCPoint(10, 0));
    node->playAnimation(cIdle, 0, true, 0.0f);
    EXPECT_EQ(node->getBonePosition(-1, body, -1, true), CCPoint(7, 2));
    EXPECT_EQ(node->getBonePosition(-1, tail, -1, false), CCPoint(0, 0));
    EXPECT_EQ(node->getBonePosition(-1, tail, -1, true), CCPoint(-3, 2));
    EXPECT_EQ(node->getBonePosition(-1, -1, -1, true), CCPoint(0, 0));
}

TEST_F(PuppetInstanceTest, NestedPuppetsShowOrHideButNeverFade) {
    const int32_t inner = puppet("Units/Inner", R"(<Anim type="Idle" name="Anims/Still"/>)");
    writeData("Art/Holder.PuppetAttachment", R"(<Attachment puppetName="Units/Inner"/>)");
    writeData("Units/Outer.Puppet", R"(<Puppet><Part type="Torso" bone="Body"
        defaultAttachment="Art/Holder"/></Puppet>)");
    PuppetInstance* node = instance(PuppetRegistry::loadPuppet("Units/Outer"));
    ASSERT_EQ(node->getParts().size(), 1u);
    PuppetInstance* nested = node->getParts()[0]->mNestedPuppet;
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->getPuppetIndex(), inner);
    EXPECT_EQ(nested->getCurrentState(), cIdle);
    EXPECT_EQ(nested->getParent(), node);
    node->setOpacity(1);
    EXPECT_EQ(nested->getOpacity(), 255);
    node->setOpacity(0);
    EXPECT_EQ(nested->getOpacity(), 0);
}

TEST_F(PuppetInstanceTest, NewestOverrideWinsAndClearingRestoresTheOlder) {
    PuppetInstance* node = instance(puppet("Units/Over", ""));
    const int32_t torso = puppetPartSlotFromName("Torso");
    const int32_t other = PuppetRegistry::loadAttachment("Art/Other");
    const int32_t third = PuppetRegistry::loadAttachment("Art/Third");
    const int32_t first = node->addOverride(torso, other);
    const int32_t second = node->addOverride(torso, third);
    EXPECT_EQ(node->getParts()[0]->mAttachment, third);
    node->clearOverride(second);
    EXPECT_EQ(node->getParts()[0]->mAttachment, other);
    node->clearOverride(first);
    EXPECT_EQ(node->getParts()[0]->mAttachment, PuppetRegistry::loadAttachment("Art/Box"));
    node->clearOverride(7); // out of range: nothing
    EXPECT_EQ(node->getParts().size(), 1u);
}

TEST_F(PuppetInstanceTest, FlipColourAndDynamicText) {
    PuppetInstance* node = instance(puppet("Units/Flip", ""));
    node->setScaleX(2.0f);
    node->setFlipX(true);
    EXPECT_FLOAT_EQ(node->getScaleX(), -2.0f);
    EXPECT_TRUE(node->isFlipX());
    node->setScaleX(3.0f);
    EXPECT_FLOAT_EQ(node->getScaleX(), -3.0f);
    node->setFlipX(false);
    EXPECT_FLOAT_EQ(node->getScaleX(), 3.0f);

    EXPECT_EQ(ccRGBAProtocolOf(node), node->getRGBAProtocol());
    node->setColor(ccc3(10, 20, 30));
    EXPECT_EQ(sprite(node)->getColor().g, 20);
    node->setTintColor(ccc3(5, 6, 7));
    EXPECT_EQ(sprite(node)->getTintColor().b, 7);

    writeData("Art/Label.PuppetAttachment",
              R"(<Attachment><text><key type="dynamic">Damage</key></text></Attachment>)");
    node->setDynamicText("Damage", "-12");
    node->addOverride(puppetPartSlotFromName("Torso"), PuppetRegistry::loadAttachment("Art/Label"));
    auto* label = dynamic_cast<CCLabelTTF*>(sprite(node));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::string(label->getString()), "-12");
}

TEST_F(PuppetInstanceTest, HitTestUsesTheClickMaskThenTheNestedPuppet) {
    writeData("Art/Masked.PuppetAttachment",
              R"(<Attachment textureName="Art/Box.png" clickMaskName="Art/Box.png"/>)");
    writeData("Art/Holder.PuppetAttachment", R"(<Attachment puppetName="Units/Inner"/>)");
    writeData("Units/Inner.Puppet", R"(<Puppet><Part type="Torso" bone="Body"
        defaultAttachment="Art/Masked"/></Puppet>)");
    writeData("Units/Hit.Puppet", R"(<Puppet><Part type="Torso" bone="Body"
        defaultAttachment="Art/Masked"/><Part type="Head" bone="Head"
        defaultAttachment="Art/Holder"/></Puppet>)");
    PuppetInstance* node = instance(PuppetRegistry::loadPuppet("Units/Hit"));
    node->update(0);
    // The 4 x 4 part is centred on the origin: x -2..-0 opaque, 0..2 clear.
    EXPECT_TRUE(node->hitTest(CCPoint(-1, 0)));
    EXPECT_FALSE(node->hitTest(CCPoint(1, 0)));
    ASSERT_EQ(node->getParts().size(), 2u);
    for (PuppetPartInstance* part : node->getParts())
        if (part->mNestedPuppet)
            part->mNestedPuppet->setPosition(CCPoint(10, 0));
    EXPECT_TRUE(node->hitTest(CCPoint(9, 0))) << "the nested puppet's part";
    EXPECT_FALSE(node->hitTest(CCPoint(11, 0)));
}

TEST_F(PuppetInstanceTest, SoundAndSpawnTags) {
    writeData("Effects/Boom.EffectGroup",
              R"(<G><Particle Filename="Spark.plist" OffsetX="1"/></G>)");
    const int32_t index = puppet("Units/Tags", R"(<Anim type="Attack" name="Anims/Turn">
        <Tag Type="PlaySound" Time="0.1" Filename="sound/hit.wav"/>
        <Tag Type="PlaySound" Time="0.2" Filename="sound/hum.wav" positional="false" loop="true"/>
        <Tag Type="SpawnParticle" Time="0.3" Filename="Spark.plist" Bone="Body"
             OffsetX="3" OffsetY="4"/>
        <Tag Type="SpawnEffectGroup" Time="0.4" Filename="Effects/Boom" Bone="Body"/>
        </Anim>)");
    PuppetInstance* node = instance(index);
    node->setPosition(CCPoint(240, 0));
    node->playAnimation(cAttack, 0, false, 0.0f);
    node->update(0.25f);
    EXPECT_EQ(takeCalls(),
              (std::vector<std::string>{"playEffect 1 sound/hit.wav loop=0", "setEffectPan 1 0",
                                        "playEffect 2 sound/hum.wav loop=1"}));
    EXPECT_EQ(node->getLoopingSounds(), std::vector<uint32_t>{2});
    const size_t before = node->getChildrenCount();
    node->update(0.1f);
    ASSERT_EQ(node->getChildrenCount(), before + 1);
    CCNode* particle = node->getChildren()->getObjectAtIndex(node->getChildrenCount() - 1);
    EXPECT_NE(dynamic_cast<CCParticleSystemQuad*>(particle), nullptr);
    EXPECT_EQ(particle->getZOrder(), 1000);
    EXPECT_EQ(particle->getPosition(), CCPoint(13, 4));
    node->update(0.1f);
    ASSERT_EQ(node->getChildrenCount(), before + 2) << "the group's particle";
    CCNode* group = node->getChildren()->getObjectAtIndex(node->getChildrenCount() - 1);
    EXPECT_EQ(group->getPosition(), CCPoint(11, 0));

    // Destruction stops the loop even with "Sound" unset.
    BConfig::instance().unsetById(cOptSound);
    takeCalls();
    mNodes.clear();
    CCPoolManager::sharedPoolManager()->finalize();
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"stopEffect 2"}));
}

TEST_F(PuppetInstanceTest, ChangePuppetResumesAtTheSameTime) {
    writeData("Anims/Two.PuppetAnim",
              R"(<a><node name="Body"><frame time="0"/><frame time="2"/></node></a>)");
    const int32_t first = puppet("Units/First", R"(<Anim type="Idle" name="Anims/Still"/>)");
    const int32_t second = puppet("Units/Second", R"(<Anim type="Idle" name="Anims/Two"/>)");
    PuppetInstance* node = instance(first);
    node->playAnimation(cIdle, 0, true, 0.0f);
    node->update(0.6f);
    node->changePuppet(second);
    EXPECT_EQ(node->getPuppetIndex(), second);
    EXPECT_NEAR(node->getCurrentTime(), 0.6f, 1e-5);
    EXPECT_TRUE(node->isBlending());
    EXPECT_EQ(node->getParts().size(), 1u);

    PuppetInstance* empty = instance(-1);
    EXPECT_EQ(empty->getParts().size(), 0u) << "an unloaded index is an empty instance";
    empty->playAnimation(cIdle, 0, true, 0.15f);
    empty->update(1.0f);
    EXPECT_EQ(empty->getCurrentState(), -1);
}

TEST_F(PuppetInstanceTest, AnimActionsRunInSequencesAndFallBackToTheirNextState) {
    const int32_t index = puppet("Units/Act", R"(<Anim type="Idle" name="Anims/Still"/>
        <Anim type="Attack" name="Anims/Turn"/>)");
    CCScene* scene = runScene();
    PuppetInstance* node = instance(index);
    scene->addChild(node);
    auto* missing = PuppetAnimAction::actionWithAnim(cMove, true, 0, -1, -1, 0, node);
    EXPECT_FLOAT_EQ(missing->getDuration(), 0.0f) << "the puppet lacks the state";
    auto* attack = PuppetAnimAction::actionWithAnim(cAttack, false, 0.25f, -1, cIdle, 0, node);
    EXPECT_FLOAT_EQ(attack->getDuration(), 1.0f) << "the animation's length";
    auto* copy = static_cast<PuppetAnimAction*>(attack->copy());
    node->runAction(CCSequence::actions(missing, attack));
    tick(0.01f);
    EXPECT_EQ(node->getCurrentState(), cAttack) << "the zero-length action went on at once";
    EXPECT_FALSE(node->isLooping());
    EXPECT_NEAR(node->getCurrentTime(), 0.26f, 1e-4);
    tick(0.1f, 10);
    EXPECT_EQ(node->getCurrentState(), cIdle);
    EXPECT_TRUE(node->isLooping()) << "the follow-up state loops";
    EXPECT_FLOAT_EQ(node->getBlendDuration(), PuppetInstance::cDefaultBlend);

    auto* shortForm = PuppetAnimAction::actionWithAnim(cAttack, true, 0.4f);
    EXPECT_FLOAT_EQ(shortForm->getDuration(), 0.0f);
    EXPECT_EQ(shortForm->getNextState(), -1);
    EXPECT_FLOAT_EQ(shortForm->getStartFraction(), 0.0f);

    EXPECT_EQ(copy->getState(), cAttack);
    EXPECT_FLOAT_EQ(copy->getStartFraction(), 0.25f);
    EXPECT_EQ(copy->getNextState(), cIdle);
    EXPECT_FLOAT_EQ(copy->getNextStartFraction(), 0.0f);
    EXPECT_FLOAT_EQ(copy->getBlend(), 0.0f);
    EXPECT_FALSE(copy->getLoop());
    EXPECT_FLOAT_EQ(copy->getDuration(), 1.0f);
    copy->release();
}

TEST_F(PuppetInstanceTest, EffectGroupsReadTheirEntries) {
    writeData("Units/Spark.Puppet", "<Puppet/>");
    writeData("Effects/Mixed.EffectGroup", R"(<Group>
        <Particle OffsetX="3"/>
        <Particle Filename="A.plist" OffsetX="2.5" OffsetY="x"/>
        <Particle Filename="B.plist" OffsetY="-4"/>
        <Sound Filename="C.wav"/>
        <Puppet Filename="Units/Spark"/>
        <Puppet Filename="Units/Missing"/>
        </Group>)");
    const int32_t index = EffectGroup::load("Effects/Mixed");
    ASSERT_GE(index, 0);
    const EffectGroup* group = EffectGroup::get(index);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->mEntries.size(), 4u);
    EXPECT_EQ(group->mEntries[0].mFilename, "A.plist");
    EXPECT_EQ(group->mEntries[0].mOffset, CCPoint(2.5f, 0));
    EXPECT_EQ(group->mEntries[1].mOffset, CCPoint(0, -4));
    EXPECT_EQ(group->mEntries[2].mKind, EffectGroup::cPuppet);
    EXPECT_EQ(group->mEntries[2].mPuppet, PuppetRegistry::loadPuppet("Units/Spark"));
    EXPECT_EQ(group->mEntries[3].mPuppet, -1) << "kept though its puppet failed";

    std::filesystem::remove(dataFile("Effects/Mixed.EffectGroup"));
    EXPECT_EQ(EffectGroup::load("Effects/Mixed"), index) << "read once";
    EXPECT_EQ(EffectGroup::load("Effects/Missing"), -1);
    EXPECT_EQ(EffectGroup::get(-1), nullptr);
    EXPECT_EQ(EffectGroup::get(index + 1), nullptr);
}

TEST_F(PuppetInstanceTest, EffectGroupsSpawnParticlesAtOnceAndPuppetsAfterTheDelay) {
    writeData("Anims/Play.PuppetAnim",
              R"(<a><node name="Body"><frame time="0"/><frame time="0.5"/></node></a>)");
    puppet("Units/Pop", R"(<Anim type="Play" name="Anims/Play"/>
        <Anim type="Ability" name="Anims/Play"/>)");
    writeData("Effects/Pop.EffectGroup", R"(<Group><Particle Filename="None.plist" OffsetX="1"/>
        <Puppet Filename="Units/Pop"/></Group>)");
    const EffectGroup* group = EffectGroup::get(EffectGroup::load("Effects/Pop"));
    ASSERT_NE(group, nullptr);
    CCScene* scene = runScene();
    for (const bool ability : {false, true}) {
        CCNode* parent = CCNode::node();
        scene->addChild(parent);
        EffectGroup::spawn(group, parent, CCPoint(5, 6), 7, 0.5f, ability, ccc3(255, 0, 0));
        EffectGroup::spawn(group, nullptr, CCPoint(5, 6), 7, 0.5f, ability, ccc3(255, 0, 0));
        ASSERT_EQ(parent->getChildrenCount(), 2u);
        CCNode* particle = parent->getChildren()->getObjectAtIndex(0);
        auto* puppetNode =
            dynamic_cast<PuppetInstance*>(parent->getChildren()->getObjectAtIndex(1));
        ASSERT_NE(puppetNode, nullptr);
        EXPECT_EQ(particle->getPosition(), CCPoint(6, 6));
        EXPECT_EQ(particle->getZOrder(), 7);
        EXPECT_EQ(puppetNode->getPosition(), CCPoint(5, 6));
        tick(0.25f);
        EXPECT_FALSE(puppetNode->getIsVisible());
        tick(0.3f);
        EXPECT_EQ(parent->getChildrenCount(), 1u) << "the unreadable particle file removed itself";
        EXPECT_TRUE(puppetNode->getIsVisible());
        EXPECT_EQ(puppetNode->getCurrentState(), animStateFromName(ability ? "Ability" : "Play"));
        EXPECT_FALSE(puppetNode->isLooping());
        scene->removeChild(parent, true);
    }
}

} // namespace
