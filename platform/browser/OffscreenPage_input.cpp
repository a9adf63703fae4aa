// Synthesised input of the off-screen page: SDL's mouse, wheel, key, text
// and focus events become GDK events handed to the web view's widget, as if
// its window had received them.

#include "platform/browser/OffscreenPage.h"

#include <SDL2/SDL.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace {

unsigned gdkModifiers(int sdlModifiers) {
    unsigned state = 0;
    if (sdlModifiers & KMOD_SHIFT)
        state |= GDK_SHIFT_MASK;
    if (sdlModifiers & KMOD_CTRL)
        state |= GDK_CONTROL_MASK;
    if (sdlModifiers & KMOD_ALT)
        state |= GDK_MOD1_MASK;
    return state;
}

// The GDK key of an SDL key code; 0 for keys typed as text (printable
// characters without Ctrl or Alt arrive as text events).
unsigned keyvalFor(int key, int modifiers) {
    switch (key) {
    case SDLK_RETURN:
        return GDK_KEY_Return;
    case SDLK_KP_ENTER:
        return GDK_KEY_KP_Enter;
    case SDLK_BACKSPACE:
        return GDK_KEY_BackSpace;
    case SDLK_TAB:
        return GDK_KEY_Tab;
    case SDLK_ESCAPE:
        return GDK_KEY_Escape;
    case SDLK_DELETE:
        return GDK_KEY_Delete;
    case SDLK_INSERT:
        return GDK_KEY_Insert;
    case SDLK_LEFT:
        return GDK_KEY_Left;
    case SDLK_RIGHT:
        return GDK_KEY_Right;
    case SDLK_UP:
        return GDK_KEY_Up;
    case SDLK_DOWN:
        return GDK_KEY_Down;
    case SDLK_HOME:
        return GDK_KEY_Home;
    case SDLK_END:
        return GDK_KEY_End;
    case SDLK_PAGEUP:
        return GDK_KEY_Page_Up;
    case SDLK_PAGEDOWN:
        return GDK_KEY_Page_Down;
    case SDLK_LSHIFT:
        return GDK_KEY_Shift_L;
    case SDLK_RSHIFT:
        return GDK_KEY_Shift_R;
    case SDLK_LCTRL:
        return GDK_KEY_Control_L;
    case SDLK_RCTRL:
        return GDK_KEY_Control_R;
    case SDLK_LALT:
        return GDK_KEY_Alt_L;
    case SDLK_RALT:
        return GDK_KEY_Alt_R;
    default:
        break;
    }
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return GDK_KEY_F1 + unsigned(key - SDLK_F1);
    if (key >= 0x20 && key < 0x40000000 && key != SDLK_DELETE) {
        if (!(modifiers & (KMOD_CTRL | KMOD_ALT)))
            return 0;
        return gdk_unicode_to_keyval(guint32(key));
    }
    return 0;
}

GdkDevice* seatDevice(GtkWidget* widget, bool keyboard) {
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
    return keyboard ? gdk_seat_get_keyboard(seat) : gdk_seat_get_pointer(seat);
}

// A new event of the widget's window; the caller hands it on and frees it.
GdkEvent* newEvent(GtkWidget* widget, GdkEventType type, bool keyboard) {
    GdkEvent* event = gdk_event_new(type);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->any.send_event = TRUE;
    gdk_event_set_device(event, seatDevice(widget, keyboard));
    return event;
}

// Time and place of a pointer event (motion, button or scroll).
template <typename PointerEvent> void place(PointerEvent& event, int x, int y) {
    event.time = GDK_CURRENT_TIME;
    event.x = x;
    event.y = y;
    event.x_root = x;
    event.y_root = y;
}

void deliver(GtkWidget* widget, GdkEvent* event) {
    gtk_widget_event(widget, event);
    gdk_event_free(event);
}

