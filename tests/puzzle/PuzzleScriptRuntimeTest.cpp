#include "PuzzleTestSupport.h"

#include "puzzle/PuzzleSectionTrigger.h"

#include "content/RegisteredOptions.h"

namespace {

// A games list that answers whether a player is logged in.
class LoginList : public GamesList {
public:
    LoginList() { setGamesList(this); }
    ~LoginList() override { setGamesList(nullptr); }
    GameRecord* findGame(int64_t) override { return nullptr; }
    std::string getNickname() const override { return {}; }
    bool isLoggedIn() const override { return mLoggedIn; }
    bool mLoggedIn = false;
};

class PuzzleScriptRuntimeTest : public PuzzleTest {
protected:
    // The running script of a script text; the scene's recorder passes tags
    // and sections on to it.
    PuzzleScriptRuntime& run(std::string_view text) {
        const ParsedScript script(text);
        EXPECT_TRUE(script.mLoaded) << text;
        mScript = PuzzleScriptRuntime::create(&script.mNodes);
        mScene.mRecorder.mTarget = mScript.get();
        return *mScript;
    }
    void TearDown() override {
        mScene.mRecorder.mTarget = nullptr;
        mScript.reset();
        PuzzleTest::TearDown();
    }
    // Whether the top-level section at index is active.
    bool active(size_t index) const {
        const auto* section =
            dynamic_cast<const PuzzleSectionTrigger*>(mScript->triggers()[index].get());
        return section && section->isActive();
    }

    std::unique_ptr<PuzzleScriptRuntime> mScript;
};

} // namespace

TEST_F(PuzzleScriptRuntimeTest, CreateKeepsTheTriggersThatBuild) {
    EXPECT_EQ(PuzzleScriptRuntime::create(nullptr), nullptr);
    PuzzleScriptNodeList none{nullptr};
    EXPECT_TRUE(PuzzleScriptRuntime::create(&none)->triggers().empty());
    PuzzleScriptRuntime& script = run(
        R"(<script><section/><onStart><showArrow/></onStart><onSubmit/><untilTag tagName="T"/></script>)");
    ASSERT_EQ(script.triggers().size(), 2u);
    EXPECT_NE(dynamic_cast<PuzzleUntilTagTrigger*>(script.triggers()[1].get()), nullptr);
}

TEST_F(PuzzleScriptRuntimeTest, TheLastSectionOfAnEventWinsAfterIt) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onSubmit><setSection name="A"/><setSection name="B"/></onSubmit>
        <section name="A"><onSubmit><sendTag tagName="a"/></onSubmit></section>
        <section name="B"><onSubmit><sendTag tagName="b"/></onSubmit></section>
        </script>)");
    script.onSubmit();
    // One switch, to "B", after the submit reached every trigger: neither
    // section heard it.
    EXPECT_EQ(log(), (std::vector<std::string>{"section:A", "section:B"}));
    EXPECT_FALSE(active(1));
    EXPECT_TRUE(active(2));
    EXPECT_TRUE(script.pendingSection().empty());

    log().clear();
    script.onSubmit();
    EXPECT_EQ(log(), (std::vector<std::string>{"section:A", "section:B", "tag:b"}));
}

TEST_F(PuzzleScriptRuntimeTest, PendingSectionAppliedOnlyAfterTheEvent) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onUndo><setSection name="S"/></onUndo>
        <section name="S"><onUndo><sendTag tagName="heard"/></onUndo></section>
        </script>)");
    script.onUndo(true);
    EXPECT_EQ(script.pendingSection(), "");
    EXPECT_TRUE(active(1));
    EXPECT_EQ(log(), (std::vector<std::string>{"section:S"}));
    script.setPendingSection("elsewhere");
    EXPECT_TRUE(active(1)) << "set, not yet applied";
    script.onUnitDeselected();
    EXPECT_FALSE(active(1));
}

TEST_F(PuzzleScriptRuntimeTest, SectionChosenDuringStartDoesNotHearIt) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onStart><setSection name="S"/></onStart>
        <section name="S"><onStart><sendTag tagName="heard"/></onStart></section>
        </script>)");
    script.start();
    EXPECT_EQ(log(), (std::vector<std::string>{"section:S"}));
    EXPECT_TRUE(active(1));
    script.start();
    EXPECT_EQ(log(), (std::vector<std::string>{"section:S", "section:S", "tag:heard"}));
}

TEST_F(PuzzleScriptRuntimeTest, KnockOutsAndStompsPerRecord) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onKO><sendTag tagName="ko1"/></onKO>
        <onStomp><sendTag tagName="stomp2"/></onStomp>
        <onKO><sendTag tagName="ko3"/></onKO>
        <onAP><sendTag tagName="action"/></onAP>
        </script>)");
    // Two knock-outs: onKO twice per trigger, onUnitAction once.
    CandidateAction* attack = action(cActionAttack, mKnight);
    addRecord(attack, mArcher, 5, 0);
    addRecord(attack, mKnight, 400, 0);
    script.onActionPerformed(attack);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"tag:ko1", "tag:ko3", "tag:ko1", "tag:ko3", "tag:action"}));

    // Knock-out and stomp, trigger by trigger; a unit staying at 0, one that
    // lost health without falling, records not captured or of no entity.
    log().clear();
    CandidateAction* move = action(cActionMove, mKnight);
    addRecord(move, mArcher, 0, 0);
    addRecord(move, mKnight, 100, 50);
    addRecord(move, mKnight, -1, 0);
    addRecord(move, mKnight, 300, -1);
    addRecord(move, mArcher, 20, 0, true);
    move->mResults.push_back(new ActionResultInfo(99));
    script.onActionPerformed(move);
    EXPECT_EQ(log(), (std::vector<std::string>{"tag:ko1", "tag:stomp2", "tag:ko3", "tag:action"}));

    // A stomp alone.
    log().clear();
    CandidateAction* stomp = action(cActionMove, mKnight);
    addRecord(stomp, mArcher, 0, 0, true);
    script.onActionPerformed(stomp);
    EXPECT_EQ(log(), (std::vector<std::string>{"tag:stomp2", "tag:action"}));

    // Nothing at all without a current game or an action.
    log().clear();
    script.onActionPerformed(nullptr);
    gCurrentGame = nullptr;
    script.onActionPerformed(attack);
    EXPECT_TRUE(log().empty());
}

