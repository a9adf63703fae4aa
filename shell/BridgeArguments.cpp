#include "shell/BridgeArguments.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

const nlohmann::json cUndefined; // null stands in for undefined

bool isJsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isJsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isJsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Shortest text that reads back as the same double, in JavaScript's layout
// for the usual range (integers without a fraction or exponent).
std::string numberText(double number) {
    if (std::isnan(number))
        return "NaN";
    if (std::isinf(number))
        return number > 0 ? "Infinity" : "-Infinity";
    if (number == 0)
        return "0";
    if (std::fabs(number) < 1e21 && number == std::trunc(number)) {
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
        return std::string(buffer, result.ptr);
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

double textNumber(std::string_view text) {
    text = trimmed(text);
    if (text.empty())
        return 0;
    if (text.size() > 2 && text[0] == '0') {
        const char kind = char(text[1] | 0x20);
        const int base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 0;
        if (base != 0) {
            double value = 0;
            for (const char c : text.substr(2)) {
                const int digit = c >= '0' && c <= '9'                     ? c - '0'
                                  : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                           : 99;
                if (digit >= base)
                    return std::numeric_limits<double>::quiet_NaN();
                value = value * base + digit;
            }
            return value;
        }
    }
    std::string_view body = text;
    bool negative = false;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body == "Infinity")
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    // from_chars takes no '+' and no hex or inf words: only a decimal form
    // of digits, '.', and an exponent is a number here.
    if (body.empty() ||
        !(std::isdigit(static_cast<unsigned char>(body.front())) || body.front() == '.'))
        return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    const auto result =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (result.ptr != body.data() + body.size() ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range))
        return std::numeric_limits<double>::quiet_NaN();
    return negative ? -value : value;
}

template <class Integer> Integer readDecimal(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && isJsSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    // Accumulated unsigned and saturated, as the C library's conversion does.
    using Unsigned = std::make_unsigned_t<Integer>;
    const Unsigned limit = std::is_signed_v<Integer>
                               ? Unsigned(std::numeric_limits<Integer>::max()) + (negative ? 1 : 0)
                               : std::numeric_limits<Unsigned>::max();
    Unsigned value = 0;
    bool overflow = false;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const Unsigned digit = Unsigned(text[at] - '0');
        if (value > (limit - digit) / 10)
            overflow = true;
        else
            value = value * 10 + digit;
    }
    if (overflow)
        value = limit;
    return negative ? Integer(Unsigned(0) - value) : Integer(value);
}

} // namespace

std::string jsString(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::null:
    case nlohmann::json::value_t::discarded:
        return "null";
    case nlohmann::json::value_t::boolean:
        return value.get<bool>() ? "true" : "false";
    case nlohmann::json::value_t::number_integer:
        return std::to_string(value.get<int64_t>());
    case nlohmann::json::value_t::number_unsigned:
        return std::to_string(value.get<uint64_t>());
    case nlohmann::json::value_t::number_float:
        return numberText(value.get<double>());
    case nlohmann::json::value_t::string:
        return value.get<std::string>();
    case nlohmann::json::value_t::array: {
        std::string out;
        for (size_t i = 0; i < value.size(); ++i) {
            if (i > 0)
                out += ',';
            if (!value[i].is_null())
                out += jsString(value[i]);
        }
        return out;
    }
    default:
        return "[object Object]";
    }
}

double jsNumber(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::null:
        return 0;
    case nlohmann::json::value_t::boolean:
        return value.get<bool>() ? 1 : 0;
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
    case nlohmann::json::value_t::number_float:
        return value.get<double>();
    case nlohmann::json::value_t::string:
        return textNumber(value.get_ref<const std::string&>());
    case nlohmann::json::value_t::array:
        return textNumber(jsString(value));
    default:
        return std::numeric_limits<double>::quiet_NaN();
    }
}

int32_t jsInt32(double number) {
    if (!std::isfinite(number))
        return 0;
    const double wrapped = std::fmod(std::trunc(number), 4294967296.0);
    const double positive = wrapped < 0 ? wrapped + 4294967296.0 : wrapped;
    return int32_t(uint32_t(positive));
}

bool jsBoolean(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::null:
    case nlohmann::json::value_t::discarded:
        return false;
    case nlohmann::json::value_t::boolean:
        return value.get<bool>();
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
    case nlohmann::json::value_t::number_float: {
        const double number = value.get<double>();
        return number != 0 && !std::isnan(number);
    }
    case nlohmann::json::value_t::string:
        return !value.get_ref<const std::string&>().empty();
    default:
        return true;
    }
}

int64_t readGameId(std::string_view text) {
    return readDecimal<int64_t>(text);
}

uint64_t readPlatformId(std::string_view text) {
    return readDecimal<uint64_t>(text);
}

BridgeArguments::BridgeArguments(const nlohmann::json& values) : mValues(values) {}

const nlohmann::json& BridgeArguments::at(size_t index) const {
    return index < size() ? mValues[index] : cUndefined;
}

std::string BridgeArguments::text(size_t index) const {
    return jsString(at(index));
}

int32_t BridgeArguments::integer(size_t index) const {
    return jsInt32(jsNumber(at(index)));
}

bool BridgeArguments::boolean(size_t index) const {
    return jsBoolean(at(index));
}
