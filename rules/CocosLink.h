#pragma once

// The seam between the model and its views.
//
// Every model object that can be shown derives from CocosLinkageDelegate,
// which owns at most one view, a CocosLink holding that object's engine
// nodes. The rules never touch nodes: they ask the delegate to create, place,
// refresh or drop its view. An object without a view works the same; its
// view queries then answer (0, 0) and 0 x 0.
//
// The delegate deletes its link in unlink or when a new link replaces it;
// every subclass that can have a view calls unlink in its destructor. The
// link never deletes its owner and forgets it when destroyed.

#include "platform/engine/CCGeometry.h"

class CocosLink;

class CocosLinkageDelegate {
public:
    CocosLinkageDelegate() = default;
    CocosLinkageDelegate(const CocosLinkageDelegate&) = delete;
    CocosLinkageDelegate& operator=(const CocosLinkageDelegate&) = delete;

    // Virtual operations, in this order.
    // Deletes a link a subclass left behind (subclasses unlink first).
    virtual ~CocosLinkageDelegate();
    // Makes this object's view and stores it as the link, owned by this
    // object; here a plain CocosLink. Leaves the link null when it cannot.
    virtual void createLink();
    virtual CocosLink* getLink() const;
    // Replaces the view by a fresh one attached at position with size; false,
    // and no view, when the view cannot be made or attached.
    virtual bool link(const cocos2d::CCPoint& position, const cocos2d::CCSize& size);
    // link(position, 0 x 0).
    virtual bool linkAt(const cocos2d::CCPoint& position);
    // Deletes the view, if any.
    virtual void unlink();
    virtual bool hasLink() const;
    // The view's position, else (0, 0).
    virtual cocos2d::CCPoint getViewPosition() const;
    // The view's size, else 0 x 0.
    virtual cocos2d::CCSize getViewSize() const;
    // Puts the view at that z-order among its siblings; nothing here.
    virtual void setViewZOrder(int zOrder);
    // Brings the view up to date with the model; nothing here.
    virtual void refreshView();

protected:
    CocosLink* mLink = nullptr;
};

class CocosLink {
public:
    explicit CocosLink(CocosLinkageDelegate* owner);
    CocosLink(const CocosLink&) = delete;
    CocosLink& operator=(const CocosLink&) = delete;

    // Virtual operations, in this order.
    virtual ~CocosLink();
    // Builds the view; here it only keeps position and size. False when the
    // view cannot be built.
    virtual bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size);
    virtual CocosLinkageDelegate* getOwner() const;
    virtual cocos2d::CCPoint getPosition() const;
    virtual cocos2d::CCSize getSize() const;

protected:
    CocosLinkageDelegate* mOwner;
    cocos2d::CCPoint mPosition;
    cocos2d::CCSize mSize;
};
