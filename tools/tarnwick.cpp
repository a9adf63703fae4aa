// The desktop client: run from the folder that holds data/ and vellix/, or
// with --root DIR.
#include "shell/CocosV8Handler.h"
#include "shell/Startup.h"

#include <cstdio>
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
    return runShell(options);
}