TEST_F(PuzzleScriptRuntimeTest, SectionChangeOfAKnockOutWaitsForTheWholeAction) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onKO><setSection name="S"/></onKO>
        <section name="S"><onAP><sendTag tagName="heard"/></onAP></section>
        </script>)");
    CandidateAction* attack = action(cActionAttack, mKnight);
    addRecord(attack, mArcher, 5, 0);
    script.onActionPerformed(attack);
    EXPECT_EQ(log(), (std::vector<std::string>{"section:S"}));
    EXPECT_TRUE(active(1));
}

TEST_F(PuzzleScriptRuntimeTest, NestedTagAppliesItsPendingSectionFirst) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onSubmit><sendTag tagName="go"/><sendTag tagName="probe"/></onSubmit>
        <onNamedTag tagName="go"><setSection name="S"/></onNamedTag>
        <section name="S"><onNamedTag tagName="probe"><sendTag tagName="heard"/></onNamedTag>
          <onSubmit><sendTag tagName="late"/></onSubmit></section>
        </script>)");
    script.onSubmit();
    EXPECT_EQ(log(), (std::vector<std::string>{"tag:go", "section:S", "tag:probe", "tag:heard",
                                               "tag:late"}))
        << "the section, active before the outer event ends, hears its rest";
}

TEST_F(PuzzleScriptRuntimeTest, SetSectionRequirements) {
    LoginList list;
    PuzzleScriptRuntime& script = run(R"(<script><onSubmit>
        <setSection name="login" requiresLogin="true"/>
        <setSection name="veteran" requiresPlayedBefore="true"/>
        <setSection name="anyone" requiresLogin="True" requiresPlayedBefore="1"/>
        </onSubmit></script>)");
    const auto submit = [&] {
        log().clear();
        script.onSubmit();
        return log();
    };
    using Log = std::vector<std::string>;
    EXPECT_EQ(submit(), (Log{"section:anyone"})) << "logged out, first time";
    list.mLoggedIn = true;
    EXPECT_EQ(submit(), (Log{"section:login", "section:anyone"}));
    prefSetBool("EverPlayedGame", true);
    EXPECT_EQ(submit(), (Log{"section:login", "section:veteran", "section:anyone"}));
    BConfig::instance().setIntById(cOptForceFirstTimeUser, 1);
    EXPECT_EQ(submit(), (Log{"section:login", "section:anyone"}));
    BConfig::instance().unsetById(cOptForceFirstTimeUser);
    prefSetBool("EverPlayedGame", false);
    list.mLoggedIn = false;
    EXPECT_EQ(submit(), (Log{"section:anyone"}));
}

TEST_F(PuzzleScriptRuntimeTest, ResultsWithoutASceneDoNothing) {
    PuzzleScriptRuntime& script = run(R"(<script><onSubmit><sendTag tagName="t"/>
        <setSection name="S"/></onSubmit><section name="S"/></script>)");
    gGameScene = nullptr;
    script.onSubmit();
    gGameScene = &mScene;
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(active(1));
}

TEST_F(PuzzleScriptRuntimeTest, TagsThatSendEachOtherEnd) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onNamedTag tagName="ping"><sendTag tagName="pong"/></onNamedTag>
        <onNamedTag tagName="pong"><sendTag tagName="ping"/></onNamedTag>
        </script>)");
    script.sendTag("ping");
    // The recorder logs every send; the script runs cMaxTagNesting of them.
    ASSERT_EQ(log().size(), static_cast<size_t>(PuzzleScriptRuntime::cMaxTagNesting));
    EXPECT_EQ(log().back(), "tag:ping");
    log().clear();
    script.sendTag("ping");
    EXPECT_EQ(log().size(), static_cast<size_t>(PuzzleScriptRuntime::cMaxTagNesting))
        << "the depth is counted down again";
}

TEST_F(PuzzleScriptRuntimeTest, TagsThatMultiplyEnd) {
    PuzzleScriptRuntime& script = run(R"(<script>
        <onNamedTag tagName="A"><sendTag tagName="A"/><sendTag tagName="A"/></onNamedTag>
        <onSubmit><sendTag tagName="A"/></onSubmit>
        </script>)");
    script.onSubmit();
    // The first tag of the chain and cMaxChainedTags more ran: each sent two.
    EXPECT_EQ(log().size(),
              static_cast<size_t>(1 + 2 * (1 + PuzzleScriptRuntime::cMaxChainedTags)));
    log().clear();
    script.onSubmit();
    EXPECT_EQ(log().size(), static_cast<size_t>(1 + 2 * (1 + PuzzleScriptRuntime::cMaxChainedTags)))
        << "every chain has its own allowance";
}
