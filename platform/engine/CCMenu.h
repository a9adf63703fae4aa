#pragma once

// A layer of menu items. It is a targeted touch delegate at
// kCCMenuTouchPriority that swallows what it claims, so it is asked before
// layers and buttons at priority 0. A touch that begins on an enabled,
// visible item selects it; moving off deselects it (and onto another item
// selects that one); releasing activates the selected item. One touch at a
// time. A new menu covers the window with its origin at the window's centre,
// so items placed at (0, 0) stand in the middle.

#include "platform/engine/CCLayer.h"
#include "platform/engine/CCMenuItem.h"
#include "platform/engine/CCMutableArray.h"

#include <vector>

namespace cocos2d {

class CCMenu : public CCLayer {
public:
    // An autoreleased empty menu.
    static CCMenu* node();
    static CCMenu* menuWithItemArray(CCMutableArray<CCMenuItem*>* items);
    ~CCMenu() override;
    bool init() override;
    bool initWithItems(const std::vector<CCMenuItem*>& items);

    void registerWithTouchDispatcher() override;
    void onExit() override;
    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override;
    void ccTouchMoved(CCTouch* touch, CCEvent* event) override;
    void ccTouchEnded(CCTouch* touch, CCEvent* event) override;
    void ccTouchCancelled(CCTouch* touch, CCEvent* event) override;

    // Stacks the items from top to bottom in child order, centred on the
    // menu's origin, with padding between neighbours (negative overlaps).
    void alignItemsVerticallyWithPadding(float padding);
    void alignItemsVertically();

    // The enabled, visible item under the touch, or null.
    CCMenuItem* itemForTouch(CCTouch* touch);
    CCMenuItem* getSelectedItem() const { return mSelectedItem; }

private:
    std::vector<CCMenuItem*> items();
    bool isShown() const;
    void select(CCMenuItem* item);

    CCMenuItem* mSelectedItem = nullptr; // retained while selected
    CCTouch* mTrackedTouch = nullptr;    // retained while tracked
};

} // namespace cocos2d
