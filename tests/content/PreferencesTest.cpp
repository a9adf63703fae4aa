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
    bool prefGetInt(std::string_view key, int32_t& out) override {
        lastKey = key;
        out = 7;
        return true;
    }
    void prefSetInt(int32_t value, std::string_view key) override {
        lastKey = key;
        lastInt = value;
    }
    void togglePref(std::string_view key) override { lastKey = std::string("toggled ") += key; }
    std::string lastKey;
    int32_t lastInt = 0;
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

TEST(PreferencesTest, MemoryStoreWritesIntegersAndToggles) {
    MemoryPreferenceStore store;
    store.prefSetInt(3, "k");
    store.prefSetInt(-2147483647 - 1, "low");
    EXPECT_EQ(store.values().at("k"), "3");
    EXPECT_EQ(store.values().at("low"), "-2147483648");
    store.togglePref("New");
    EXPECT_EQ(store.values().at("New"), "true") << "an absent key counts as false";
    store.togglePref("New");
    EXPECT_EQ(store.values().at("New"), "false");
    store.setValue("Odd", "True");
    store.togglePref("Odd");
    EXPECT_EQ(store.values().at("Odd"), "true") << "only \"true\" reads as true";
}

TEST(PreferencesTest, IntegersReadTheLeadingNumberOfTheText) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"12", 12},
        {"-4", -4},
        {"  +9", 9},
        {"7 AP", 7},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"- 3", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    MemoryPreferenceStore store;
    for (const auto& c : cases) {
        store.setValue("Number", c.text);
        int32_t value = 123;
        EXPECT_TRUE(store.prefGetInt("Number", value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    int32_t untouched = 123;
    EXPECT_FALSE(store.prefGetInt("Absent", untouched));
    EXPECT_EQ(untouched, 123);
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
    int32_t number = 0;
    EXPECT_TRUE(prefGetInt("Vellix_FirstTurnAP", number));
    EXPECT_EQ(recording.lastKey, "Vellix_FirstTurnAP");
    EXPECT_EQ(number, 7);
    prefSetInt(-3, "HighestNewsRead");
    EXPECT_EQ(recording.lastKey, "HighestNewsRead");
    EXPECT_EQ(recording.lastInt, -3);
    togglePref("SoundsEnabled");
    EXPECT_EQ(recording.lastKey, "toggled SoundsEnabled");

    // Removing it brings back the built-in memory store.
    setPreferenceStore(nullptr);
    EXPECT_EQ(&preferenceStore(), &builtInPreferenceStore());
    EXPECT_FALSE(prefGetBool("CompletedPuzzle_A", value));
    prefSetBool("CompletedPuzzle_A", true);
    EXPECT_TRUE(prefGetBool("CompletedPuzzle_A", value));
    builtInPreferenceStore().clear();
}
