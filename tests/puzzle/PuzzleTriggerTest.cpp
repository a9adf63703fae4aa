#include "PuzzleTestSupport.h"

#include "puzzle/PuzzleSectionTrigger.h"

#include <climits>
#include <functional>

namespace {

class PuzzleTriggerTest;
using Steps = std::function<void(PuzzleTriggerTest&, PuzzleScriptTrigger&)>;

// One trigger element whose results send "fired" (and for grouping triggers
// their children's tags), the events handed to it, and the log they leave:
// "|" marks each step.
struct TriggerCase {
    const char* name;
    const char* element;
    Steps steps;
    std::vector<std::string> log;
};

class PuzzleTriggerTest : public PuzzleTest {
public:
    using PuzzleTest::entity;
    using PuzzleTest::mArcher;
    using PuzzleTest::mKnight;

    void act(PuzzleScriptTrigger& trigger, int32_t type, int32_t source) {
        trigger.onUnitAction(action(type, source));
        mark();
    }
    void heal(PuzzleScriptTrigger& trigger, std::vector<std::pair<int32_t, int32_t>> heals) {
        CandidateAction* made = action(cActionHeal, mKnight);
        for (const auto& [before, after] : heals)
            addRecord(made, mKnight, before, after);
        trigger.onUnitAction(made);
        mark();
    }
    void ko(PuzzleScriptTrigger& trigger) {
        trigger.onKO(entity(mKnight));
        mark();
    }
    void tag(PuzzleScriptTrigger& trigger, const std::string& name) {
        trigger.onNamedTag(name);
        mark();
    }
    void submit(PuzzleScriptTrigger& trigger) {
        trigger.onSubmit();
        mark();
    }
    void section(PuzzleScriptTrigger& trigger, const std::string& name) {
        trigger.setSection(name);
        mark();
    }
    void undo(PuzzleScriptTrigger& trigger) {
        trigger.onUndo(true);
        mark();
    }
};

constexpr const char* cFired = R"(<sendTag tagName="fired"/>)";

std::string withFired(const char* element) {
    std::string text(element);
    const size_t close = text.find('>');
    const bool empty = text[close - 1] == '/';
    const size_t nameEnd = text.find_first_of(" />");
    const std::string name = text.substr(1, nameEnd - 1);
    if (empty)
        return text.substr(0, close - 1) + ">" + cFired + "</" + name + ">";
    return text;
}

const TriggerCase cTriggerCases[] = {
    {"onKO count 2 fires on the second only; undo resets",
     R"(<onKO count="2"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.ko(tr), test.ko(tr), test.ko(tr), test.undo(tr), test.ko(tr), test.ko(tr);
     },
     {"|", "tag:fired", "|", "|", "|", "|", "tag:fired", "|"}},
    {"onKO proto filter",
     R"(<onKO protoName="archer"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) { test.ko(tr); },
     {"|"}},
    {"onUnitMoved keeps its count over an undo",
     R"(<onUnitMoved count="2" resetOnUndo="false"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.act(tr, cActionMove, test.mKnight);
         test.undo(tr);
         test.act(tr, cActionMove, test.mKnight);
     },
     {"|", "|", "tag:fired", "|"}},
    {"onUnitMoved resets on undo (\"False\" is not \"false\")",
     R"(<onUnitMoved count="2" resetOnUndo="False"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.act(tr, cActionMove, test.mKnight);
         test.undo(tr);
         test.act(tr, cActionMove, test.mKnight);
         test.act(tr, cActionAttack, test.mKnight);
     },
     {"|", "|", "|", "|"}},
    {"onAP counts six kinds of action",
     "<onAP/>",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         for (int32_t type = 0; type < cActionTypeCount; ++type)
             test.act(tr, type, test.mKnight);
     },
     // return, place, deploy, move, attack, heal, equip, use-item, cast,
     // ally ability, swap
     {"|", "|", "tag:fired", "|", "tag:fired", "|", "tag:fired", "|", "tag:fired", "|", "tag:fired",
      "|", "|", "tag:fired", "|", "|", "|"}},
    {"onUnitDeployed: its kind, its proto, an entity of the game",
     R"(<onUnitDeployed protoName="knight"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.act(tr, cActionMove, test.mKnight);
         test.act(tr, cActionDeploy, test.mArcher);
         test.act(tr, cActionDeploy, 99);
         test.act(tr, cActionDeploy, test.mKnight);
     },
     {"|", "|", "|", "tag:fired", "|"}},
    {"onUnitHealed threshold 10 in hit points",
     R"(<onUnitHealed threshold="10"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.heal(tr, {{4, 9}});
         test.heal(tr, {{4, 10}});
         test.heal(tr, {{20, 20}});
         test.heal(tr, {{-1, 50}});
         test.heal(tr, {{4, 15}, {5, 30}});
     },
     {"|", "tag:fired", "|", "|", "|", "tag:fired", "tag:fired", "|"}},
    {"onUnitHealed counts two healed units twice",
     R"(<onUnitHealed count="2"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.heal(tr, {{4, 15}, {5, 30}});
         test.heal(tr, {{4, 15}});
     },
     {"tag:fired", "|", "|"}},
    {"multiTag A;B",
     R"(<multiTag tagNames="A;B"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.tag(tr, "A"), test.tag(tr, "A"), test.tag(tr, "B"), test.tag(tr, "C");
         tr.reset();
         test.tag(tr, "B");
     },
     {"|", "|", "tag:fired", "|", "tag:fired", "|", "|"}},
    {"untilTag T",
     R"(<untilTag tagName="T"><onSubmit><sendTag tagName="submit"/></onSubmit>
        <onNamedTag tagName="X"><sendTag tagName="x"/></onNamedTag>
        <onNamedTag tagName="T"><sendTag tagName="t"/></onNamedTag></untilTag>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.submit(tr), test.tag(tr, "X"), test.tag(tr, "T"), test.submit(tr), test.tag(tr, "X");
         tr.reset();
         test.submit(tr);
     },
     {"tag:submit", "|", "tag:x", "|", "|", "|", "tag:x", "|", "tag:submit", "|"}},
    {"section deaf until named, silenced, deaf after a reset",
     R"(<section name="S"><onSubmit><sendTag tagName="fired"/></onSubmit></section>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         test.submit(tr), test.section(tr, "S"), test.submit(tr), test.section(tr, "Other");
         test.submit(tr), test.section(tr, "S"), tr.reset(), test.submit(tr);
     },
     {"|", "|", "tag:fired", "|", "|", "|", "|", "|"}},
    {"onUnitSelected of an unused proto",
     R"(<onUnitSelected protoName="dragon"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         tr.onUnitSelected(test.entity(test.mKnight));
         tr.onUnitSelected(nullptr);
     },
     {}},
    {"onUnitSelected of a proto",
     R"(<onUnitSelected protoName="knight"/>)",
     [](PuzzleTriggerTest& test, PuzzleScriptTrigger& tr) {
         tr.onUnitSelected(test.entity(test.mArcher));
         tr.onUnitSelected(test.entity(test.mKnight));
         test.entity(test.mArcher)->mProtoId = 77; // no such proto: passes
         tr.onUnitSelected(test.entity(test.mArcher));
         test.entity(test.mArcher)->mProtoId = cArcher;
     },
     {"tag:fired", "tag:fired"}},
    {"single-event triggers",
     "<onStart/>",
     [](PuzzleTriggerTest&, PuzzleScriptTrigger& tr) {
         tr.onSubmit(), tr.onUndo(true), tr.onStart(), tr.onStart();
     },
     {"tag:fired", "tag:fired"}},
};

} // namespace

