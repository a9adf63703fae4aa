#include "rules/CocosLink.h"

#include <new>

using cocos2d::CCPoint;
using cocos2d::CCSize;

CocosLinkageDelegate::~CocosLinkageDelegate() {
    delete mLink;
}

void CocosLinkageDelegate::createLink() {
    mLink = new (std::nothrow) CocosLink(this);
}

CocosLink* CocosLinkageDelegate::getLink() const {
    return mLink;
}

bool CocosLinkageDelegate::link(const CCPoint& position, const CCSize& size) {
    if (mLink != nullptr)
        unlink();
    createLink();
    if (mLink == nullptr)
        return false;
    if (!mLink->attach(position, size)) {
        delete mLink;
        mLink = nullptr;
        return false;
    }
    return true;
}

bool CocosLinkageDelegate::linkAt(const CCPoint& position) {
    return link(position, CCSize(0.0f, 0.0f));
}

void CocosLinkageDelegate::unlink() {
    delete mLink;
    mLink = nullptr;
}

bool CocosLinkageDelegate::hasLink() const {
    return mLink != nullptr;
}

CCPoint CocosLinkageDelegate::getViewPosition() const {
    return mLink != nullptr ? mLink->getPosition() : CCPoint(0.0f, 0.0f);
}

CCSize CocosLinkageDelegate::getViewSize() const {
    return mLink != nullptr ? mLink->getSize() : CCSize(0.0f, 0.0f);
}

void CocosLinkageDelegate::setViewZOrder(int /*zOrder*/) {}

void CocosLinkageDelegate::refreshView() {}

CocosLink::CocosLink(CocosLinkageDelegate* owner) : mOwner(owner) {}

CocosLink::~CocosLink() {
    mOwner = nullptr;
}

bool CocosLink::attach(const CCPoint& position, const CCSize& size) {
    mPosition = position;
    mSize = size;
    return true;
}

CocosLinkageDelegate* CocosLink::getOwner() const {
    return mOwner;
}

CCPoint CocosLink::getPosition() const {
    return mPosition;
}

CCSize CocosLink::getSize() const {
    return mSize;
}
