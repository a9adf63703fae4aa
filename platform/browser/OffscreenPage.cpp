#include "platform/browser/OffscreenPage.h"

#include "platform/browser/BridgeDispatcher.h"
#include "platform/browser/ClientHandler.h"

#include <SDL2/SDL.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::atomic<OffscreenPage*> gOSRBrowser{nullptr};
std::thread::id gMainThread;
std::mutex gStatementMutex;
std::vector<std::string> gStatements; // from other threads, for the next pump

// Every request of the scheme: a file, a 404 or a native call.
void serveScheme(WebKitURISchemeRequest* request, gpointer) {
    SchemeRequest resolved =
        ClientHandler::OnBeforeResourceLoad(webkit_uri_scheme_request_get_uri(request));
    std::string body;
    if (resolved.bridge)
        body = answerBridgeCall(resolved.function, resolved.arguments);
    else if (resolved.served)
        ClientHandler::readSchemeFile(resolved, body);
    else
        resolved.status = 404;
    GBytes* bytes = g_bytes_new(body.data(), body.size());
    GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, gint64(body.size()));
    webkit_uri_scheme_response_set_status(response, guint(resolved.status),
                                          resolved.status == 200 ? "OK" : "Not Found");
    webkit_uri_scheme_response_set_content_type(response, resolved.mimeType.c_str());
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "*");
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
    g_bytes_unref(bytes);
}

// The game's GL context, made current again after toolkit work that may
// have made its own current behind SDL's back (SDL skips a make-current
// of the context it believes current, hence the detour through none).
class GLContextKeeper {
public:
    GLContextKeeper() : mWindow(SDL_GL_GetCurrentWindow()), mContext(SDL_GL_GetCurrentContext()) {}
    ~GLContextKeeper() {
        if (mWindow && mContext) {
            SDL_GL_MakeCurrent(mWindow, nullptr);
            SDL_GL_MakeCurrent(mWindow, mContext);
        }
    }
    GLContextKeeper(const GLContextKeeper&) = delete;
    GLContextKeeper& operator=(const GLContextKeeper&) = delete;

private:
    SDL_Window* mWindow;
    SDL_GLContext mContext;
};

void registerSchemeOnce(WebKitWebContext* context) {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    webkit_web_context_register_uri_scheme(context, kSchemeName, serveScheme, nullptr, nullptr);
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_secure(security, kSchemeName);
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, kSchemeName);
}

} // namespace

struct OffscreenPage::Callbacks {
    static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer) {
        return TRUE; // the engine's own error page is not shown
    }
    static void close(WebKitWebView*, gpointer self) {
        auto* page = static_cast<OffscreenPage*>(self);
        if (page->mCloseHandler) {
            page->mCloseHandler();
            return;
        }
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    static void closePopup(WebKitWebView* view, gpointer) {
        gtk_widget_destroy(gtk_widget_get_toplevel(GTK_WIDGET(view)));
    }
    static void showPopup(WebKitWebView* view, gpointer) {
        gtk_widget_show_all(gtk_widget_get_toplevel(GTK_WIDGET(view)));
    }
    // A page's popup opens in a window of its own, centred over the page's.
    static GtkWidget* create(WebKitWebView* view, WebKitNavigationAction*, gpointer self) {
        const int* parent = static_cast<OffscreenPage*>(self)->mPopupParent;
        const PopupPlacement place =
            ClientHandler::OnBeforePopup(parent[0], parent[1], parent[2], parent[3]);
        GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), place.width, place.height);
        gtk_window_move(GTK_WINDOW(window), place.x, place.y);
        GtkWidget* popup = webkit_web_view_new_with_related_view(view);
        gtk_container_add(GTK_CONTAINER(window), popup);
        g_signal_connect(popup, "ready-to-show", G_CALLBACK(showPopup), nullptr);
        g_signal_connect(popup, "close", G_CALLBACK(closePopup), nullptr);
        g_signal_connect(popup, "load-failed", G_CALLBACK(loadFailed), nullptr);
        return popup;
    }
    static void snapshotReady(GObject* view, GAsyncResult* result, gpointer self) {
        GError* error = nullptr;
        cairo_surface_t* surface =
            webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, &error);
        if (error) {
            const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            g_error_free(error);
            if (cancelled)
                return; // the page is gone
        }
        static_cast<OffscreenPage*>(self)->finishSnapshot(surface);
    }
};

