#pragma once

// An entity view without the board scene's dressing: its main node is a
// real PuppetInstance of the proto's puppet (in the team colour), else a
// sprite of the proto's art, else a plain node, added to gGameScene's scene
// node at the entity's square's z-order when attached. The view lines the
// actions' visuals use are recorded in call order.

#include "rules/CocosEntityLink.h"

#include <cstdint>
#include <string>
#include <vector>

class HeadlessEntityView : public CocosEntityLink {
public:
    // One recorded view call.
    struct Call {
        std::string mName;   // "showAura", "hideAura", "auraAbility", "crystalDebuff", "healthBar"
        float mValue = 0.0f; // aura, level or percent
        float mDelay = 0.0f;
        bool mAnimate = false;
    };

    explicit HeadlessEntityView(Entity* owner);
    ~HeadlessEntityView() override;

    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;
    cocos2d::CCNode* getMainNode() const override { return mMainNode; }
    bool isDualWielding() const override { return mDualWielding; }

    void showAura(int32_t aura, bool animate, float delay, bool flag) override;
    void hideAura(int32_t aura, bool animate, float delay) override;
    void playAuraAbility(int32_t aura, float delay) override;
    void setCrystalDebuffLevel(int32_t level, bool animate, float delay) override;
    void setHealthBarPercentage(float percent, bool animate, float delay) override;

    bool mDualWielding = false;
    std::vector<Call> mCalls;

private:
    cocos2d::CCNode* mMainNode; // retained
};
