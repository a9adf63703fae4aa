// Fuzzes the rules settings' reading of a parsed settings file, then asks the
// premium-square kinds for every type.

#include "content/XMLHelper.h"
#include "content/settings/SettingsManager.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = new XMLHelper(); // 64 KB pool: not on the stack
    holder->setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    SettingsManager& settings = SettingsManager::instance();
    if (holder->parse(root) && settings.loadSettings(root))
        for (int32_t type = cPremiumInvalid; type <= cPremiumTileTypeCount; ++type)
            settings.premiumTileKind(type);
    settings.clear();
    holder->clear();
    return 0;
}
