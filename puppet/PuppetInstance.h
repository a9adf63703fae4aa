#pragma once

// A live puppet. So far it holds the texts that "dynamic" text attachments
// show (by their text-style key); the node that builds the parts, plays and
// blends the animations and fires the tags joins it with the drawing of
// puppets.

#include <string>
#include <string_view>
#include <unordered_map>

class PuppetInstance {
public:
    virtual ~PuppetInstance();

    // The text for a dynamic text key; "" when none was set.
    std::string getDynamicText(std::string_view key) const;
    // Sets the text that the dynamic text attachments of this key show on
    // parts built afterwards.
    void setDynamicText(std::string_view key, std::string_view text);

private:
    std::unordered_map<std::string, std::string> mDynamicTexts;
};
