#include "puppet/PuppetInstance.h"

PuppetInstance::~PuppetInstance() = default;

std::string PuppetInstance::getDynamicText(std::string_view key) const {
    const auto found = mDynamicTexts.find(std::string(key));
    return found == mDynamicTexts.end() ? std::string() : found->second;
}

void PuppetInstance::setDynamicText(std::string_view key, std::string_view text) {
    mDynamicTexts[std::string(key)] = std::string(text);
}
