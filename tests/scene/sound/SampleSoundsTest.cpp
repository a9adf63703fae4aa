// The sample content's sounds: every sound name the code and the data play
// has a sound set or a file, and a set from the data folder plays to its end
// on SDL2_mixer with the dummy driver.

#include "SoundTestSupport.h"

#include "platform/audio/MixerAudioBackend.h"
#include "platform/engine/CCFileUtils.h"

#include <chrono>
#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const fs::path cSource = TARNWICK_SOURCE_DIR;

class SampleSoundsTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        setBaseFolder(cSource);
        cocos2d::CCFileUtils::setResourcePath((cSource / "data").string());
        ASSERT_TRUE(loadSoundSets("sound/SoundSets"));
    }
    void TearDown() override {
        cocos2d::CCFileUtils::setResourcePath("");
        SoundTest::TearDown();
    }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void addMatches(const std::string& text, const std::regex& pattern, int group,
                const std::string& where, std::map<std::string, std::string>& names) {
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        names.emplace((*it)[group].str(), where);
}

// Every sound name of the code (string literals of sound files, and names
// handed to the play functions and the sound action) and of the data
// (elements and attributes whose name ends in "Sound", and the files of the
// puppets' PlaySound tags), with where it was seen first.
std::map<std::string, std::string> soundNamesInUse() {
    std::map<std::string, std::string> names;
    const std::regex file(R"re("(sound/[^"]+\.(mp3|wav|ogg))")re");
    const std::regex call(R"re((playSound\w*|actionWithFile\w*|playEffectSound)\(\s*"([^"]+)")re");
    for (const char* folder : {"content", "rules", "puppet", "scene", "tools/cli"}) {
        if (!fs::exists(cSource / folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(cSource / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h")
                continue;
            const std::string text = readFile(entry.path());
            const std::string where = fs::relative(entry.path(), cSource).string();
            addMatches(text, file, 1, where, names);
            addMatches(text, call, 2, where, names);
        }
    }
    const std::regex element(R"re(<(\w*[Ss]ound)>\s*([^<\s][^<]*?)\s*</\1>)re");
    const std::regex attribute(R"re(\s\w*[Ss]ound="([^"]+)")re");
    const std::regex tag(R"re(<Tag\s[^>]*Type="PlaySound"[^>]*\sFilename="([^"]+)")re");
    for (const auto& entry : fs::recursive_directory_iterator(cSource / "data")) {
        const fs::path relative = fs::relative(entry.path(), cSource / "data");
        if (!entry.is_regular_file() || *relative.begin() == "sound")
            continue;
        const std::string extension = entry.path().extension().string();
        if (extension != ".xml" && extension != ".Puppet" && extension != ".PuppetAnim" &&
            extension != ".EffectGroup")
            continue;
        const std::string text = readFile(entry.path());
        addMatches(text, element, 2, "data/" + relative.string(), names);
        addMatches(text, attribute, 1, "data/" + relative.string(), names);
        addMatches(text, tag, 1, "data/" + relative.string(), names);
    }
    return names;
}

bool dataFileExists(const std::string& name) {
    return fs::is_regular_file(cSource / "data" / name);
}

} // namespace

TEST_F(SampleSoundsTest, EverySoundNameInUseHasASetOrAFile) {
    const std::map<std::string, std::string> names = soundNamesInUse();
    // The names the rules play at the least.
    for (const char* name :
         {"sound/UI_Game_CantPlace.mp3", "UI_Game_CannotPlace_Swish",
          "sound/Game_Tile_Land_InRack.mp3", "Civ/Humans/Knight_Select", "sound/Premium_Power.mp3"})
        EXPECT_TRUE(names.count(name)) << name << " was not found in use";
    for (const auto& [name, where] : names) {
        const int32_t set = SoundSet::find(name);
        if (set < 0) {
            EXPECT_TRUE(dataFileExists(name)) << name << " (" << where << ") has no set or file";
            continue;
        }
        EXPECT_FALSE(SoundSet::get(set)->mEntries.empty()) << name;
    }
    // The sets the code names, and the variants of every set.
    for (const char* name :
         {"Game_Tile_Throw_To_Rack", "Game_Tile_Land_InRack", "UI_Game_CannotPlace_Swish"})
        EXPECT_GE(SoundSet::find(name), 0) << name;
    for (int32_t i = 0; i < SoundSet::count(); ++i)
        for (const auto& entry : SoundSet::get(i)->mEntries)
            EXPECT_TRUE(dataFileExists(entry->mFilename)) << entry->mFilename;
    EXPECT_TRUE(dataFileExists("sound/Mx_Title_Theme_v4.mp3"));
    EXPECT_TRUE(dataFileExists("sound/Game_Ponder_LP.mp3"));
}

TEST_F(SampleSoundsTest, ASetFromTheDataPlaysToItsEndOnTheDummyDriver) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto mixer = std::make_unique<CocosDenshion::MixerAudioBackend>();
    ASSERT_TRUE(mixer->isOpen());
    audio()->setBackend(std::move(mixer));
    audio()->setClock(nullptr);
    int32_t id = -1;
    ASSERT_TRUE(playSoundEffect("Game_Tile_Land_InRack", &id, false));
    ASSERT_GT(id, 0);
    const auto effect = static_cast<unsigned int>(id);
    EXPECT_TRUE(audio()->isEffectPlaying(effect)); // the file decoded
    const auto start = std::chrono::steady_clock::now();
    while (audio()->isEffectPlaying(effect) &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        audio()->update();
    }
    EXPECT_FALSE(audio()->isEffectPlaying(effect));
}
