#include "platform/engine/CCString.h"

namespace cocos2d {

CCString* CCString::stringWithString(const std::string& text) {
    auto* result = new CCString(text);
    result->autorelease();
    return result;
}

bool CCString::isEqual(const CCObject* other) const {
    const auto* text = dynamic_cast<const CCString*>(other);
    return text && text->mString == mString;
}

} // namespace cocos2d
