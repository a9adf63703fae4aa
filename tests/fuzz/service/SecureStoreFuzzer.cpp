// Loads arbitrary bytes as the secure store's file, once as plain archive text
// and once encrypted under a fixed account's key. A file that loads must save
// and load again.

#include "service/BSecureStorage.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

std::filesystem::path& dataHome() {
    static std::filesystem::path path;
    return path;
}

BSecureStorage& store() {
    static BSecureStorage instance;
    return instance;
}

void loadAs(const uint8_t* data, size_t size, bool encrypted) {
    if (encrypted)
        BConfig::instance().unsetById(cOptDisableEncryption);
    else
        BConfig::instance().defineById(cOptDisableEncryption);
    std::ofstream(store().filePath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (store().load() && !(store().save() && store().load()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory when possible: every save syncs its file.
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path base = std::filesystem::is_directory(memory, error)
                                           ? memory
                                           : std::filesystem::temp_directory_path();
    dataHome() = base / ("secure-store-fuzz-" + std::to_string(::getpid()));
    setenv("XDG_DATA_HOME", dataHome().c_str(), 1);
    std::atexit([] {
        std::error_code error;
        std::filesystem::remove_all(dataHome(), error);
    });
    store().initCrypto(76561197960287930ull);
    if (!store().open())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    loadAs(data, size, false);
    loadAs(data, size, true);
    return 0;
}
