#pragma once

// The shell's system message boxes and its fatal exit. Each text also goes
// to standard error; with no display (SDL's offscreen or dummy video driver,
// or neither X nor Wayland) that line is all there is.

#include <string>

// Whether no message box can be shown.
bool isHeadless();
// A modal box with an OK button: caption and text.
void showMessageBox(const std::string& caption, const std::string& text);
// Shows the text captioned "ERROR", then ends the process with exit code 1.
[[noreturn]] void fatalExit(const std::string& text);
