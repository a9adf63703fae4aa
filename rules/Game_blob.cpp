// The game-state blob: the envelope around the saved-state archive, and the
// load that replaces a game's content with a blob's.
//
// Blob: magic 0xCAFEBAC0, format version 0, raw archive size (three
// little-endian words), then the zlib stream of the archive. A blob comes
// from the network: its raw size is capped and must be one the body can
// inflate to, and the archive is read into a scratch game seeded with what
// the archive does not carry. Only a read that succeeds and passes the
// checks replaces the game's content; a failed one leaves the game as it
// was and the proto remap as it was.

#include "rules/GameArchiveCheck.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"

#include "content/protos/Database.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

namespace {

constexpr uint32_t cBlobMagic = 0xCAFEBAC0;
constexpr size_t cBlobHeaderSize = 12;
// Far above any game's archive.
constexpr uint32_t cMaxRawSize = 64u << 20;
// Deflate never shrinks data by more than about 1032 to 1.
constexpr uint64_t cMaxInflateRatio = 1032;

void putWord(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t getWord(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

// zlib's deflate state, made once per thread and reset for each blob: the
// stream compress makes, without allocating and clearing a quarter megabyte
// per call. Blobs are inflated by libdeflate, whose decompressor reads the
// same zlib streams in about half of zlib's time.
class ZlibStreams {
public:
    ZlibStreams() : mInflate(libdeflate_alloc_decompressor()) {
        if (!mInflate || deflateInit(&mDeflate, Z_DEFAULT_COMPRESSION) != Z_OK) {
            libdeflate_free_decompressor(mInflate);
            throw std::bad_alloc();
        }
    }
    ~ZlibStreams() {
        deflateEnd(&mDeflate);
        libdeflate_free_decompressor(mInflate);
    }
    ZlibStreams(const ZlibStreams&) = delete;
    ZlibStreams& operator=(const ZlibStreams&) = delete;

    // As compress: true with size set to the stream's length.
    bool compress(uint8_t* to, size_t& size, const uint8_t* from, size_t length) {
        deflateReset(&mDeflate);
        mDeflate.next_in = const_cast<Bytef*>(from);
        mDeflate.avail_in = static_cast<uInt>(length);
        mDeflate.next_out = to;
        mDeflate.avail_out = static_cast<uInt>(size);
        const int status = deflate(&mDeflate, Z_FINISH);
        size = mDeflate.total_out;
        return status == Z_STREAM_END;
    }

    // As uncompress: true when from begins with one whole zlib stream, its
    // header and Adler-32 checked, that inflates to exactly size bytes.
    // Bytes after the stream are ignored, as zlib's inflate ignores them.
    bool uncompress(uint8_t* to, size_t size, const uint8_t* from, size_t length) {
        size_t consumed = 0;
        return libdeflate_zlib_decompress_ex(mInflate, from, length, to, size, &consumed,
                                             nullptr) == LIBDEFLATE_SUCCESS;
    }

private:
    z_stream mDeflate{};
    libdeflate_decompressor* mInflate;
};

ZlibStreams& zlibStreams() {
    thread_local ZlibStreams streams;
    return streams;
}

// Storage above this is given back after each use rather than kept.
constexpr size_t cKeptScratchSize = 1u << 20;

// Byte storage reused from call to call on a thread; never zero-filled.
class ScratchBytes {
public:
    uint8_t* reserve(size_t size) {
        if (size > mSize) {
            mBytes.reset(new uint8_t[size]);
            mSize = size;
        }
        return mBytes.get();
    }
    // Gives back storage too large to keep.
    void trim() {
        if (mSize > cKeptScratchSize) {
            mBytes.reset();
            mSize = 0;
        }
    }

private:
    std::unique_ptr<uint8_t[]> mBytes;
    size_t mSize = 0;
};

// The archive of the game, written into a vector kept from save to save.
const std::vector<uint8_t>& writeArchive(const Game& game) {
    thread_local std::vector<uint8_t> bytes;
    if (bytes.capacity() > cKeptScratchSize)
        std::vector<uint8_t>().swap(bytes);
    // The last archive's bytes are the room the new one overwrites.
    ArchiveSink sink(bytes, 0);
    GameOArchive ar(sink);
    ar << game;
    return bytes;
}

// The archive inside a blob, inflated into storage; the buffer itself when
// it has no magic. Null when the blob is refused.
const uint8_t* archiveOf(const uint8_t* buffer, size_t size, ScratchBytes& storage,
                         size_t& archiveSize) {
    if (getWord(buffer) != cBlobMagic) {
        archiveSize = size;
        return buffer;
    }
    const uint32_t rawSize = getWord(buffer + 8);
    const size_t bodySize = size - cBlobHeaderSize;
    if (rawSize == 0 || rawSize > cMaxRawSize ||
        rawSize > static_cast<uint64_t>(bodySize) * cMaxInflateRatio)
        return nullptr;
    uint8_t* archive = storage.reserve(rawSize);
    if (!zlibStreams().uncompress(archive, rawSize, buffer + cBlobHeaderSize, bodySize))
        return nullptr;
    archiveSize = rawSize;
    return archive;
}

// Reads the archive into scratch; on failure frees what the read made and
// undoes its proto remap.
bool readArchive(const uint8_t* bytes, size_t size, Game& scratch,
                 const std::map<int32_t, std::string>& keptNames) {
    std::map<int32_t, int32_t> remap = Database::getRemap();
    ArchiveSource source(bytes, size);
    std::optional<GameIArchive> ar;
    try {
        ar.emplace(source);
        ar->setRoot(&scratch);
        ar->setKeptProtoNames(&keptNames);
        *ar >> scratch;
        return true;
    } catch (const std::exception&) {
        // Archive errors, refused counts and failed checks alike.
    }
    if (ar)
        GameArchiveCheck::discard(ar->getCreated(), scratch);
    Database::restoreRemap(std::move(remap));
    return false;
}

} // namespace

std::vector<std::unique_ptr<GameSnapshot>>& undoStack() {
    static std::vector<std::unique_ptr<GameSnapshot>> stack;
    return stack;
}

void Game::clearUndoStack() {
    undoStack().clear();
}

std::vector<uint8_t> Game::saveToBuffer() {
    if (mProtoNames.empty()) {
        for (int32_t id = 0; id < Database::protoCount(); ++id)
            if (const ProtoEntity* proto = Database::getProto(id))
                mProtoNames[id] = proto->mName;
    }
    const std::vector<uint8_t>& raw = writeArchive(*this);
    // Deflated into kept storage, then copied at its size: the room
    // compressBound asks is many times the stream's.
    thread_local ScratchBytes deflated;
    size_t compressedSize = compressBound(static_cast<uLong>(raw.size()));
    uint8_t* stream = deflated.reserve(compressedSize);
    // With compressBound's room a deflate to the end cannot fall short.
    if (!zlibStreams().compress(stream, compressedSize, raw.data(), raw.size())) {
        deflated.trim();
        throw std::bad_alloc();
    }
    std::vector<uint8_t> blob;
    blob.reserve(cBlobHeaderSize + compressedSize);
    blob.resize(cBlobHeaderSize);
    putWord(blob.data(), cBlobMagic);
    putWord(blob.data() + 4, 0);
    putWord(blob.data() + 8, static_cast<uint32_t>(raw.size()));
    blob.insert(blob.end(), stream, stream + compressedSize);
    deflated.trim();
    return blob;
}

bool Game::loadFromBuffer(const uint8_t* buffer, int32_t size, int64_t gameId, bool pushSnapshot) {
    if (buffer == nullptr || size < static_cast<int32_t>(cBlobHeaderSize))
        return false;
    thread_local ScratchBytes inflated;
    size_t archiveSize = 0;
    const uint8_t* archive = archiveOf(buffer, static_cast<size_t>(size), inflated, archiveSize);
    if (archive == nullptr) {
        inflated.trim();
        return false;
    }

    // What older archives leave as it was, and what the fix-up reads (the
    // proto names an older archive lacks are copied by the read).
    auto* scratch = new Game(mRng);
    scratch->mCurrentPlayer = mCurrentPlayer;
    scratch->mTurnCount = mTurnCount;
    scratch->mFlags = mFlags & (cGameEndShown | cGameLocal);
    scratch->mPuzzleCategory = mPuzzleCategory;
    scratch->mPuzzleIndex = mPuzzleIndex;
    const bool read = readArchive(archive, archiveSize, *scratch, mProtoNames);
    inflated.trim();
    if (!read) {
        scratch->release();
        return false;
    }

    reset();
    std::swap(mTileChest, scratch->mTileChest);
    std::swap(mGameBoard, scratch->mGameBoard);
    mPlayers.swap(scratch->mPlayers);
    mEntities.swap(scratch->mEntities);
    mActions.swap(scratch->mActions);
    mTaunts.swap(scratch->mTaunts);
    mKnockOutFades.swap(scratch->mKnockOutFades);
    mRng = scratch->mRng;
    mGameOver = scratch->mGameOver;
    mTurnCount = scratch->mTurnCount;
    mProtoNames.swap(scratch->mProtoNames);
    scratch->release();
    GameArchiveCheck::adopt(*this);

    if (pushSnapshot) {
        clearUndoStack();
        auto snapshot = std::make_unique<GameSnapshot>();
        snapshot->mBuffer.assign(buffer, buffer + size);
        undoStack().push_back(std::move(snapshot));
    }
    mGameID = gameId;
    onLoaded();
    return true;
}

void Game::onLoaded() {
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    awardTurnStartScore();
    const GameRecord* record = getGameRecord();
    const Player* player = getCurrentPlayer();
    if (record == nullptr || record->mTurnCount >= 2 || player == nullptr ||
        player->mTileRack == nullptr || player->mHasFinishedTurn)
        return;
    // The opening rack flies in once, not again when an undo reloads the game.
    const EntityGrid& rack = *player->mTileRack;
    for (int32_t i = 0; i < rack.getSlotCount(); ++i) {
        const int32_t id = rack.getEntityIdAtIndex(i);
        if (id >= 0 && std::find(mFlownRackTileIds.begin(), mFlownRackTileIds.end(), id) ==
                           mFlownRackTileIds.end())
            mNewRackTileIds.push_back(id);
    }
}
