// Fuzzes the option parsers: the bytes as the service's option text and each
// of their lines as an option file's line; then every option they made is
// read as an int, a float and a text.

#include "content/BConfig.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void apply(BConfig& config, std::string_view text) {
    config.parseOptionString(text);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string name;
        config.parseLine(text.substr(start, end - start + (end < text.size() ? 1 : 0)), &name);
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A first pass finds the names, which a second table registers so that
    // the readers by id see every option.
    BConfig names;
    apply(names, text);
    BConfig config;
    std::vector<int32_t> ids;
    for (const OptionValue& record : names.values())
        ids.push_back(config.registerOption(record.name, "", nullptr));
    apply(config, text);

    for (const int32_t id : ids) {
        int32_t number = 0;
        float real = 0.0f;
        config.getInt(id, number);
        config.getFloat(id, real);
        config.stringById(id, "");
    }
    for (const OptionValue& record : config.values()) {
        float real = 0.0f;
        config.getFloatByName(record.name, real);
    }
    return 0;
}