TEST_F(PuzzleTriggerTest, TriggerTable) {
    for (const TriggerCase& c : cTriggerCases) {
        SCOPED_TRACE(c.name);
        log().clear();
        const std::unique_ptr<PuzzleScriptTrigger> built = trigger(withFired(c.element));
        ASSERT_NE(built, nullptr);
        c.steps(*this, *built);
        EXPECT_EQ(log(), c.log);
    }
}

TEST_F(PuzzleTriggerTest, APRemainingArmedByTheLastPoint) {
    Player& player = *mGame->mPlayers[0];
    player.mActionPoints = 2;
    const auto remaining = trigger(withFired(R"(<onAPRemaining count="0"/>)"));
    ASSERT_NE(remaining, nullptr);
    mScene.mRecorder.mTrigger = remaining.get();

    player.addActionPoints(-1);
    act(*remaining, cActionMove, mKnight);
    player.addActionPoints(-1); // the last point arms it
    act(*remaining, cActionMove, mKnight);
    act(*remaining, cActionMove, mKnight); // fired once, disarmed
    // An action with sub-actions leaves it armed; an undo disarms it.
    player.addActionPoints(0);
    CandidateAction* chained = action(cActionCastPower, mKnight);
    chained->mSubActions.push_back(new CandidateAction(mGame, 0));
    remaining->onUnitAction(chained);
    mark();
    remaining->onUndo(true);
    act(*remaining, cActionMove, mKnight);
    // The other player's points count too.
    mGame->mPlayers[1]->addActionPoints(0);
    act(*remaining, cActionMove, mKnight);
    EXPECT_EQ(log(), (std::vector<std::string>{"ap", "|", "ap", "tag:fired", "|", "|", "ap", "|",
                                               "|", "ap", "tag:fired", "|"}));

    // Without "count" it never fires.
    log().clear();
    const auto unset = trigger(withFired("<onAPRemaining/>"));
    ASSERT_NE(unset, nullptr);
    mScene.mRecorder.mTrigger = unset.get();
    for (int32_t points : {0, -1, INT_MIN / 2}) {
        player.mActionPoints = points;
        player.addActionPoints(0);
        act(*unset, cActionMove, mKnight);
    }
    EXPECT_EQ(log(), (std::vector<std::string>{"ap", "|", "ap", "|", "ap", "|"}));
    mScene.mRecorder.mTrigger = nullptr;
}

TEST_F(PuzzleTriggerTest, TriggersThatDoNotBuild) {
    // Required section attributes; a child that does not build; a result
    // that does not build (an arrow needs the board scene's dialog layer).
    for (const char* element :
         {"<section/>", R"(<untilTag name="T"/>)", R"(<section name="S"><section/></section>)",
          R"(<onStart><sendTag/><showArrow/></onStart>)"})
        EXPECT_EQ(trigger(element), nullptr) << element;
    // An empty name is a name; counts without digits read 0 (never reached).
    EXPECT_NE(trigger(R"(<section name=""/>)"), nullptr);
    const auto never = trigger(withFired(R"(<onKO count="x2"/>)"));
    ASSERT_NE(never, nullptr);
    never->onKO(entity(mKnight));
    never->onKO(entity(mKnight));
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(PuzzleScriptTrigger::create(nullptr), nullptr);
}
