#pragma once

// Hands the back and menu keys to every registered keypad delegate, the most
// recently added first. Registration changes during a dispatch take effect
// after it, as for touches.

#include "platform/engine/CCDelegateList.h"
#include "platform/engine/CCTouchDelegate.h"

namespace cocos2d {

enum ccKeypadMSGType {
    kTypeBackClicked = 1,
    kTypeMenuClicked,
};

class CCKeypadDispatcher : public CCObject {
public:
    // The director's dispatcher.
    static CCKeypadDispatcher* sharedDispatcher();

    void addDelegate(CCKeypadDelegate* delegate);
    void removeDelegate(CCKeypadDelegate* delegate);
    void removeAllDelegates();
    bool isRegistered(CCKeypadDelegate* delegate) const;
    // False for an unknown key.
    bool dispatchKeypadMSG(ccKeypadMSGType type);

private:
    using Handler = CCDelegateEntry<CCKeypadDelegate>;
    CCDelegateList<Handler> mDelegates;
};

} // namespace cocos2d
