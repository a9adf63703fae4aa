#include "content/Preferences.h"

namespace {

PreferenceStore*& installedStore() {
    static PreferenceStore* store = nullptr;
    return store;
}

} // namespace

PreferenceStore::~PreferenceStore() = default;

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
