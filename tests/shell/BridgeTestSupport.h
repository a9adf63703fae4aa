#pragma once

// The bridge's tests: the handler on a client of the in-memory loopback
// server (every base at its root, as the program has it), reached through the native call road,
// with the recording page host keeping what it runs in the page.

#include "../service/LoopbackTestSupport.h"
#include "ShellTestSupport.h"

#include "shell/CocosV8Handler.h"
#include "shell/PageHost.h"

#include "platform/browser/BridgeDispatcher.h"

#include <algorithm>
#include <memory>
#include <optional>

class BridgeTest : public ShellTest, protected LoopbackClient {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startLoopback();
        // The loopback server answers every base at its root.
        const std::string base = mServer.baseUrl();
        mClient.setBaseUrls(base, base, base, base);
        setPageHost(&mPage);
        mHandler = std::make_unique<CocosV8Handler>(mClient, mStore);
        installBridgeDispatcher(*mHandler);
    }
    void TearDown() override {
        setBridgeDispatcher({});
        setPageHost(nullptr);
        resetShellSeams();
        ShellTest::TearDown();
    }

    // A page's call of cef.uiapp.<name>(arguments...): its value, if any.
    static std::optional<nlohmann::json>
    call(const std::string& name, const nlohmann::json& arguments = nlohmann::json::array()) {
        const nlohmann::json reply =
            nlohmann::json::parse(answerBridgeCall(name, arguments.dump()));
        if (!reply.contains("value"))
            return std::nullopt;
        return reply["value"];
    }

    const std::vector<std::string>& statements() const { return mPage.statements(); }
    bool ran(const std::string& statement) const {
        return std::find(statements().begin(), statements().end(), statement) != statements().end();
    }

    // The paths the server was asked for, without the leading '/'.
    std::vector<std::string> requestedPaths() const {
        std::vector<std::string> paths;
        for (const ReceivedRequest& request : mServer.requests())
            paths.push_back(request.path.substr(1));
        return paths;
    }
    // The path an endpoint is asked at.
    std::string pathOf(Endpoint endpoint) {
        return mClient.endpointUrl(endpoint).substr(mServer.baseUrl().size());
    }
    bool requested(Endpoint endpoint) {
        const std::vector<std::string> paths = requestedPaths();
        return std::find(paths.begin(), paths.end(), pathOf(endpoint)) != paths.end();
    }

    RecordingPageHost mPage;
    std::unique_ptr<CocosV8Handler> mHandler;
};