bool OffscreenPage::initToolkit() {
    static const bool started = [] {
        // An off-screen page has no accessibility tree to export; without
        // this GTK opens a D-Bus session for it.
        setenv("NO_AT_BRIDGE", "1", 0);
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    return started;
}

OffscreenPage::OffscreenPage(int width, int height) {
    const GLContextKeeper keeper;
    gMainThread = std::this_thread::get_id();
    WebKitWebContext* context = webkit_web_context_get_default();
    registerSchemeOnce(context);

    WebKitUserContentManager* content = webkit_user_content_manager_new();
    WebKitUserScript* script =
        webkit_user_script_new(bridgeUserScript(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);

    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_allow_file_access_from_file_urls(settings, TRUE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, TRUE);
    webkit_settings_set_enable_write_console_messages_to_stdout(settings, FALSE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);

    mView = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings",
                                         settings, "user-content-manager", content, nullptr));
    g_object_unref(settings);
    g_object_unref(content);
    const GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(mView, &clear);
    g_signal_connect(mView, "load-failed", G_CALLBACK(Callbacks::loadFailed), this);
    g_signal_connect(mView, "close", G_CALLBACK(Callbacks::close), this);
    g_signal_connect(mView, "create", G_CALLBACK(Callbacks::create), this);

    mWindow = gtk_offscreen_window_new();
    gtk_container_add(GTK_CONTAINER(mWindow), GTK_WIDGET(mView));
    mCancellable = g_cancellable_new();
    setViewSize(width, height);
    setPopupParent(0, 0, width, height);
    gtk_widget_show_all(mWindow);
    gOSRBrowser = this;
}

OffscreenPage::~OffscreenPage() {
    const GLContextKeeper keeper;
    gOSRBrowser = nullptr;
    mPaintHandler = nullptr;
    {
        std::lock_guard<std::mutex> lock(gStatementMutex);
        gStatements.clear();
    }
    g_cancellable_cancel(G_CANCELLABLE(mCancellable));
    gtk_widget_destroy(mWindow);
    // Let the cancelled snapshot and the view's teardown finish.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_object_unref(mCancellable);
}

void OffscreenPage::load(const std::string& url) {
    webkit_web_view_load_uri(mView, url.c_str());
}

void OffscreenPage::loadInterfacePage(const std::string& folder, const std::string& page) {
    load("file://" + folder + "/html/" + page);
}

bool OffscreenPage::isLoading() const {
    return webkit_web_view_is_loading(mView);
}

void OffscreenPage::setPaintHandler(PaintHandler handler) {
    mPaintHandler = std::move(handler);
    if (!mSnapshotPending)
        requestSnapshot();
}

void OffscreenPage::setPopupParent(int left, int top, int right, int bottom) {
    mPopupParent[0] = left;
    mPopupParent[1] = top;
    mPopupParent[2] = right;
    mPopupParent[3] = bottom;
}

void OffscreenPage::setViewSize(int width, int height) {
    gtk_widget_set_size_request(GTK_WIDGET(mView), width, height);
    gtk_window_resize(GTK_WINDOW(mWindow), width, height);
}

void OffscreenPage::requestSnapshot() {
    if (!mPaintHandler)
        return;
    mSnapshotPending = true;
    webkit_web_view_get_snapshot(mView, WEBKIT_SNAPSHOT_REGION_VISIBLE,
                                 WEBKIT_SNAPSHOT_OPTIONS_TRANSPARENT_BACKGROUND,
                                 G_CANCELLABLE(mCancellable), Callbacks::snapshotReady, this);
}

void OffscreenPage::finishSnapshot(void* surfaceHandle) {
    mSnapshotPending = false;
    auto* surface = static_cast<cairo_surface_t*>(surfaceHandle);
    if (surface && cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 && mPaintHandler) {
        cairo_surface_flush(surface);
        mPaintHandler(cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
                      cairo_image_surface_get_height(surface),
                      cairo_image_surface_get_stride(surface));
    }
    if (surface)
        cairo_surface_destroy(surface);
}

void OffscreenPage::pump() {
    const GLContextKeeper keeper;
    g_main_context_iteration(nullptr, FALSE);
    std::vector<std::string> statements;
    {
        std::lock_guard<std::mutex> lock(gStatementMutex);
        statements.swap(gStatements);
    }
    for (const std::string& statement : statements)
        runScript(statement);
    if (!mSnapshotPending)
        requestSnapshot();
}

void OffscreenPage::runScript(const std::string& statement) {
    webkit_web_view_evaluate_javascript(mView, statement.c_str(), gssize(statement.size()), nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
}

void OffscreenPage::evaluate(const std::string& expression,
                             std::function<void(const std::string&)> done) {
    using Done = std::function<void(const std::string&)>;
    webkit_web_view_evaluate_javascript(
        mView, expression.c_str(), gssize(expression.size()), nullptr, nullptr,
        G_CANCELLABLE(mCancellable),
        [](GObject* view, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<Done> done(static_cast<Done*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
            std::string text;
            if (value) {
                char* chars = jsc_value_to_string(value);
                text = chars;
                g_free(chars);
                g_object_unref(value);
            } else {
                const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
                text = std::string("error: ") + error->message;
                g_error_free(error);
                if (cancelled)
                    return; // the page is gone
            }
            (*done)(text);
        },
        new Done(std::move(done)));
}

OffscreenPage* getOSRBrowser() {
    return gOSRBrowser;
}

void runPageStatement(const std::string& statement) {
    OffscreenPage* page = gOSRBrowser;
    if (!page)
        return;
    if (std::this_thread::get_id() == gMainThread) {
        page->runScript(statement);
        return;
    }
    std::lock_guard<std::mutex> lock(gStatementMutex);
    gStatements.push_back(statement);
}
