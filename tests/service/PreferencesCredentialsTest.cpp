#include "SecureStorageTestSupport.h"

#include "content/Preferences.h"
#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"
#include "service/WebService.h"

#include <atomic>
#include <regex>
#include <thread>
#include <vector>

namespace {

class PreferencesCredentialsTest : public SecureStorageTest {
protected:
    void SetUp() override {
        SecureStorageTest::SetUp();
        openQuietly(mStore, cAccountA);
    }

    // A fresh store on the same file.
    std::unique_ptr<BSecureStorage> reopened() {
        auto store = std::make_unique<BSecureStorage>();
        openQuietly(*store, cAccountA);
        return store;
    }

    BSecureStorage mStore;
};

const std::regex cDeviceIdForm("^\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}$");

} // namespace

TEST_F(PreferencesCredentialsTest, BooleansAndIntegersReadAsStored) {
    const struct {
        const char* text; // null: absent
        bool present;
        bool asBool;
        int32_t asInt;
    } cases[] = {
        {"true", true, true, 0},   {"True", true, false, 0}, {"1", true, false, 1},
        {"false", true, false, 0}, {"12ab", true, false, 12}, {"ab", true, false, 0},
        {"-7", true, false, -7},   {nullptr, false, true, 55},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "absent");
        BSecureStorage store;
        if (c.text)
            store.setValue("Key", c.text);
        bool flag = true;
        int32_t number = 55;
        EXPECT_EQ(store.prefGetBool("Key", flag), c.present);
        EXPECT_EQ(flag, c.asBool);
        EXPECT_EQ(store.prefGetInt("Key", number), c.present);
        EXPECT_EQ(number, c.asInt);
        std::string value;
        EXPECT_FALSE(store.getValue("Other", value));
        EXPECT_FALSE(store.getValue("Other", value)) << "a lookup never inserts";
    }
}

TEST_F(PreferencesCredentialsTest, PreferenceSettersSaveAtOnceCredentialSettersDoNot) {
    mStore.togglePref("Vellix_MediumLayout");
    mStore.prefSetInt(3, "k");
    mStore.prefSetBool("SoundsEnabled", false);
    mStore.setLocalPlayerAvatar("Knight|2");
    mStore.setStoredUsername("sam");
    mStore.setStoredAuthKey("auth-1234");

    std::unique_ptr<BSecureStorage> fresh = reopened();
    std::string value;
    EXPECT_TRUE(fresh->getValue("Vellix_MediumLayout", value));
    EXPECT_EQ(value, "true") << "a new key toggles to true";
    EXPECT_TRUE(fresh->getValue("k", value));
    EXPECT_EQ(value, "3");
    EXPECT_TRUE(fresh->getValue("SoundsEnabled", value));
    EXPECT_EQ(value, "false");
    EXPECT_TRUE(fresh->getValue("LocalPlayerAvatar", value));
    EXPECT_EQ(value, "Knight|2");
    EXPECT_EQ(fresh->getStoredUsername(), "") << "credentials wait for the next save";
    EXPECT_EQ(fresh->getStoredAuthKey(), "");

    mStore.save();
    fresh = reopened();
    EXPECT_EQ(fresh->getStoredUsername(), "sam");
    EXPECT_EQ(fresh->getStoredAuthKey(), "auth-1234");
}

TEST_F(PreferencesCredentialsTest, DeviceIdIsMadeOnceAndKept) {
    EXPECT_EQ(mStore.ensureDeviceId(), 0);
    EXPECT_EQ(mStore.ensureDeviceId(), 1);
    const std::string id = mStore.getStoredUDID();
    EXPECT_TRUE(std::regex_match(id, cDeviceIdForm)) << id;
    EXPECT_EQ(mStore.getStoredUDID(), id);

    BSecureStorage other;
    const std::string otherId = other.getStoredUDID();
    EXPECT_TRUE(std::regex_match(otherId, cDeviceIdForm)) << otherId;
    EXPECT_NE(otherId, id);

    ASSERT_TRUE(mStore.save());
    std::unique_ptr<BSecureStorage> fresh = reopened();
    EXPECT_EQ(fresh->ensureDeviceId(), 1);
    EXPECT_EQ(fresh->getStoredUDID(), id);
}

