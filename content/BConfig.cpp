#include "content/BConfig.h"

#include "content/NoCase.h"
#include "content/NumberText.h"
#include "content/RegisteredOptions.h"

#include <sstream>
#include <utility>

namespace {

bool namesEqual(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

} // namespace

BConfig& BConfig::instance() {
    // Never destroyed: option reads may come from other objects' destructors.
    static BConfig* table = new BConfig();
    // The program's options register themselves in RegisteredOptions.cpp;
    // naming them here links those registrations into every program that
    // uses the table, so no program sees the table without them.
    static_cast<void>(registeredOptionCount());
    return *table;
}

BConfig::BConfig() { reset(); }

BConfig::~BConfig() = default;

void BConfig::setValueString(OptionValue& record, const std::string& text) {
    record.type = cOptionString;
    record.stringValue = text;
    record.intValue = 0;
    record.floatValue = 0.0f;
}

void BConfig::setValueFloat(OptionValue& record, float value) {
    record.type = cOptionFloat;
    record.floatValue = value;
    record.intValue = 0;
}

void BConfig::setValueInt(OptionValue& record, int32_t value) {
    record.type = cOptionInt;
    record.intValue = value;
    record.floatValue = 0.0f;
}

void BConfig::setString(std::string_view name, const std::string& text) {
    if (OptionValue* record = prepareByName(name)) {
        setValueString(*record, text);
        notifyByName(name);
    }
}

void BConfig::setFloat(std::string_view name, float value) {
    if (OptionValue* record = prepareByName(name)) {
        setValueFloat(*record, value);
        notifyByName(name);
    }
}

void BConfig::setInt(std::string_view name, int32_t value) {
    if (OptionValue* record = prepareByName(name)) {
        setValueInt(*record, value);
        notifyByName(name);
    }
}

void BConfig::setStringById(int32_t id, const std::string& text) {
    if (OptionValue* record = prepareById(id)) {
        setValueString(*record, text);
        notifyById(id);
    }
}

void BConfig::setFloatById(int32_t id, float value) {
    if (OptionValue* record = prepareById(id)) {
        setValueFloat(*record, value);
        notifyById(id);
    }
}

void BConfig::setIntById(int32_t id, int32_t value) {
    if (OptionValue* record = prepareById(id)) {
        setValueInt(*record, value);
        notifyById(id);
    }
}

void BConfig::define(std::string_view name) {
    if (prepareByName(name))
        notifyByName(name);
}

void BConfig::defineById(int32_t id) {
    if (prepareById(id))
        notifyById(id);
}

bool BConfig::unset(std::string_view name) {
    OptionValue* record = findValue(name, false);
    if (record == nullptr)
        return true;
    if (levelRefuses(*record))
        return false;
    record->flags |= cOptionUnsetFlag;
    record->level = mCurrentLevel;
    if (record->descIndex >= 0 && mNotifyChanges) {
        const OptionDesc& desc = *mDescriptors[record->descIndex];
        if (desc.callback)
            desc.callback(desc.id, false);
    }
    return true;
}

bool BConfig::unsetById(int32_t id) {
    if (descriptor(id) == nullptr)
        return false;
    OptionValue* record = boundValue(id);
    if (record == nullptr || record->isUnset())
        return true;
    if (levelRefuses(*record))
        return false;
    record->flags |= cOptionUnsetFlag;
    record->level = mCurrentLevel;
    const OptionDesc& desc = *mDescriptors[id];
    if (mNotifyChanges && desc.callback)
        desc.callback(id, false);
    return true;
}

void BConfig::setFlag(std::string_view name, uint32_t bit) {
    OptionValue* record = findValue(name, false);
    if (record != nullptr && bit < 32)
        record->flags |= 1u << bit;
}

void BConfig::setFlagById(int32_t id, uint32_t bit) {
    OptionValue* record = boundValue(id);
    if (record != nullptr && !record->isUnset() && bit < 32)
        record->flags |= 1u << bit;
}

void BConfig::setFlags(std::string_view name, uint32_t word) {
    if (OptionValue* record = findValue(name, false))
        record->flags = word;
}

void BConfig::setFlagsById(int32_t id, uint32_t word) {
    OptionValue* record = boundValue(id);
    if (record != nullptr && !record->isUnset())
        record->flags = word;
}

void BConfig::clearFlag(std::string_view name, uint32_t bit) {
    OptionValue* record = findValue(name, false);
    if (record != nullptr && bit < 32)
        record->flags &= ~(1u << bit);
}

void BConfig::clearFlagById(int32_t id, uint32_t bit) {
    OptionValue* record = boundValue(id);
    if (record != nullptr && !record->isUnset() && bit < 32)
        record->flags &= ~(1u << bit);
}

int32_t BConfig::registerOption(std::string_view name, std::string_view description,
                                OptionCallback callback) {
    auto desc = std::make_unique<OptionDesc>();
    desc->id = static_cast<int32_t>(mDescriptors.size());
    desc->name = name;
    desc->description = description;
    desc->callback = callback;
    mDescriptors.push_back(std::move(desc));
    return mDescriptors.back()->id;
}

void BConfig::reset() {
    // unset may refuse or find an earlier record of the same name, so walk by
    // index and copy the name: the list itself never changes here.
    for (size_t i = 0; i < mValues.size(); ++i) {
        if (mValues[i].level != cLevelKeep) {
            const std::string name = mValues[i].name;
            unset(name);
        }
    }
    mCurrentLevel = 0;
    mBindDescriptors = true;
}

OptionValue* BConfig::findValue(std::string_view name, bool includeUnset) {
    return const_cast<OptionValue*>(std::as_const(*this).findValue(name, includeUnset));
}

const OptionValue* BConfig::findValue(std::string_view name, bool includeUnset) const {
    for (const OptionValue& record : mValues) {
        if (namesEqual(record.name, name))
            return (record.isUnset() && !includeUnset) ? nullptr : &record;
    }
    return nullptr;
}

OptionDesc* BConfig::findDescriptor(std::string_view name) {
    return const_cast<OptionDesc*>(std::as_const(*this).findDescriptor(name));
}

const OptionDesc* BConfig::findDescriptor(std::string_view name) const {
    for (const auto& desc : mDescriptors) {
        if (namesEqual(desc->name, name))
            return desc.get();
    }
    return nullptr;
}

bool BConfig::isSet(std::string_view name) const { return findValue(name, false) != nullptr; }

bool BConfig::isSetById(int32_t id) const {
    if (!mBindDescriptors)
        return false;
    const OptionValue* record = boundValue(id);
    return record != nullptr && !record->isUnset();
}

namespace {

// A float option as the reader's type: an int reads it truncated and
// saturated, NaN as 0.
void convertFloat(float value, float& out) { out = value; }
void convertFloat(float value, int32_t& out) { out = saturatingInt32(value); }

// Reads a set record as a number; false when there is nothing to read.
template <typename T> bool readNumber(const OptionValue* record, T& out) {
    if (record == nullptr || record->isUnset())
        return false;
    switch (record->type) {
    case cOptionFloat:
        convertFloat(record->floatValue, out);
        break;
    case cOptionInt:
        out = static_cast<T>(record->intValue);
        break;
    case cOptionString:
        out = static_cast<T>(
            record->stringValue.empty() ? 0 : static_cast<int8_t>(record->stringValue[0]));
        break;
    default:
        break; // defined without a value: the caller's default stays
    }
    return true;
}

} // namespace

bool BConfig::getInt(int32_t id, int32_t& out) const { return readNumber(boundValue(id), out); }

bool BConfig::getFloat(int32_t id, float& out) const { return readNumber(boundValue(id), out); }

bool BConfig::getFloatByName(std::string_view name, float& out) const {
    return readNumber(findValue(name, false), out);
}

bool BConfig::valueToString(const OptionValue& record, std::string& out) {
    switch (record.type) {
    case cOptionFloat: {
        std::ostringstream text;
        text << record.floatValue;
        out = text.str();
        break;
    }
    case cOptionInt:
        out = std::to_string(record.intValue);
        break;
    case cOptionString:
        out = record.stringValue;
        break;
    default:
        out.clear();
        break;
    }
    return true;
}

std::string BConfig::stringById(int32_t id, const std::string& fallback) const {
    if (!isSetById(id))
        return fallback;
    std::string text;
    valueToString(*boundValue(id), text);
    return text;
}

const OptionValue* BConfig::valueById(int32_t id) const { return boundValue(id); }

const OptionDesc* BConfig::descriptor(int32_t id) const {
    if (id < 0 || static_cast<size_t>(id) >= mDescriptors.size())
        return nullptr;
    return mDescriptors[id].get();
}

OptionValue* BConfig::prepareByName(std::string_view name) {
    OptionValue* record = findValue(name, true);
    OptionDesc* desc = findDescriptor(name);
    if (record == nullptr) {
        OptionValue& added = mValues.emplace_back();
        added.name = name;
        added.level = mCurrentLevel;
        added.index = static_cast<int32_t>(mValues.size() - 1);
        if (mBindDescriptors && desc != nullptr) {
            added.descIndex = desc->id;
            desc->valueIndex = added.index;
            added.flags = desc->initialFlags;
        }
        return &added;
    }
    if (levelRefuses(*record))
        return nullptr;
    record->flags &= ~cOptionUnsetFlag;
    record->level = mCurrentLevel;
    if (desc != nullptr) {
        record->descIndex = desc->id;
        desc->valueIndex = record->index;
    }
    return record;
}

OptionValue* BConfig::prepareById(int32_t id) {
    if (descriptor(id) == nullptr)
        return nullptr;
    OptionDesc& desc = *mDescriptors[id];
    if (OptionValue* record = boundValue(id)) {
        if (levelRefuses(*record))
            return nullptr;
        record->flags &= ~cOptionUnsetFlag;
        record->level = mCurrentLevel;
        record->descIndex = id;
        desc.valueIndex = record->index;
        return record;
    }
    OptionValue& added = mValues.emplace_back();
    added.name = desc.name;
    added.flags = desc.initialFlags;
    added.level = mCurrentLevel;
    added.index = static_cast<int32_t>(mValues.size() - 1);
    added.descIndex = id;
    if (mBindDescriptors)
        desc.valueIndex = added.index;
    return &added;
}

OptionValue* BConfig::boundValue(int32_t id) {
    return const_cast<OptionValue*>(std::as_const(*this).boundValue(id));
}

const OptionValue* BConfig::boundValue(int32_t id) const {
    const OptionDesc* desc = descriptor(id);
    if (desc == nullptr || desc->valueIndex < 0)
        return nullptr;
    return &mValues[desc->valueIndex];
}

bool BConfig::levelRefuses(const OptionValue& record) const {
    return mRespectLevels && mCurrentLevel < record.level;
}

void BConfig::notifyByName(std::string_view name) {
    if (!mNotifyChanges)
        return;
    const OptionDesc* desc = findDescriptor(name);
    if (desc != nullptr && desc->callback)
        desc->callback(desc->id, true);
}

void BConfig::notifyById(int32_t id) {
    const OptionDesc& desc = *mDescriptors[id];
    if (mNotifyChanges && desc.callback)
        desc.callback(id, true);
}

bool isFlagBitSet(uint32_t word, uint32_t n) { return n < 32 && ((word >> n) & 1u) != 0; }
