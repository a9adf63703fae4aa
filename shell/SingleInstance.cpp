#include "shell/SingleInstance.h"

#include <sys/file.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The lock's descriptor: never closed, so the lock lasts as long as the
// process; and its file.
int gLockFd = -1;
std::filesystem::path gLockPath;

} // namespace

std::filesystem::path instanceLockFolder(const std::filesystem::path& dataFolder) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && std::filesystem::path(runtime).is_absolute())
        return runtime;
    return dataFolder;
}

bool isOnlyInstance(const std::filesystem::path& lockFolder) {
    const std::filesystem::path path = lockFolder / "tarnwick.lock";
    if (gLockFd >= 0 && path == gLockPath)
        return true;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::printf("cannot open %s (errno %d); running without the instance lock\n", path.c_str(),
                    errno);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    // Another folder's lock (a process that asks again elsewhere) is
    // traded for this one.
    if (gLockFd >= 0)
        ::close(gLockFd);
    gLockFd = fd;
    gLockPath = path;
    return true;
}
