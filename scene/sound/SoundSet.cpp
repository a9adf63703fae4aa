#include "scene/sound/SoundSet.h"

#include "scene/sound/SoundPlayback.h"

#include "rules/core/RNG.h"

#include "platform/audio/SimpleAudioEngine.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>

namespace {

struct Registry {
    std::vector<std::unique_ptr<SoundSet>> sets;
    std::unordered_map<std::string, int32_t> byName;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

SoundClock& soundClock() {
    static SoundClock current = steadySeconds;
    return current;
}

int32_t registerSet(const std::string& name, const XmlNode* element) {
    auto set = std::make_unique<SoundSet>();
    set->load(element);
    Registry& sets = registry();
    const auto index = static_cast<int32_t>(sets.sets.size());
    sets.sets.push_back(std::move(set));
    sets.byName.emplace(name, index);
    return index;
}

// Volume, then pitch, each drawn within its range.
std::pair<float, float> drawVolumeAndPitch(const SoundSetEntry& entry) {
    const auto volume =
        static_cast<float>(entry.mVolumeMin + gRng.rand() * (entry.mVolumeMax - entry.mVolumeMin));
    const auto pitch =
        static_cast<float>(entry.mPitchMin + gRng.rand() * (entry.mPitchMax - entry.mPitchMin));
    return {volume, pitch};
}

// Sets the drawn volume and pitch of an effect that started.
bool applyToEffect(bool started, int32_t id, std::pair<float, float> volumeAndPitch) {
    if (!started)
        return false;
    auto* engine = CocosDenshion::SimpleAudioEngine::sharedEngine();
    engine->setEffectVolume(static_cast<unsigned int>(id), volumeAndPitch.first);
    engine->setEffectPitch(static_cast<unsigned int>(id), volumeAndPitch.second);
    return true;
}

} // namespace

void SoundSetEntry::load(const XmlNode* element) {
    xmlAttrString(element, "filename", mFilename);
    xmlAttrInt(element, "weight", mWeight);
    float both = 0.0f;
    if (xmlAttrFloat(element, "volume", both))
        mVolumeMin = mVolumeMax = both;
    xmlAttrFloat(element, "volumeMin", mVolumeMin);
    xmlAttrFloat(element, "volumeMax", mVolumeMax);
    if (xmlAttrFloat(element, "pitch", both))
        mPitchMin = mPitchMax = both;
    xmlAttrFloat(element, "pitchMin", mPitchMin);
    xmlAttrFloat(element, "pitchMax", mPitchMax);
}

bool SoundSetEntry::play(int32_t& outId) const {
    const auto volumeAndPitch = drawVolumeAndPitch(*this);
    int32_t id = -1;
    const bool started = playSoundFile(mFilename, &id, false);
    if (!applyToEffect(started, id, volumeAndPitch))
        return false;
    outId = id;
    return true;
}

bool SoundSetEntry::playPanned(const cocos2d::CCPoint& position, int32_t& outId) const {
    const auto volumeAndPitch = drawVolumeAndPitch(*this);
    int32_t id = -1;
    const bool started = playSoundFilePanned(mFilename, position, &id, false);
    if (!applyToEffect(started, id, volumeAndPitch))
        return false;
    outId = id;
    return true;
}

int32_t SoundSet::find(const std::string& name, const XmlNode* element) {
    Registry& sets = registry();
    if (const auto found = sets.byName.find(name); found != sets.byName.end())
        return found->second;
    if (element != nullptr)
        return registerSet(name, element);
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadXmlFile("sound/" + name, root, holder, "SoundSet") || root == nullptr)
        return -1;
    return registerSet(name, root);
}

bool SoundSet::play(int32_t index, int32_t* outId) {
    SoundSet* set = get(index);
    if (set == nullptr)
        return false;
    int32_t id = -1;
    if (const SoundSetEntry* entry = set->pickEntry();
        entry != nullptr && entry->play(id) && outId != nullptr)
        *outId = id;
    return true;
}

bool SoundSet::playPanned(int32_t index, int32_t* outId, const cocos2d::CCPoint& position) {
    SoundSet* set = get(index);
    if (set == nullptr)
        return false;
    int32_t id = -1;
    if (const SoundSetEntry* entry = set->pickEntry();
        entry != nullptr && entry->playPanned(position, id) && outId != nullptr)
        *outId = id;
    return true;
}

SoundSet* SoundSet::get(int32_t index) {
    const Registry& sets = registry();
    if (index < 0 || index >= count())
        return nullptr;
    return sets.sets[static_cast<size_t>(index)].get();
}

int32_t SoundSet::count() {
    return static_cast<int32_t>(registry().sets.size());
}

void SoundSet::clear() {
    registry().sets.clear();
    registry().byName.clear();
}

void SoundSet::load(const XmlNode* element) {
    xmlAttrFloat(element, "minTimeBetweenPlays", mMinTimeBetweenPlays);
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element || !xmlNameEquals(child, "Sound"))
            continue;
        auto entry = std::make_unique<SoundSetEntry>();
        entry->load(child);
        mEntries.push_back(std::move(entry));
    }
    // Cumulative weights; the sum stops at the largest int32_t.
    int64_t sum = 0;
    for (const auto& entry : mEntries) {
        sum = std::min<int64_t>(sum + std::max(entry->mWeight, 1), INT32_MAX);
        entry->mWeight = static_cast<int32_t>(sum);
    }
}

const SoundSetEntry* SoundSet::pickEntry() {
    if (mEntries.empty())
        return nullptr;
    const double now = soundClockNow();
    if (mMinTimeBetweenPlays > now - mLastPlayTime)
        return nullptr;
    mLastPlayTime = now;
    const int32_t total = mEntries.back()->mWeight;
    const auto r = static_cast<int32_t>(gRng.randInt(static_cast<uint32_t>(total - 1))) + 1;
    for (const auto& entry : mEntries)
        if (entry->mWeight >= r)
            return entry.get();
    return mEntries.back().get();
}

bool loadSoundSets(std::string_view listName) {
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadXmlFile(listName, root, holder, "xml") || root == nullptr)
        return false;
    for (const XmlNode* child = root->first_node(); child != nullptr;
         child = child->next_sibling()) {
        std::string name;
        if (child->type() == rapidxml::node_element && xmlNameEquals(child, "SoundSet") &&
            xmlAttrString(child, "name", name))
            SoundSet::find(name, child);
    }
    return true;
}

void setSoundClock(SoundClock clock) {
    soundClock() = clock ? std::move(clock) : SoundClock(steadySeconds);
}

double soundClockNow() {
    return soundClock()();
}
