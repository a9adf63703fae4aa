#include "shell/DesktopTray.h"

#include "shell/Tray.h"

#include <gio/gio.h>

#include <cstdlib>
#include <memory>

#ifdef TARNWICK_HAS_APPINDICATOR
#include <gtk/gtk.h>
#include <libayatana-appindicator/app-indicator.h>
#endif

namespace {

constexpr const char* cTrayHostName = "org.kde.StatusNotifierWatcher";

// The session bus, or null; never one started for the asking.
GDBusConnection* sessionBus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0')
        return nullptr;
    return g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
}

#ifdef TARNWICK_HAS_APPINDICATOR

// The icon and menu as an application indicator; balloons as desktop
// notifications whose click opens the newest waiting game.
class AppIndicatorTrayBackend : public TrayBackend {
public:
    AppIndicatorTrayBackend(GDBusConnection* bus, const std::filesystem::path& iconFolder)
        : mBus(bus) {
        mIndicator = app_indicator_new_with_path(
            "tarnwick", "TrayIcon", APP_INDICATOR_CATEGORY_COMMUNICATIONS, iconFolder.c_str());
        app_indicator_set_status(mIndicator, APP_INDICATOR_STATUS_ACTIVE);
        mActionSubscription = g_dbus_connection_signal_subscribe(
            mBus, "org.freedesktop.Notifications", "org.freedesktop.Notifications", "ActionInvoked",
            "/org/freedesktop/Notifications", nullptr, G_DBUS_SIGNAL_FLAGS_NONE, balloonAction,
            this, nullptr);
        // The host shows the menu by itself: it is kept current every few
        // seconds (buildTrayMenu hands it over when it changed).
        mMenuTimer = g_timeout_add_seconds(
            5,
            [](gpointer) -> gboolean {
                buildTrayMenu();
                return G_SOURCE_CONTINUE;
            },
            nullptr);
    }
    ~AppIndicatorTrayBackend() override {
        g_source_remove(mMenuTimer);
        g_dbus_connection_signal_unsubscribe(mBus, mActionSubscription);
        g_object_unref(mIndicator);
        g_object_unref(mBus);
    }

    void setIcon(bool waiting) override {
        app_indicator_set_icon_full(mIndicator, waiting ? "TrayIcon_Waiting" : "TrayIcon",
                                    "Tarnwick");
    }
    void setTip(const std::string& tip) override {
        app_indicator_set_title(mIndicator, tip.c_str());
    }
    bool showBalloon(const std::string& title, const std::string& text) override {
        const char* actions[] = {"default", "Open", nullptr};
        GVariant* reply = g_dbus_connection_call_sync(
            mBus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
            "org.freedesktop.Notifications", "Notify",
            g_variant_new("(susss^asa{sv}i)", "Tarnwick", 0u, "", title.c_str(), text.c_str(),
                          actions, nullptr, -1),
            G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
        if (reply == nullptr)
            return false;
        g_variant_get(reply, "(u)", &mLastBalloon);
        g_variant_unref(reply);
        return true;
    }
    void showMenu(const std::vector<TrayMenuItem>& items) override {
        if (items == mItems)
            return;
        mItems = items;
        GtkWidget* menu = gtk_menu_new();
        for (const TrayMenuItem& item : items) {
            GtkWidget* entry = item.id == cTrayDivider
                                   ? gtk_separator_menu_item_new()
                                   : gtk_menu_item_new_with_label(item.text.c_str());
            if (item.id != cTrayDivider)
                g_signal_connect(entry, "activate", G_CALLBACK(menuActivated),
                                 GINT_TO_POINTER(item.id));
            if (item.id == cTrayOpen)
                app_indicator_set_secondary_activate_target(mIndicator, entry);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
        }
        gtk_widget_show_all(menu);
        app_indicator_set_menu(mIndicator, GTK_MENU(menu));
    }
    void remove() override { app_indicator_set_status(mIndicator, APP_INDICATOR_STATUS_PASSIVE); }

private:
    static void menuActivated(GtkMenuItem*, gpointer id) { trayMenuCommand(GPOINTER_TO_INT(id)); }
    static void balloonAction(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                              const gchar*, GVariant* parameters, gpointer self) {
        guint32 id = 0;
        const gchar* action = nullptr;
        g_variant_get(parameters, "(u&s)", &id, &action);
        if (id == static_cast<AppIndicatorTrayBackend*>(self)->mLastBalloon)
            handleTrayEvent(TrayEvent::BalloonClicked);
    }

    GDBusConnection* mBus;
    AppIndicator* mIndicator = nullptr;
    guint mActionSubscription = 0;
    guint mMenuTimer = 0;
    guint32 mLastBalloon = 0;
    std::vector<TrayMenuItem> mItems;
};

#endif

} // namespace

bool trayHostPresent() {
    GDBusConnection* bus = sessionBus();
    if (bus == nullptr)
        return false;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", cTrayHostName), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return owned != FALSE;
}

bool installDesktopTray([[maybe_unused]] const std::filesystem::path& iconFolder) {
#ifdef TARNWICK_HAS_APPINDICATOR
    if (!trayHostPresent())
        return false;
    GDBusConnection* bus = sessionBus();
    if (bus == nullptr)
        return false;
    static std::unique_ptr<AppIndicatorTrayBackend> backend;
    backend = std::make_unique<AppIndicatorTrayBackend>(bus, iconFolder);
    setTrayBackend(backend.get());
    buildTrayMenu();
    return true;
#else
    return false;
#endif
}