void sendKeyval(GtkWidget* widget, unsigned keyval, unsigned state, bool press) {
    GdkEvent* event = newEvent(widget, press ? GDK_KEY_PRESS : GDK_KEY_RELEASE, true);
    event->key.time = GDK_CURRENT_TIME;
    event->key.state = state;
    event->key.keyval = keyval;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(
            gdk_keymap_get_for_display(gtk_widget_get_display(widget)), keyval, &keys, &count) &&
        count > 0) {
        event->key.hardware_keycode = guint16(keys[0].keycode);
        event->key.group = guint8(keys[0].group);
    }
    g_free(keys);
    deliver(widget, event);
}

} // namespace

void OffscreenPage::sendMouseMove(int x, int y) {
    GtkWidget* widget = GTK_WIDGET(mView);
    GdkEvent* event = newEvent(widget, GDK_MOTION_NOTIFY, false);
    place(event->motion, x, y);
    event->motion.state = mButtonsDown;
    deliver(widget, event);
}

void OffscreenPage::sendMouseButton(int x, int y, MouseButton button, bool up) {
    GtkWidget* widget = GTK_WIDGET(mView);
    const unsigned number = button == kRightButton ? 3 : 1;
    const unsigned mask = button == kRightButton ? GDK_BUTTON3_MASK : GDK_BUTTON1_MASK;
    GdkEvent* event = newEvent(widget, up ? GDK_BUTTON_RELEASE : GDK_BUTTON_PRESS, false);
    place(event->button, x, y);
    event->button.button = number;
    event->button.state = mButtonsDown;
    mButtonsDown = up ? (mButtonsDown & ~mask) : (mButtonsDown | mask);
    deliver(widget, event);
}

void OffscreenPage::sendMouseWheel(int x, int y, int delta) {
    GtkWidget* widget = GTK_WIDGET(mView);
    GdkEvent* event = newEvent(widget, GDK_SCROLL, false);
    place(event->scroll, x, y);
    event->scroll.direction = GDK_SCROLL_SMOOTH;
    event->scroll.delta_x = 0;
    event->scroll.delta_y = -delta / 120.0; // away from the user scrolls up
    deliver(widget, event);
}

void OffscreenPage::sendKey(KeyType type, int key, int modifiers) {
    const unsigned keyval = keyvalFor(key, modifiers);
    if (type == kKeyChar || keyval == 0)
        return;
    sendKeyval(GTK_WIDGET(mView), keyval, gdkModifiers(modifiers), type == kKeyDown);
}

void OffscreenPage::sendText(const std::string& text) {
    if (!g_utf8_validate(text.c_str(), gssize(text.size()), nullptr))
        return;
    GtkWidget* widget = GTK_WIDGET(mView);
    const unsigned state = gdkModifiers(SDL_GetModState()) & GDK_SHIFT_MASK;
    for (const char* p = text.c_str(); *p; p = g_utf8_next_char(p)) {
        const unsigned keyval = gdk_unicode_to_keyval(g_utf8_get_char(p));
        sendKeyval(widget, keyval, state, true);
        sendKeyval(widget, keyval, state, false);
    }
}

void OffscreenPage::sendFocus(bool focused) {
    // Only the view's focus: a focus change of the offscreen toplevel sends
    // the X server requests about a window it does not have.
    GtkWidget* widget = GTK_WIDGET(mView);
    GdkEvent* event = newEvent(widget, GDK_FOCUS_CHANGE, true);
    event->focus_change.in = focused ? TRUE : FALSE;
    gtk_widget_send_focus_change(widget, event);
    gdk_event_free(event);
    if (focused)
        gtk_widget_grab_focus(widget);
}

void OffscreenPage::sendCaptureLost() {
    GtkWidget* widget = GTK_WIDGET(mView);
    GdkEvent* event = newEvent(widget, GDK_LEAVE_NOTIFY, false);
    event->crossing.time = GDK_CURRENT_TIME;
    event->crossing.mode = GDK_CROSSING_UNGRAB;
    mButtonsDown = 0;
    deliver(widget, event);
}
