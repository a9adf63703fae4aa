#include "content/XMLHelper.h"

#include "content/DataPath.h"
#include "content/XmlNesting.h"

#include <libdeflate.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void printParseError(const char* what, const char* where) {
    std::printf("parse error: %s at %s", what, where);
}

} // namespace

XMLHelper::XMLHelper() = default;

XMLHelper::~XMLHelper() {
    mDocument.clear();
}

void XMLHelper::clear() {
    mDocument.clear();
}

void XMLHelper::setText(std::string_view bytes) {
    bytes.copy(textBuffer(bytes.size()), bytes.size());
}

char* XMLHelper::textBuffer(size_t length) {
    std::vector<char>().swap(mTaken);
    if (!mRoom || mRoomCapacity < length + 1) {
        mText = nullptr;
        mRoom.reset();
        mRoomCapacity = 0;
        mRoom = std::make_unique_for_overwrite<char[]>(length + 1);
        mRoomCapacity = length + 1;
    }
    mRoom[length] = '\0';
    mText = mRoom.get();
    return mText;
}

void XMLHelper::takeText(std::vector<char>& bytes) {
    bytes.push_back('\0');
    mTaken.swap(bytes);
    std::vector<char>().swap(bytes);
    mText = mTaken.data();
}

bool XMLHelper::parse(XmlNode*& outRoot, bool nestingChecked) {
    mDocument.clear();
    char* text = mText ? mText : textBuffer(0);
    if (!nestingChecked) {
        if (const char* deep = tooDeepXmlElement(text, cMaxXmlNesting)) {
            printParseError("element nesting too deep", deep);
            return false;
        }
    }
    try {
        mDocument.parse<rapidxml::parse_no_data_nodes>(text);
    } catch (const rapidxml::parse_error& error) {
        printParseError(error.what(), error.where<char>());
        mDocument.clear();
        return false;
    }
    outRoot = mDocument.first_node();
    return true;
}

bool loadXmlFile(std::string_view name, XmlNode*& outRoot, XMLHelper& holder,
                 std::string_view extension, uint32_t expectedCrc, bool checkCrc) {
    holder.clear();
    std::string path;
    dataFilePath(name, path, extension);
    const std::filesystem::path file = resolvePath(path);

    // One open, one fstat and reads straight into the holder's text: start-up
    // opens many small files, where a stream's set-up and seeks cost more
    // than the reading. A folder opens on Linux but has no bytes to read;
    // a pipe opens without waiting for a writer and is refused as well.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    const off_t length = status.st_size;
    char* text = nullptr;
    bool complete = false;
    bool ended = false;  // the file ended before its length
    bool failed = false; // a read failed, errno tells why
    // zlib's CRC-32, computed by libdeflate with the processor's carry-less
    // multiply, over each piece as it is read, while the piece is still in
    // the cache: a large file is then brought in from memory once.
    constexpr off_t cPiece = 256 << 10;
    uint32_t crc = 0;
    try {
        text = holder.textBuffer(static_cast<size_t>(length));
        off_t done = 0;
        while (done < length) {
            const ssize_t got =
                ::read(fd, text + done, static_cast<size_t>(std::min(length - done, cPiece)));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                (got == 0 ? ended : failed) = true;
                break;
            }
            if (checkCrc)
                crc = libdeflate_crc32(crc, text + done, static_cast<size_t>(got));
            done += got;
        }
        complete = done == length;
    } catch (const std::bad_alloc&) {
        complete = false;
    }
    const int readError = errno;
    ::close(fd);
    if (!complete) {
        if (ended)
            std::printf("fsdfsd");
        else if (failed)
            std::printf("err: %d", readError);
        std::printf("failed to read %.*s\n", static_cast<int>(name.size()), name.data());
        return false;
    }

    if (checkCrc && crc != expectedCrc)
        return false;
    // The table's CRC-32 is of a file the build walked (tools/data-crc-table),
    // and a damaged file fails the sum: a match needs no second walk.
    return holder.parse(outRoot, checkCrc);
}
