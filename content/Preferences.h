#pragma once

// The user's boolean and integer preferences, kept by key in the user's store.
//
// The online service's secure store implements PreferenceStore and installs
// itself at start-up; until then (and in tests) preferences live in a
// built-in in-memory store, as the secure store behaves before its file is
// open. Boolean values are the texts "true" and "false"; only "true" reads
// as true. An integer is read from the leading decimal digits of its text
// (optionally signed, after blanks), as the C library's atoi reads it: text
// without digits reads as 0. The installed store may be used from any thread;
// the built-in one from the main thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class PreferenceStore {
public:
    virtual ~PreferenceStore();
    // Whether key is stored; when it is, out is true only for the text "true".
    // An absent key leaves out untouched.
    virtual bool prefGetBool(std::string_view key, bool& out) = 0;
    // Stores "true" or "false" under key and saves the store at once.
    virtual void prefSetBool(std::string_view key, bool value) = 0;
    // Whether key is stored; when it is, out is the number its text begins
    // with. An absent key leaves out untouched.
    virtual bool prefGetInt(std::string_view key, int32_t& out) = 0;
    // Stores value in signed decimal under key and saves the store at once.
    virtual void prefSetInt(int32_t value, std::string_view key) = 0;
    // Stores the negation of the boolean under key (an absent key counts as
    // false, so it becomes "true") and saves the store at once.
    virtual void togglePref(std::string_view key) = 0;
};

// The integer a stored text stands for: its leading number, 0 when it has
// none, clamped to the range of int32_t.
int32_t preferenceTextToInt(std::string_view text);

// A store that keeps its values in memory only.
class MemoryPreferenceStore : public PreferenceStore {
public:
    bool prefGetBool(std::string_view key, bool& out) override;
    void prefSetBool(std::string_view key, bool value) override;
    bool prefGetInt(std::string_view key, int32_t& out) override;
    void prefSetInt(int32_t value, std::string_view key) override;
    void togglePref(std::string_view key) override;

    // Stores a text under key as it is.
    void setValue(std::string_view key, std::string_view text);
    // Every stored key with its text.
    const std::map<std::string, std::string, std::less<>>& values() const { return mValues; }
    void clear() { mValues.clear(); }

private:
    std::map<std::string, std::string, std::less<>> mValues;
};

// The store in use: the installed one, else the built-in memory store.
PreferenceStore& preferenceStore();
MemoryPreferenceStore& builtInPreferenceStore();
// Installs store (which must outlive its use); null restores the built-in one.
void setPreferenceStore(PreferenceStore* store);

// The accessors of the store in use.
bool prefGetBool(std::string_view key, bool& out);
void prefSetBool(std::string_view key, bool value);
bool prefGetInt(std::string_view key, int32_t& out);
void prefSetInt(int32_t value, std::string_view key);
void togglePref(std::string_view key);
