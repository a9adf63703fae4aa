#pragma once

// The tray on the desktop: where a tray host runs (a StatusNotifierWatcher
// on the session bus), the icon and its menu are an application indicator
// (libayatana-appindicator3, when the build has it: CMake option
// TARNWICK_APPINDICATOR) and the balloons are desktop notifications; else
// the tray model keeps its logging back end. The indicator's work runs in
// GLib's main context, which the page host's units of work iterate.

#include <filesystem>

// Whether a session bus is known (DBUS_SESSION_BUS_ADDRESS: none is ever
// started for the question) and a tray host owns its name there.
bool trayHostPresent();

// Start-up of the desktop client, after the toolkit started: installs the
// indicator back end when a tray host is present and the build has it, with
// its icons from the folder (TrayIcon.png, TrayIcon_Waiting.png); false when
// the logging back end stays.
bool installDesktopTray(const std::filesystem::path& iconFolder);
