// The desktop client: run from the folder that holds data/ and vellix/, or
// with --root DIR. The menu page needs an X display; without one the
// recording page host stands in for it.
#include "shell/BrowserPageHost.h"
#include "shell/CocosV8Handler.h"
#include "shell/DesktopTray.h"
#include "shell/Startup.h"

#include "platform/browser/OffscreenPage.h"

#include <cstdio>
#include <memory>
#include <string_view>

int main(int argc, char** argv) {
    ShellOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root" && i + 1 < argc) {
            options.root = argv[++i];
        } else {
            std::fprintf(stderr, "usage: tarnwick [--root DIR]\n");
            return 2;
        }
    }
    installBridgeSeams();
    std::unique_ptr<BrowserPageHost> page;
    if (OffscreenPage::initToolkit()) {
        page = std::make_unique<BrowserPageHost>(shellRootFolder(options).string());
        options.page = page.get();
        if (installDesktopTray(shellRootFolder(options) / "data" / "interface"))
            std::printf("the tray icon is an application indicator\n");
    } else {
        std::printf("no display: the menu page is not shown\n");
    }
    return runShell(options);
}
