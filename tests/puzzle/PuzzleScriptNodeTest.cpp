#include "PuzzleTestSupport.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/settings/SettingsManager.h"

#include <set>

namespace {

// The element types of a list of nodes.
std::vector<int32_t> typesOf(const PuzzleScriptNodeList& nodes) {
    std::vector<int32_t> types;
    for (const PuzzleScriptNode* node : nodes)
        types.push_back(node->mType);
    return types;
}

struct ParseCase {
    const char* name;
    const char* script;
    bool loaded;
    std::vector<int32_t> types;
};

const ParseCase cParseCases[] = {
    {"empty script", "<script/>", true, {}},
    {"result inside a section",
     R"(<script><section name="S"><sendTag/></section><onStart/></script>)",
     false,
     {cTriggerStart}},
    {"result inside an untilTag",
     R"(<script><untilTag tagName="T"><victory/></untilTag></script>)",
     false,
     {}},
    {"trigger inside onStart",
     "<script><onStart><onSubmit/></onStart><onUndo/></script>",
     false,
     {cTriggerUndo}},
    {"lower-case names",
     "<script><onstart/><onUndo><SendTag/></onUndo><onSubmit/></script>",
     false,
     {cTriggerSubmit}},
    {"text and comments ignored",
     "<script> hello <!-- c --><onStart>text<reset/></onStart></script>",
     true,
     {cTriggerStart}},
    {"every trigger",
     R"(<script><section name="a"/><onStart/><onNamedTag/><multiTag/>
        <untilTag tagName="b"/><onUnitDeployed/><onUnitMoved/><onUnitAttacked/><onUnitHealed/>
        <onUnitEquipped/><onSpell/><onAP/><onAPRemaining/><onUnitSelected/><onUnitDeselected/>
        <onKO/><onStomp/><onUndo/><onSubmit/></script>)",
     true,
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
};

} // namespace

TEST(PuzzleScriptNodeTest, ParseTable) {
    for (const ParseCase& c : cParseCases) {
        const ParsedScript script(c.script);
        ASSERT_TRUE(script.mParsed) << c.name;
        EXPECT_EQ(script.mLoaded, c.loaded) << c.name;
        EXPECT_EQ(typesOf(script.mNodes), c.types) << c.name;
    }
    PuzzleScriptNodeList nodes;
    EXPECT_FALSE(PuzzleScriptLoader().loadPuzzleScriptNodes(nullptr, nodes));
    EXPECT_TRUE(nodes.empty());
}

TEST(PuzzleScriptNodeTest, AttributesTextAndNesting) {
    const ParsedScript script(R"(<script>
        <onNamedTag tagName="a" tagName="b" other="">
          <showDialog name="D" tapToClose="true">Dialog_Key<victory/></showDialog>
          <hideUI name="ResetButton"/>
        </onNamedTag>
        <untilTag tagName="T"><section name="A"><untilTag tagName="U">
          <section name="Deep"><onKO count="2"/></section></untilTag></section></untilTag>
        </script>)");
    ASSERT_TRUE(script.mLoaded);
    ASSERT_EQ(script.mNodes.size(), 2u);
    const PuzzleScriptNode& tag = *script.mNodes[0];
    EXPECT_EQ(tag.mAttributes, (PuzzleAttributes{{"tagName", "b"}, {"other", ""}}))
        << "a name written twice keeps the last value";
    EXPECT_TRUE(tag.mChildren.empty());
    ASSERT_EQ(tag.mResults.size(), 2u);
    EXPECT_EQ(tag.mResults[0]->mType, cResultShowDialog);
    EXPECT_EQ(tag.mResults[0]->mText, "Dialog_Key");
    EXPECT_EQ(tag.mResults[0]->mAttributes,
              (PuzzleAttributes{{"name", "D"}, {"tapToClose", "true"}}));
    EXPECT_EQ(tag.mResults[1]->mType, cResultHideUI);
    EXPECT_EQ(tag.mResults[1]->mText, "");

    // A section three levels down inside untilTag and section elements.
    const PuzzleScriptNode* node = script.mNodes[1];
    for (int32_t type : {cTriggerUntilTag, cTriggerSection, cTriggerUntilTag, cTriggerSection}) {
        ASSERT_EQ(node->mType, type);
        ASSERT_EQ(node->mChildren.size(), 1u);
        EXPECT_TRUE(node->mResults.empty());
        node = node->mChildren[0].get();
    }
    EXPECT_EQ(node->mType, cTriggerKO);
    EXPECT_EQ(attributeText(node->mAttributes, "count"), "2");
}

