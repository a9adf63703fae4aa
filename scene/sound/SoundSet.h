#pragma once

// Sound sets: named lists of variants of one sound. A play picks a variant
// at random by weight, draws its volume and pitch within the variant's
// ranges (volume first, both from gRng) and plays it once; a set with a
// minimum time between plays stays silent until that time has passed since
// its last pick. Sets come from the list file "sound/SoundSets.xml" and, on
// demand, from single set files "sound/<name>.SoundSet"; a name is
// registered once (the first registration wins) and sets live until exit.
// Main thread only.

#include "content/XMLHelper.h"

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One variant of a set.
struct SoundSetEntry {
    // Reads the attributes of a "Sound" element; a missing or unreadable
    // one keeps its default.
    void load(const XmlNode* element);
    // Plays the variant once with drawn volume and pitch; true, with the
    // effect id, when an effect started.
    bool play(int32_t& outId) const;
    bool playPanned(const cocos2d::CCPoint& position, int32_t& outId) const;

    std::string mFilename;
    int32_t mWeight = 1; // cumulative once the set is loaded
    float mVolumeMin = 1.0f;
    float mVolumeMax = 1.0f;
    float mPitchMin = 1.0f;
    float mPitchMax = 1.0f;
};

class SoundSet {
public:
    // The index of the set of that name. An unregistered name is loaded
    // from element when one is given, else from its set file; -1, with
    // nothing remembered, when that file is missing or broken.
    static int32_t find(const std::string& name, const XmlNode* element = nullptr);
    // Plays a variant of the set at index: false for an unknown index, else
    // true; the id is written when an effect started.
    static bool play(int32_t index, int32_t* outId);
    static bool playPanned(int32_t index, int32_t* outId, const cocos2d::CCPoint& position);

    // The registered set at index, or null; the number of sets.
    static SoundSet* get(int32_t index);
    static int32_t count();
    // Forgets every set (tests).
    static void clear();

    // Reads a "SoundSet" element and makes the weights cumulative (a weight
    // below 1 counts as 1).
    void load(const XmlNode* element);
    // The variant of this play, or null when the rate limit holds or the
    // set is empty.
    const SoundSetEntry* pickEntry();

    std::vector<std::unique_ptr<SoundSetEntry>> mEntries;
    float mMinTimeBetweenPlays = 0.0f;
    double mLastPlayTime = std::numeric_limits<double>::lowest();
};

// Loads the list file name.xml under "data/" and registers its sets; false
// when it cannot be read or parsed.
bool loadSoundSets(std::string_view listName);

// The clock of the rate limit, in seconds: a steady clock unless replaced.
using SoundClock = std::function<double()>;
// Replaces the clock (tests); null restores the steady clock.
void setSoundClock(SoundClock clock);
double soundClockNow();
