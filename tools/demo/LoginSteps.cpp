#include "LoginSteps.h"

#include "DemoPage.h"

#include <cstdio>
#include <memory>

void addLoginSteps(DemoScript& script, DemoPage& page, const std::filesystem::path& shots,
                   const std::string& user, const std::string& password) {
    using State = DemoScript::State;
    const auto byStoredKey = std::make_shared<bool>(false);
    script.add("the menu page", [&page, byStoredKey] {
        const std::optional<bool> in = page.loggedIn();
        if (!in)
            return State::Waiting;
        *byStoredKey = *in;
        if (*in)
            std::printf("logged in by the stored key\n");
        return State::Done;
    });
    script.add("login.png", screenshotStep(shots / "login.png"));
    script.add("the login form", [&page, byStoredKey, user, password] {
        return *byStoredKey || page.submitLogin(user, password) ? State::Done : State::Waiting;
    });
    script.add("the logged-in screen", [&page, user] {
        const std::optional<bool> in = page.loggedIn();
        if (!in)
            return State::Waiting;
        if (!*in)
            return State::Failed;
        std::printf("logged in as %s\n", user.c_str());
        std::fflush(stdout);
        return State::Done;
    });
    script.add("logged-in.png", screenshotStep(shots / "logged-in.png"));
}
