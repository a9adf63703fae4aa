// The whole content load of start-up on the sample content under data/, as
// the command-line tool's "content" command loads it without printing its
// summary: the language's option files and strings table, the proto
// database, the rules settings (boards, civs, player colours) and the puzzle
// catalogue. The loaders' progress lines go to /dev/null while it runs.

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Standard output sent to /dev/null for the object's life.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        mSaved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        ::dup2(mSaved, STDOUT_FILENO);
        ::close(mSaved);
    }

private:
    int mSaved = -1;
};

void BM_ContentLoad(benchmark::State& state) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    bool loaded = true;
    {
        QuietStdout quiet;
        for (auto _ : state) {
            setupLanguageAndPaths("english");
            loadLocalizableStrings();
            loaded = Database::init() && loaded;
            SettingsManager& settings = SettingsManager::instance();
            loaded = settings.init() && loaded;
            settings.loadPuzzleCategories();
        }
    }
    if (!loaded)
        state.SkipWithError("the sample content did not load");
    state.counters["protos"] = Database::protoCount();
    Database::clear();
    setBaseFolder({});
}
BENCHMARK(BM_ContentLoad)->Unit(benchmark::kMillisecond);

} // namespace
