#include "content/Preferences.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>

namespace {

PreferenceStore*& installedStore() {
    static PreferenceStore* store = nullptr;
    return store;
}

} // namespace

PreferenceStore::~PreferenceStore() = default;

int32_t preferenceTextToInt(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0)
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    // Accumulates toward the sign and stops at the type's limit.
    constexpr int64_t cLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at)
        value = std::min(cLimit, value * 10 + (text[at] - '0'));
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

bool MemoryPreferenceStore::prefGetBool(std::string_view key, bool& out) {
    const auto found = mValues.find(key);
    if (found == mValues.end())
        return false;
    out = found->second == "true";
    return true;
}

void MemoryPreferenceStore::prefSetBool(std::string_view key, bool value) {
    mValues.insert_or_assign(std::string(key), value ? "true" : "false");
}

bool MemoryPreferenceStore::prefGetInt(std::string_view key, int32_t& out) {
    const auto found = mValues.find(key);
    if (found == mValues.end())
        return false;
    out = preferenceTextToInt(found->second);
    return true;
}

void MemoryPreferenceStore::prefSetInt(int32_t value, std::string_view key) {
    mValues.insert_or_assign(std::string(key), std::to_string(value));
}

void MemoryPreferenceStore::togglePref(std::string_view key) {
    bool value = false;
    prefGetBool(key, value);
    prefSetBool(key, !value);
}

void MemoryPreferenceStore::setValue(std::string_view key, std::string_view text) {
    mValues.insert_or_assign(std::string(key), std::string(text));
}

MemoryPreferenceStore& builtInPreferenceStore() {
    static MemoryPreferenceStore store;
    return store;
}

PreferenceStore& preferenceStore() {
    PreferenceStore* installed = installedStore();
    return installed ? *installed : builtInPreferenceStore();
}

void setPreferenceStore(PreferenceStore* store) {
    installedStore() = store;
}

bool prefGetBool(std::string_view key, bool& out) {
    return preferenceStore().prefGetBool(key, out);
}

void prefSetBool(std::string_view key, bool value) {
    preferenceStore().prefSetBool(key, value);
}

bool prefGetInt(std::string_view key, int32_t& out) {
    return preferenceStore().prefGetInt(key, out);
}

void prefSetInt(int32_t value, std::string_view key) {
    preferenceStore().prefSetInt(value, key);
}

void togglePref(std::string_view key) {
    preferenceStore().togglePref(key);
}
