#pragma once

// The arguments of a bridge call as the page passed them (JSON values of the
// native call road), read by JavaScript's own conversions: text as String(),
// integers as ToInt32, flags as ToBoolean. A missing argument reads as
// undefined would. Game ids travel as decimal text.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

// String(value): numbers in JavaScript's shortest form, arrays joined by
// commas, objects as "[object Object]", null as "null".
std::string jsString(const nlohmann::json& value);
// ToNumber(value): text trimmed, empty text 0, decimal or 0x/0o/0b forms,
// anything else NaN.
double jsNumber(const nlohmann::json& value);
// ToInt32 of a number: NaN and infinities 0, else modulo 2^32, signed.
int32_t jsInt32(double number);
bool jsBoolean(const nlohmann::json& value);

// Base-10 reading of an id: leading blanks and a sign accepted, stopping at
// the first character that is not a digit; no digits give 0.
int64_t readGameId(std::string_view text);
uint64_t readPlatformId(std::string_view text);

class BridgeArguments {
public:
    // values: a JSON array (anything else holds no arguments).
    explicit BridgeArguments(const nlohmann::json& values);

    size_t size() const { return mValues.is_array() ? mValues.size() : 0; }
    std::string text(size_t index) const;
    int32_t integer(size_t index) const;
    bool boolean(size_t index) const;
    int64_t gameId(size_t index) const { return readGameId(text(index)); }
    uint64_t platformId(size_t index) const { return readPlatformId(text(index)); }

private:
    const nlohmann::json& at(size_t index) const;

    const nlohmann::json& mValues;
};
