#pragma once

// The login of a tarnwick-demo run: waits for the menu page to settle and
// writes login.png; unless the stored key logged in already, puts the user
// name and password into the page's login form and presses its button;
// then waits for the logged-in screen and writes logged-in.png. Fails when
// the page shows the login screen again.

#include "DemoScript.h"

#include <filesystem>
#include <string>

class DemoPage;

void addLoginSteps(DemoScript& script, DemoPage& page, const std::filesystem::path& shots,
                   const std::string& user, const std::string& password);
