// Fuzzes the proto database's two passes over a parsed database file, with
// every proto read in full and dumped.

#include "content/XMLHelper.h"
#include "content/protos/Database.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = new XMLHelper(); // 64 KB pool: not on the stack
    holder->setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    if (holder->parse(root) && Database::loadRoot(root)) {
        for (int32_t id = 0; id < Database::protoCount(); ++id) {
            ProtoEntity* proto = Database::getProto(id);
            proto->dump();
            for (int32_t i = 0; i <= static_cast<int32_t>(proto->mUpgradePuppetHandles.size()); ++i)
                proto->getUpgradePuppetHandle(i);
        }
    }
    Database::clear();
    holder->clear();
    return 0;
}