TEST(PuzzleScriptNodeTest, ElementNameTables) {
    for (size_t type = 1; type < cTriggerElementNames.size(); ++type)
        EXPECT_EQ(triggerTypeForName(cTriggerElementNames[type]), static_cast<int32_t>(type));
    for (size_t type = 1; type < cResultElementNames.size(); ++type)
        EXPECT_EQ(resultTypeForName(cResultElementNames[type]), static_cast<int32_t>(type));
    for (const char* name : {"", "Section", "onstart", "sendTag ", "script", "victory"})
        EXPECT_EQ(triggerTypeForName(name), 0) << name;
    for (const char* name : {"", "Victory", "section", "hideui"})
        EXPECT_EQ(resultTypeForName(name), 0) << name;
}

// The sample catalogue read with the installed support: every puzzle keeps
// its script, every node parses and every trigger whose results exist builds.
class SampleCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        installPuzzleScriptSupport();
        setBaseFolder(TARNWICK_SOURCE_DIR);
        BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
        loadLocalizableStrings();
        testing::internal::CaptureStdout();
        const bool loaded = Database::init() && SettingsManager::instance().init();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded);
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        setPuzzleScriptSupport(nullptr);
        Database::clear();
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
    }
};

TEST_F(SampleCatalogueTest, EveryScriptNodeParses) {
    SettingsManager& settings = SettingsManager::instance();
    settings.loadPuzzleCategories();
    // The tutorials, the challenges and the four civ tutorials.
    ASSERT_EQ(settings.mPuzzleCategories.size(), 6u);
    EXPECT_EQ(settings.puzzleCount(settings.mTutorialsCategoryIndex), 2);
    EXPECT_EQ(settings.puzzleCount(settings.mChallengesCategoryIndex), 1);
    for (int32_t category = 0; category < 6; ++category) {
        ASSERT_GE(settings.puzzleCount(category), 1) << category;
        for (int32_t index = 0; index < settings.puzzleCount(category); ++index) {
            const ProtoPuzzle* puzzle = settings.getPuzzle(category, index);
            ASSERT_NE(puzzle->mScript, nullptr) << puzzle->mName;
            EXPECT_GE(puzzle->mScript->size(), 4u) << puzzle->mName;
            // Every dialog's text is a key of the strings table; each script
            // shows dialogs and arrows and ends in victory and in defeat.
            std::set<int32_t> types;
            std::vector<const PuzzleScriptNode*> pending(puzzle->mScript->begin(),
                                                         puzzle->mScript->end());
            while (!pending.empty()) {
                const PuzzleScriptNode* node = pending.back();
                pending.pop_back();
                for (const auto& child : node->mChildren)
                    pending.push_back(child.get());
                for (const auto& result : node->mResults) {
                    types.insert(result->mType);
                    if (result->mType != cResultShowDialog)
                        continue;
                    std::string key = attributeText(result->mAttributes, "pcContents");
                    if (key.empty())
                        key = result->mText;
                    EXPECT_NE(localizedString(key), key) << puzzle->mName;
                }
            }
            for (int32_t type :
                 {cResultShowDialog, cResultShowArrow, cResultVictory, cResultDefeat})
                EXPECT_TRUE(types.contains(type)) << puzzle->mName << " " << type;
        }
    }
}

TEST_F(SampleCatalogueTest, TutorialCategoryIndices) {
    SettingsManager& settings = SettingsManager::instance();
    settings.loadPuzzleCategories();
    for (size_t i = 0; i < cTutorialCategoryNames.size(); ++i) {
        std::string name;
        EXPECT_TRUE(settings.categoryName(tutorialCategoryIndices()[i], name));
        EXPECT_EQ(name, cTutorialCategoryNames[i]);
    }

    // A catalogue with three of them, read from its category file.
    XMLHelper holder;
    holder.setText(R"(<category name="Tutorials"><category name="Meet the Tribe"/>
        <category name="Meet the Council"/><category name="Meet the dwarves"/>
        <category name="Meet the Dark Elves"/></category>)");
    XmlNode* root = nullptr;
    ASSERT_TRUE(holder.parse(root));
    settings.clearPuzzleCategories();
    settings.parsePuzzleCategory(root);
    cacheTutorialCategoryIndices();
    EXPECT_EQ(tutorialCategoryIndices(), (std::array<int32_t, 4>{1, 3, -1, 0}));
}
