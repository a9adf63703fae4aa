#pragma once

// A text held by an engine object, so that a character pointer can live as
// long as the object (for instance until the autorelease pool drains).

#include "platform/engine/CCObject.h"

#include <string>

namespace cocos2d {

class CCString : public CCObject {
public:
    CCString() = default;
    explicit CCString(std::string text) : mString(std::move(text)) {}

    // An autoreleased string: its text stays valid until the pool drains.
    static CCString* stringWithString(const std::string& text);

    bool isEqual(const CCObject* other) const override;

    const char* getCString() const { return mString.c_str(); }
    const std::string& toStdString() const { return mString; }
    size_t length() const { return mString.size(); }

private:
    std::string mString;
};

} // namespace cocos2d
