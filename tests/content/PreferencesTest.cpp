#include "content/Preferences.h"

#include <gtest/gtest.h>

namespace {

// A store that records what reaches it.
class RecordingStore : public PreferenceStore {
public:
    bool prefGetBool(std::string_view key, bool& out) override {
        lastKey = key;
        out = true;
        return true;
    }
    void prefSetBool(std::string_view key, bool value) override {
        lastKey = key;
        lastValue = value;
    }
    std::string lastKey;
    bool lastValue = false;
};

} // namespace

TEST(PreferencesTest, MemoryStoreKeepsTrueAndFalseTexts) {
    MemoryPreferenceStore store;
    bool value = true;
    EXPECT_FALSE(store.prefGetBool("Flag", value));
    EXPECT_TRUE(value) << "an absent key leaves the caller's default";
    store.prefSetBool("Flag", false);
    EXPECT_TRUE(store.prefGetBool("Flag", value));
    EXPECT_FALSE(value);
    store.prefSetBool("Flag", true);
    EXPECT_EQ(store.values().at("Flag"), "true");
    EXPECT_TRUE(store.prefGetBool("Flag", value));
    EXPECT_TRUE(value);
    EXPECT_FALSE(store.prefGetBool("flag", value)) << "keys keep their case";
}

TEST(PreferencesTest, CallsGoToTheInstalledStore) {
    RecordingStore recording;
    setPreferenceStore(&recording);
    prefSetBool("CompletedPuzzle_A", true);
    EXPECT_EQ(recording.lastKey, "CompletedPuzzle_A");
    EXPECT_TRUE(recording.lastValue);
    bool value = false;
    EXPECT_TRUE(prefGetBool("Other", value));
    EXPECT_EQ(recording.lastKey, "Other");

    // Removing it brings back the built-in memory store.
    setPreferenceStore(nullptr);
    EXPECT_EQ(&preferenceStore(), &builtInPreferenceStore());
    EXPECT_FALSE(prefGetBool("CompletedPuzzle_A", value));
    prefSetBool("CompletedPuzzle_A", true);
    EXPECT_TRUE(prefGetBool("CompletedPuzzle_A", value));
    builtInPreferenceStore().clear();
}
