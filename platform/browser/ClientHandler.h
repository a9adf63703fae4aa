#pragma once

// The browser layer's request rules, shared by every page: the custom scheme
// "tarnwick://" that serves the interface's files and the native call road,
// and where a popup window of a page opens.
//
// A scheme URL's path (everything after the prefix, query included, nothing
// decoded) names a file under the current folder: "data/..." as it stands,
// anything else under "html/". Paths that could leave those folders (a ".."
// segment, a leading "/", a backslash) and files that do not exist get 404.
// The reserved path "app/bridge/<fn>?<arguments>" reads no file: it is the
// native call road (BridgeDispatcher.h).

#include <string>

inline constexpr const char* kSchemeName = "tarnwick";
inline constexpr const char* kSchemePrefix = "tarnwick://";
inline constexpr const char* kBridgePath = "app/bridge/";

// What a scheme URL resolves to.
struct SchemeRequest {
    bool served = false;   // the URL is the scheme's (else the engine loads it)
    bool bridge = false;   // a native call: function and arguments are set
    std::string function;  // bridge: the function's name, decoded
    std::string arguments; // bridge: the arguments' JSON text, decoded
    std::string file;      // file: path relative to the current folder
    std::string mimeType;  // "application/javascript" or "text/html"
    int status = 200;      // 200, or 404 for a refused path
};

// Where a popup of a page opens and how large it is (screen pixels).
struct PopupPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class ClientHandler {
public:
    // Resolves a request URL by the scheme's rules. Does not look at the
    // disk: a file that turns out missing is the reader's 404.
    static SchemeRequest OnBeforeResourceLoad(const std::string& url);

    // Reads the file of a resolved request; false (and the status set to
    // 404) when it is missing, a folder or unreadable.
    static bool readSchemeFile(SchemeRequest& request, std::string& body);

    // A 1024 by 768 popup centred over the rectangle of the window that
    // opens it (each offset truncated toward zero, so it may be negative).
    static PopupPlacement OnBeforePopup(int left, int top, int right, int bottom);
};
