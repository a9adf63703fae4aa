// Fuzzes the strings file: UTF-16LE bytes to UTF-8, the pair scan, and each
// key and text used as a format and as a service time text.

#include "content/LocalizedStrings.h"
#include "content/TimeTexts.h"

#include <boost/algorithm/string/replace.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LocalizedStringTable table;
    parseLocalizableStrings(utf16leToUtf8(bytes), table);

    const FormatArg args[] = {"Mira", 7, 2.5, 3u, std::string_view("x")};
    for (const auto& [key, text] : table) {
        for (std::string format : {key, text}) {
            boost::algorithm::replace_all(format, "%@", "%s");
            formatText(format, args);
            int64_t seconds = 0;
            parseServerTime(format, seconds);
        }
    }
    return 0;
}
