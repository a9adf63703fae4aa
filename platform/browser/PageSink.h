#pragma once

// What the off-screen client passes to the page: mouse, wheel, keys, text,
// focus and capture changes in page pixels (x from the left, y from the
// top), and statements run in the page. The real page is OffscreenPage;
// tests record.

#include <string>

class PageSink {
public:
    enum MouseButton { kLeftButton = 0, kRightButton = 2 };
    enum KeyType { kKeyUp = 0, kKeyDown = 1, kKeyChar = 2 };

    virtual ~PageSink() = default;
    virtual void sendMouseMove(int x, int y) = 0;
    virtual void sendMouseButton(int x, int y, MouseButton button, bool up) = 0;
    // delta in wheel units, 120 a notch, positive away from the user.
    virtual void sendMouseWheel(int x, int y, int delta) = 0;
    // key: the SDL key code; modifiers: SDL's key modifiers.
    virtual void sendKey(KeyType type, int key, int modifiers) = 0;
    // Typed text (UTF-8), one character event per character.
    virtual void sendText(const std::string& text) = 0;
    virtual void sendFocus(bool focused) = 0;
    virtual void sendCaptureLost() = 0;
    // The page's size in pixels.
    virtual void setViewSize(int width, int height) = 0;
    // Runs a statement in the page's main frame; nothing waits for it.
    virtual void runScript(const std::string& statement) = 0;
};
