#pragma once

// Menu items: a node with a callback (a member function taking the item)
// that its menu calls when a touch is released on it. CCMenuItemSprite shows
// a normal image, a selected image while pressed and, when disabled, its
// disabled image (the normal one when it has none); its size is the normal
// image's.

#include "platform/engine/CCNode.h"

namespace cocos2d {

class CCMenuItem : public CCNode {
public:
    // An autoreleased item calling selector on target.
    static CCMenuItem* itemWithTarget(CCObject* target, SEL_MenuHandler selector);
    bool initWithTarget(CCObject* target, SEL_MenuHandler selector);

    // Calls the callback when the item is enabled. The target is not retained.
    virtual void activate();
    virtual void selected();
    virtual void unselected();
    virtual void setIsEnabled(bool enabled);
    virtual bool getIsEnabled() const { return mIsEnabled; }
    bool getIsSelected() const { return mIsSelected; }
    void setTarget(CCObject* target, SEL_MenuHandler selector);
    // True when the GL point lies on the item's content.
    bool containsWorldPoint(const CCPoint& worldPoint) const;

private:
    CCObject* mListener = nullptr;
    SEL_MenuHandler mSelector = nullptr;
    bool mIsEnabled = true;
    bool mIsSelected = false;
};

class CCMenuItemSprite : public CCMenuItem {
public:
    static CCMenuItemSprite* itemFromNormalSprite(CCNode* normal, CCNode* selected);
    static CCMenuItemSprite* itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                  CCObject* target, SEL_MenuHandler selector);
    static CCMenuItemSprite* itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                  CCNode* disabled, CCObject* target,
                                                  SEL_MenuHandler selector);
    bool initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled, CCObject* target,
                              SEL_MenuHandler selector);

    void selected() override;
    void unselected() override;
    void setIsEnabled(bool enabled) override;

    CCNode* getNormalImage() const { return mNormalImage; }
    CCNode* getSelectedImage() const { return mSelectedImage; }
    CCNode* getDisabledImage() const { return mDisabledImage; }

private:
    void setImage(CCNode*& slot, CCNode* image);
    void showImages();

    CCNode* mNormalImage = nullptr; // children of the item
    CCNode* mSelectedImage = nullptr;
    CCNode* mDisabledImage = nullptr;
};

} // namespace cocos2d