TEST_F(PreferencesCredentialsTest, StandardOutputNeverHoldsAStoredValue) {
    testing::internal::CaptureStdout();
    mStore.setStoredUsername("secret-user");
    mStore.setStoredAuthKey("secret-auth");
    const std::string id = mStore.getStoredUDID();
    mStore.prefSetBool("SoundsEnabled", true);
    BSecureStorage otherAccount;
    otherAccount.initCrypto(cAccountB);
    otherAccount.open();
    setEncryption(false);
    mStore.load();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Read Exception"), std::string::npos) << out;
    for (const std::string& secret : {std::string("secret-user"), std::string("secret-auth"), id})
        EXPECT_EQ(out.find(secret), std::string::npos) << out;
}

TEST_F(PreferencesCredentialsTest, InstalledStoreKeepsCompletedPuzzles) {
    SettingsManager& settings = SettingsManager::instance();
    auto category = std::make_unique<PuzzleCategory>();
    category->mName = "Tutorials";
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("First"));
    settings.mPuzzleCategories.push_back(std::move(category));
    setPreferenceStore(&mStore);
    settings.setPuzzleCompleted(0, 0);
    std::unique_ptr<BSecureStorage> fresh = reopened();
    setPreferenceStore(fresh.get());
    EXPECT_TRUE(settings.isPuzzleCompleted(0, 0));
    setPreferenceStore(nullptr);
    settings.clearPuzzleCategories();
    EXPECT_TRUE(builtInPreferenceStore().values().empty()) << "nothing reached the built-in store";
}

TEST_F(PreferencesCredentialsTest, KeyComesFromTheSignedInUser) {
    SteamClient::setUserDataFolder(mDataHome / "steam");
    SteamClient::init();
    BSecureStorage nobody;
    EXPECT_TRUE(nobody.initCrypto());
    EXPECT_TRUE(nobody.hasKey());
    SteamClient::shutdown();

    SteamClient::setNotSignedIn(true);
    SteamClient::init();
    EXPECT_FALSE(nobody.initCrypto());
    EXPECT_FALSE(nobody.hasKey());
    SteamClient::shutdown();
    SteamClient::setNotSignedIn(false);
    SteamClient::setUserDataFolder({});

    // Without a key the file is plain text.
    openQuietly(nobody, 0);
    nobody.prefSetBool("SoundsEnabled", true);
    EXPECT_EQ(readFile(file()).rfind("22 serialization::archive", 0), 0u);
}

TEST_F(PreferencesCredentialsTest, ServiceSendsTheStoredDeviceId) {
    WebService client;
    EXPECT_EQ(client.stamp(Endpoint::GetGameList).mDeviceId, getStoredUDID());
    EXPECT_TRUE(std::regex_match(getStoredUDID(), cDeviceIdForm));
}

// Signed requests read the device id on worker threads while the main thread
// writes preferences and saves.
TEST_F(PreferencesCredentialsTest, DeviceIdReadsOnWorkersWhileTheMainThreadSaves) {
    const std::string id = mStore.getStoredUDID();
    std::atomic<bool> done = false;
    std::atomic<int> mismatches = 0;
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
        readers.emplace_back([&] {
            while (!done)
                if (mStore.getStoredUDID() != id)
                    ++mismatches;
        });
    for (int i = 0; i < 50; ++i) {
        mStore.prefSetInt(i, "HighestNewsRead");
        mStore.togglePref("SoundsEnabled");
        mStore.setStoredAuthKey("auth-" + std::to_string(i));
        mStore.save();
    }
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(mismatches, 0);
    int32_t news = 0;
    EXPECT_TRUE(reopened()->prefGetInt("HighestNewsRead", news));
    EXPECT_EQ(news, 49);
}
