// Fuzzes text formatting: the bytes after the first are a format (also read
// as a strings-table key, "%@" included), formatted with arguments of every
// kind; the first byte rotates the arguments so that each kind meets each
// directive.

#include "content/LocalizedStrings.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::vector<FormatArg> kinds = {
        -1,
        INT_MIN,
        LLONG_MIN,
        ULLONG_MAX,
        4000000000u,
        static_cast<int16_t>(-1),
        'A',
        2047,
        -2048,
        NAN,
        -INFINITY,
        DBL_MAX,
        -0.0,
        1e-300,
        "Mira",
        "",
        std::string_view("\xF0\x9F\x90\x89 and \xC3\xBC"),
        std::string_view("a\0b", 3),
    };
    std::vector<FormatArg> args;
    for (size_t i = 0; i < kinds.size(); ++i)
        args.push_back(kinds[(data[0] + i) % kinds.size()]);

    const std::string_view format(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (formatText(format, args).size() >= cFormatBufferSize)
        __builtin_trap();
    std::string out;
    formatLocalizedArgs(out, format, args);
    if (out.size() >= cFormatBufferSize)
        __builtin_trap();
    return 0;
}
