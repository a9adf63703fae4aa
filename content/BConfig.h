#pragma once

// The process-wide table of named options.
//
// Code registers an option once (name, description, optional change callback)
// and gets back its id; the option is then read and written by id or by name.
// Names compare without regard to ASCII letter case. Values come from option
// files and option text (BConfig_files.cpp), from start-up code and from
// in-game switches. Every change is stamped with the current source level;
// with respectLevels on, a change from a lower level than the stored one is
// refused. Main thread only.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum OptionType : int32_t {
    cOptionDefined = 0, // defined, no value stored
    cOptionFloat = 1,
    cOptionInt = 2,
    cOptionString = 3,
};

// Flag bit of OptionValue::flags that marks the option unset.
inline constexpr uint32_t cOptionUnsetBit = 3;
inline constexpr uint32_t cOptionUnsetFlag = 1u << cOptionUnsetBit;

// Source levels of the option files read at start-up; records at cLevelKeep
// survive reset.
inline constexpr int32_t cLevelLanguageFiles = 0;
inline constexpr int32_t cLevelGameFiles = 1;
inline constexpr int32_t cLevelUserFile = 4;
inline constexpr int32_t cLevelKeep = -1;

using OptionCallback = void (*)(int32_t optionId, bool set);

// One value record. Records are never removed while the table lives;
// unsetting only marks them.
struct OptionValue {
    std::string name; // as written when the record was created
    int32_t type = cOptionDefined;
    int32_t intValue = 0;
    float floatValue = 0.0f;
    std::string stringValue;
    uint32_t flags = 0;
    int32_t level = 0;
    int32_t index = 0;      // own position in the value list
    int32_t descIndex = -1; // id of the bound descriptor, -1 when none

    bool isUnset() const { return (flags & cOptionUnsetFlag) != 0; }
};

// One registration record; its position is the option id.
struct OptionDesc {
    int32_t id = 0;
    std::string name;
    std::string description;
    uint32_t initialFlags = 0;
    OptionCallback callback = nullptr;
    int32_t valueIndex = -1;
};

class BConfig {
public:
    // The single table, created by the first call (the first option
    // registration among the static initialisers). Lives until exit.
    static BConfig& instance();

    BConfig();
    BConfig(const BConfig&) = delete;
    BConfig& operator=(const BConfig&) = delete;

    // Virtual operations, in this order.
    virtual ~BConfig();
    virtual void setValueString(OptionValue& record, const std::string& text);
    virtual void setValueFloat(OptionValue& record, float value);
    virtual void setValueInt(OptionValue& record, int32_t value);
    virtual void setString(std::string_view name, const std::string& text);
    virtual void setFloat(std::string_view name, float value);
    virtual void setInt(std::string_view name, int32_t value);
    virtual void setStringById(int32_t id, const std::string& text);
    virtual void setFloatById(int32_t id, float value);
    virtual void setIntById(int32_t id, int32_t value);
    virtual void define(std::string_view name);
    virtual void defineById(int32_t id);
    virtual bool unset(std::string_view name);
    virtual bool unsetById(int32_t id);
    virtual void setFlag(std::string_view name, uint32_t bit);
    virtual void setFlagById(int32_t id, uint32_t bit);
    virtual void setFlags(std::string_view name, uint32_t word);
    virtual void setFlagsById(int32_t id, uint32_t word);
    virtual void clearFlag(std::string_view name, uint32_t bit);
    virtual void clearFlagById(int32_t id, uint32_t bit);

    // Appends a descriptor and returns its id. A name registered twice gets
    // two ids; name lookups find the first.
    int32_t registerOption(std::string_view name, std::string_view description,
                           OptionCallback callback);

    // Unsets every record whose level is not cLevelKeep (through unset, so the
    // level rule and the callbacks apply), then sets the current level to 0 and
    // turns descriptor binding on.
    void reset();

    // The first record of that name; null when there is none, or when that
    // record is unset and includeUnset is false.
    OptionValue* findValue(std::string_view name, bool includeUnset);
    const OptionValue* findValue(std::string_view name, bool includeUnset) const;
    OptionDesc* findDescriptor(std::string_view name);
    const OptionDesc* findDescriptor(std::string_view name) const;

    bool isSet(std::string_view name) const;
    // The presence test of a registered option.
    bool isSetById(int32_t id) const;

    // False, with out untouched, when the option has no set record. A float
    // reads as an int truncated toward zero and saturated to the int range
    // (NaN as 0); a string reads as the signed code of its first character; a
    // defined option without a value leaves out as it was and still answers
    // true.
    bool getInt(int32_t id, int32_t& out) const;
    bool getFloat(int32_t id, float& out) const;
    bool getFloatByName(std::string_view name, float& out) const;

    // The value as text: floats as a stream writes them ("0.5", "10").
    static bool valueToString(const OptionValue& record, std::string& out);
    // A string option read by id: its text when set, else the fallback.
    std::string stringById(int32_t id, const std::string& fallback) const;

    // The value record bound to a registered option, or null.
    const OptionValue* valueById(int32_t id) const;

    // Option files and option text.
    int loadFile(const std::string& path, int32_t level);
    bool parseLine(std::string_view line, std::string* outName);
    void parseOptionString(std::string_view text);
    void parseOptionToken(std::string_view word);

    int32_t currentLevel() const { return mCurrentLevel; }
    void setCurrentLevel(int32_t level) { mCurrentLevel = level; }
    bool respectLevels() const { return mRespectLevels; }
    void setRespectLevels(bool on) { mRespectLevels = on; }
    bool bindDescriptors() const { return mBindDescriptors; }
    void setBindDescriptors(bool on) { mBindDescriptors = on; }
    bool notifyChanges() const { return mNotifyChanges; }
    void setNotifyChanges(bool on) { mNotifyChanges = on; }

    const std::deque<OptionValue>& values() const { return mValues; }
    size_t descriptorCount() const { return mDescriptors.size(); }
    const OptionDesc* descriptor(int32_t id) const;

private:
    OptionValue* prepareByName(std::string_view name);
    OptionValue* prepareById(int32_t id);
    OptionValue* boundValue(int32_t id);
    const OptionValue* boundValue(int32_t id) const;
    bool levelRefuses(const OptionValue& record) const;
    void notifyByName(std::string_view name);
    void notifyById(int32_t id);

    std::deque<OptionValue> mValues; // stable addresses as the list grows
    std::vector<std::unique_ptr<OptionDesc>> mDescriptors;
    int32_t mCurrentLevel = 0;
    bool mRespectLevels = false;
    bool mBindDescriptors = false;
    bool mNotifyChanges = false;
};

// Bit n of a 32-bit word; false for n of 32 or more.
bool isFlagBitSet(uint32_t word, uint32_t n);
