#include "service/BSecureStorage.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "service/BoundedTextIArchive.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The archived form of the map.
using ArchiveMap = std::map<std::string, std::string>;

bool encryptionDisabled() {
    return BConfig::instance().isSetById(cOptDisableEncryption);
}

bool isDirectory(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

std::filesystem::path BSecureStorage::dataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return dataHome;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::filesystem::path(home) / ".local" / "share";
    return {};
}

bool BSecureStorage::open() {
    const std::filesystem::path home = dataHome();
    if (home.empty())
        return false;
    const std::filesystem::path folder = home / cFolder;
    if (!createUserDirectory(folder))
        return false;
    const std::lock_guard lock(mMutex);
    mFilePath = folder / cFileName;
    loadLocked();
    return true;
}

bool BSecureStorage::createUserDirectory(const std::filesystem::path& path) {
    std::filesystem::path level;
    for (const std::filesystem::path& part : path) {
        level /= part;
        if (isDirectory(level))
            continue;
        if (::mkdir(level.c_str(), 0777) != 0 && !(errno == EEXIST && isDirectory(level))) {
            std::printf("BSecureStorage: Unable to create user directory %s failed: Error [0x%x].\n",
                        level.c_str(), static_cast<unsigned>(errno));
            return false;
        }
    }
    return true;
}

std::filesystem::path BSecureStorage::filePath() const {
    const std::lock_guard lock(mMutex);
    return mFilePath;
}

bool BSecureStorage::save() {
    const std::lock_guard lock(mMutex);
    return saveLocked();
}

bool BSecureStorage::load() {
    const std::lock_guard lock(mMutex);
    return loadLocked();
}

bool BSecureStorage::saveLocked() {
    if (mFilePath.empty())
        return false;
    ArchiveMap values(mValues.begin(), mValues.end());
    values.erase("Password");
    std::ostringstream text;
    try {
        boost::archive::text_oarchive archive(text);
        archive << values;
    } catch (const boost::archive::archive_exception& error) {
        // The values hold credentials: only the size of what was written.
        std::printf("Secure Storage - Boost Serialization Write Exception: %s\n", error.what());
        std::printf("Secure Storage - %zu bytes written.\n", text.str().size());
        return false;
    }
    std::string bytes = std::move(text).str();
    if (!encryptionDisabled())
        cryptLocked(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    return writeFileLocked(bytes);
}

// Writes a temporary file beside the store and renames it over the store
// only when it was written whole.
bool BSecureStorage::writeFileLocked(const std::string& bytes) const {
    std::string temporary = mFilePath.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        std::printf("Secure Storage - Unable to open file for write: %s\n", mFilePath.c_str());
        return false;
    }
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), mFilePath.c_str()) != 0) {
        std::printf("Secure Storage - Unable to write file: %s (error %d)\n", mFilePath.c_str(),
                    errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool BSecureStorage::loadLocked() {
    if (mFilePath.empty())
        return false;
    std::ifstream file(mFilePath, std::ios::binary);
    std::string bytes;
    bool opened = static_cast<bool>(file);
    if (opened) {
        // Reading something that is not a file (a folder of that name) throws.
        try {
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        } catch (const std::ios_base::failure&) {
            opened = false;
        }
    }
    if (!opened) {
        std::printf("Secure Storage - Unable to open file for read: %s\n", mFilePath.c_str());
        mValues.clear();
        std::error_code error;
        if (std::filesystem::exists(mFilePath, error))
            keepBadCopyLocked();
        return false;
    }
    const bool readWhole = !file.bad();
    file.close();
    if (!encryptionDisabled())
        cryptLocked(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    // The text ends at its first NUL.
    bytes.resize(std::strlen(bytes.c_str()));
    ArchiveMap values;
    try {
        if (!readWhole)
            throw boost::archive::archive_exception(
                boost::archive::archive_exception::input_stream_error);
        std::istringstream text(bytes);
        BoundedTextIArchive archive(text, bytes.size());
        archive >> values;
    } catch (const std::exception& error) {
        // The text holds credentials: only its size.
        std::printf("Secure Storage - Boost Serialization Read Exception: %s\n", error.what());
        std::printf("Secure Storage - %zu bytes read.\n", bytes.size());
        mValues.clear();
        keepBadCopyLocked();
        return false;
    }
    mValues = ValueMap(values.begin(), values.end());
    return true;
}

// Keeps an unreadable store file as "<file>.bad", replacing an older copy,
// so that the next save does not overwrite what it may still hold.
void BSecureStorage::keepBadCopyLocked() const {
    const std::string bad = mFilePath.string() + cBadSuffix;
    if (std::rename(mFilePath.c_str(), bad.c_str()) != 0)
        std::printf("Secure Storage - Unable to keep the unreadable file as %s\n", bad.c_str());
    else
        std::printf("Secure Storage - The unreadable file is kept as %s\n", bad.c_str());
}
