// Fuzzes the data-file loader's parse of a file's bytes and every reader on
// the nodes and attributes it yields.

#include "content/XMLHelper.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void readAll(const XmlBase* node) {
    int32_t number = 0;
    int64_t wide = 0;
    float real = 0;
    bool flag = false;
    uint8_t byte = 0;
    xmlValueInt(node, number);
    xmlValueInt64(node, wide);
    xmlValueFloat(node, real);
    xmlValueBool(node, flag);
    xmlValueByte(node, byte);
    xmlNameEquals(node, "name");
    xmlValueEquals(node, "value");
}

void walk(const XmlNode* node) {
    for (; node; node = node->next_sibling()) {
        readAll(node);
        std::string text;
        xmlAttrString(node, nullptr, text);
        for (const XmlAttribute* attribute = node->first_attribute(); attribute;
             attribute = attribute->next_attribute()) {
            readAll(attribute);
            xmlFindAttribute(node, attribute->name());
        }
        walk(node->first_node());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = new XMLHelper(); // 64 KB pool: not on the stack
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    crc32_z(0, data, size);
    holder->setText(bytes);
    XmlNode* root = nullptr;
    if (holder->parse(root))
        walk(root);
    holder->clear();
    return 0;
}
