#include "platform/engine/CCKeypadDispatcher.h"

#include "platform/engine/CCDirector.h"

namespace cocos2d {

CCKeypadDispatcher* CCKeypadDispatcher::sharedDispatcher() {
    return CCDirector::sharedDirector()->getKeypadDispatcher();
}

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* delegate) {
    if (delegate)
        mDelegates.add(std::make_unique<Handler>(delegate, 0));
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* delegate) {
    if (delegate)
        mDelegates.remove(delegate);
}

void CCKeypadDispatcher::removeAllDelegates() {
    mDelegates.removeAll();
}

bool CCKeypadDispatcher::isRegistered(CCKeypadDelegate* delegate) const {
    return mDelegates.find(delegate) != nullptr;
}

bool CCKeypadDispatcher::dispatchKeypadMSG(ccKeypadMSGType type) {
    if (type != kTypeBackClicked && type != kTypeMenuClicked)
        return false;
    CCDelegateListLock lock(mDelegates);
    for (size_t i = 0; i < mDelegates.size(); ++i) {
        Handler* handler = mDelegates.at(i);
        if (handler->removed)
            continue;
        if (type == kTypeBackClicked)
            handler->delegate->keyBackClicked();
        else
            handler->delegate->keyMenuClicked();
    }
    return true;
}

} // namespace cocos2d
