#include "platform/engine/CCProtocols.h"

#include "platform/engine/CCNode.h"

namespace cocos2d {

CCRGBAProtocol* ccRGBAProtocolOf(CCNode* node) {
    return dynamic_cast<CCRGBAProtocol*>(node);
}

CCDisplayFrameProtocol* ccDisplayFrameProtocolOf(CCNode* node) {
    return dynamic_cast<CCDisplayFrameProtocol*>(node);
}

CCProgressProtocol* ccProgressProtocolOf(CCNode* node) {
    return dynamic_cast<CCProgressProtocol*>(node);
}

} // namespace cocos2d
