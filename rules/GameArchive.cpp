// The two archive kinds of the saved state and the default objects a read
// builds. Boost's binary archive code is instantiated here for them.

#include "rules/GameArchive.h"

#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_iarchive.ipp>
#include <boost/archive/impl/basic_binary_iprimitive.ipp>
#include <boost/archive/impl/basic_binary_oarchive.ipp>
#include <boost/archive/impl/basic_binary_oprimitive.ipp>

#include <algorithm>
#include <atomic>
#include <bit>
#include <new>
#include <stdexcept>

namespace boost::archive {
template class basic_binary_oprimitive<GameOArchive, char, std::char_traits<char>>;
template class basic_binary_oarchive<GameOArchive>;
template class binary_oarchive_impl<GameOArchive, char, std::char_traits<char>>;
template class detail::archive_serializer_map<GameOArchive>;
template class basic_binary_iprimitive<GameIArchive, char, std::char_traits<char>>;
template class basic_binary_iarchive<GameIArchive>;
template class binary_iarchive_impl<GameIArchive, char, std::char_traits<char>>;
template class detail::archive_serializer_map<GameIArchive>;
} // namespace boost::archive

using boost::archive::archive_exception;

void ArchiveSource::throwShort() {
    throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
}

ArchiveSource::int_type ArchiveSource::underflow() {
    return mAt == mEnd ? traits_type::eof() : traits_type::to_int_type(static_cast<char>(*mAt));
}

ArchiveSource::int_type ArchiveSource::uflow() {
    return mAt == mEnd ? traits_type::eof() : traits_type::to_int_type(static_cast<char>(*mAt++));
}

std::streamsize ArchiveSource::xsgetn(char* to, std::streamsize count) {
    const size_t copied =
        std::min(remaining(), static_cast<size_t>(std::max<std::streamsize>(count, 0)));
    if (copied > 0)
        read(to, copied);
    return static_cast<std::streamsize>(copied);
}

std::streamsize ArchiveSource::showmanyc() {
    return mAt == mEnd ? -1 : static_cast<std::streamsize>(remaining());
}

void ArchiveSink::flush() {
    const auto written = static_cast<size_t>(mAt - mBytes.data());
    mBytes.resize(written);
    mAt = mBytes.data() + written;
    mEnd = mAt;
}

void ArchiveSink::appendBeyondRoom(const void* data, size_t count) {
    growRoom(count);
    append(data, count);
}

void ArchiveSink::growRoom(size_t count) {
    // Doubled at least, so that a long archive grows its vector a few times only.
    const auto written = static_cast<size_t>(mAt - mBytes.data());
    const size_t room = std::max({written + count, 2 * mBytes.size(), size_t{4096}});
    mBytes.resize(room);
    mAt = mBytes.data() + written;
    mEnd = mBytes.data() + room;
}

std::streamsize ArchiveSink::xsputn(const char* data, std::streamsize count) {
    append(data, static_cast<size_t>(count));
    return count;
}

ArchiveSink::int_type ArchiveSink::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const auto byte = static_cast<uint8_t>(c);
    append(&byte, 1);
    return c;
}

int ArchiveSink::sync() {
    flush();
    return 0;
}

namespace {

// The objects the thread's last save held: the next save's table starts at
// their size, so a game saved again does not grow its table step by step.
thread_local uint32_t tLastSavedObjects = 0;

} // namespace

GameOArchive::GameOArchive(ArchiveSink& sink) : Base(sink, cFlags), mSink(sink) {
    mVersions.fill(-1);
    init(0);
    size_t slots = 256;
    while (slots < 2 * (static_cast<size_t>(tLastSavedObjects) + 1))
        slots *= 2;
    if (tLastSavedObjects > 0)
        mObjects.resize(slots);
}

GameOArchive::~GameOArchive() {
    tLastSavedObjects = mObjectCount;
}

int32_t GameOArchive::classOf(const boost::archive::detail::basic_oserializer& bos) {
    // Found in a small table by the serializer's address first.
    ClassCacheEntry& cached =
        mClassCache[(reinterpret_cast<uintptr_t>(&bos) >> 4) & (mClassCache.size() - 1)];
    if (cached.serializer == &bos)
        return cached.classId;
    int32_t classId = -1;
    for (size_t i = 0; i < mClasses.size() && classId < 0; ++i)
        if (mClasses[i].serializer == &bos)
            classId = static_cast<int32_t>(i);
    if (classId < 0) {
        mClasses.push_back({&bos, false, bos.class_info(), bos.tracking(cFlags)});
        classId = static_cast<int32_t>(mClasses.size() - 1);
    }
    cached = {&bos, classId};
    return classId;
}

GameOArchive::SavedObject& GameOArchive::objectOf(const void* address, int32_t classId,
                                                  bool& isNew) {
    if (2 * (static_cast<size_t>(mObjectCount) + 1) > mObjects.size()) {
        std::vector<SavedObject> grown(std::max<size_t>(256, 2 * mObjects.size()));
        for (const SavedObject& object : mObjects) {
            if (object.address == nullptr)
                continue;
            size_t slot = addressHash(object.address, object.classId) & (grown.size() - 1);
            while (grown[slot].address != nullptr)
                slot = (slot + 1) & (grown.size() - 1);
            grown[slot] = object;
        }
        mObjects.swap(grown);
    }
    const size_t mask = mObjects.size() - 1;
    size_t slot = addressHash(address, classId) & mask;
    while (mObjects[slot].address != nullptr) {
        if (mObjects[slot].address == address && mObjects[slot].classId == classId) {
            isNew = false;
            return mObjects[slot];
        }
        slot = (slot + 1) & mask;
    }
    isNew = true;
    mObjects[slot] = {address, classId, mObjectCount++, false};
    return mObjects[slot];
}

void GameOArchive::saveObject(const void* x, const boost::archive::detail::basic_oserializer& bos) {
    using namespace boost::archive;
    const int32_t classId = classOf(bos);
    SavedClass& savedClass = mClasses[static_cast<size_t>(classId)];
    if (savedClass.classInfo && !savedClass.written) {
        *this << class_id_optional_type(class_id_type(classId));
        *this << tracking_type(savedClass.tracking);
        *this << version_type(bos.version());
        savedClass.written = true;
    }
    if (!savedClass.tracking) {
        end_preamble();
        bos.save_object_data(*this, x);
        return;
    }
    bool isNew = false;
    const SavedObject& object = objectOf(x, classId, isNew);
    const object_id_type objectId(object.objectId);
    if (isNew) {
        *this << objectId;
        end_preamble();
        bos.save_object_data(*this, x);
        return;
    }
    // Reading it back would make the object twice.
    if (object.throughPointer)
        throw archive_exception(archive_exception::pointer_conflict);
    *this << object_reference_type(objectId);
    end_preamble();
}

void GameOArchive::save_pointer(const void* t,
                                const boost::archive::detail::basic_pointer_oserializer* bpos) {
    using namespace boost::archive;
    const detail::basic_oserializer& bos = bpos->get_basic_serializer();
    const size_t known = mClasses.size();
    const int32_t classId = classOf(bos);
    SavedClass& savedClass = mClasses[static_cast<size_t>(classId)];
    if (!savedClass.written) {
        *this << class_id_type(classId);
        // A class first met here is named, for a reader to find it.
        if (mClasses.size() > known && bos.is_polymorphic()) {
            const char* key = bos.get_eti().get_key();
            if (key == nullptr)
                throw archive_exception(archive_exception::unregistered_class);
            if (std::strlen(key) > BOOST_SERIALIZATION_MAX_KEY_SIZE - 1)
                throw archive_exception(archive_exception::invalid_class_name);
            *this << class_name_type(key);
        }
        if (savedClass.classInfo) {
            *this << tracking_type(savedClass.tracking);
            *this << version_type(bos.version());
        }
        savedClass.written = true;
    } else {
        *this << class_id_reference_type(class_id_type(classId));
    }
    if (!savedClass.tracking) {
        end_preamble();
        savePending(t, bpos);
        return;
    }
    bool isNew = false;
    const object_id_type objectId(objectOf(t, classId, isNew).objectId);
    if (!isNew) {
        *this << object_reference_type(objectId);
        end_preamble();
        return;
    }
    *this << objectId;
    end_preamble();
    savePending(t, bpos);
    objectOf(t, classId, isNew).throughPointer = true;
}

void GameOArchive::saveFields(const std::vector<bool>& t) {
    const size_t size = t.size();
    *this << boost::serialization::collection_size_type(size);
    std::array<uint8_t, 64> chunk;
    auto flag = t.begin();
    for (size_t at = 0; at < size; at += chunk.size()) {
        const size_t count = std::min(chunk.size(), size - at);
        for (size_t i = 0; i < count; ++i, ++flag)
            chunk[i] = *flag ? 1 : 0;
        mSink.append(chunk.data(), count);
    }
}

void GameOArchive::saveFields(const FlagBits& t) {
    const size_t size = t.size();
    *this << boost::serialization::collection_size_type(size);
    // Written in place eight bytes at a time: the room is rounded up to
    // whole groups and the cursor passes the flags' own bytes only.
    uint8_t* to = mSink.room((size + 7) & ~size_t{7});
    const uint64_t* words = t.words();
    for (size_t at = 0; at < size; at += 8) {
        // Eight flags spread to the low bit of eight bytes, first flag first.
        uint64_t bytes = words[at / 64] >> (at % 64) & 0xFF;
        bytes = (bytes | bytes << 28) & 0x0000000F0000000Full;
        bytes = (bytes | bytes << 14) & 0x0003000300030003ull;
        bytes = (bytes | bytes << 7) & 0x0101010101010101ull;
        std::memcpy(to + at, &bytes, 8);
    }
    mSink.advance(size);
}

void GameOArchive::savePending(const void* t,
                               const boost::archive::detail::basic_pointer_oserializer* bpos) {
    // The library's pointer save writes the object's construct data (no
    // class of the archive has any), then the object by value, whose data
    // follows at once as its preamble is already written: that data is
    // saved here straight through the class's serializer.
    ++mDepth;
    try {
        bpos->get_basic_serializer().save_object_data(*this, t);
    } catch (...) {
        --mDepth;
        throw;
    }
    if (--mDepth == 0)
        mSink.flush();
}

void GameOArchive::setClassVersion(ArchiveClass archiveClass, unsigned version) {
    mVersions[static_cast<size_t>(archiveClass)] = static_cast<int32_t>(version);
}

unsigned GameOArchive::classVersion(ArchiveClass archiveClass, unsigned current) const {
    const int32_t chosen = mVersions[static_cast<size_t>(archiveClass)];
    return chosen >= 0 ? static_cast<unsigned>(chosen) : current;
}

void GameOArchive::save_override(const boost::archive::class_id_optional_type& t) {
    mLastClassId = static_cast<int32_t>(t);
    Base::save_override(t);
}

void GameOArchive::save_override(const boost::archive::class_id_type& t) {
    mLastClassId = static_cast<int32_t>(t);
    Base::save_override(t);
}

void GameOArchive::save_override(const boost::archive::class_id_reference_type& t) {
    mLastClassId = static_cast<int32_t>(t);
    Base::save_override(t);
}

void GameOArchive::save_override(const boost::archive::version_type& t) {
    if (mLastClassId >= 0 && mLastClassId < cArchiveClassCount) {
        const boost::archive::version_type chosen(
            classVersion(static_cast<ArchiveClass>(mLastClassId), static_cast<unsigned>(t)));
        Base::save_override(chosen);
        return;
    }
    Base::save_override(t);
}

GameIArchive::GameIArchive(ArchiveSource& source)
    : Base(source, boost::archive::no_header | boost::archive::no_codecvt), mSource(source) {
    KeptLists& kept = keptLists();
    mObjects.swap(kept.objects);
    mCreated.swap(kept.created);
    mObjects.clear();
    mCreated.clear();
    init(0);
    mLibraryVersion = static_cast<unsigned>(get_library_version());
}

GameIArchive::~GameIArchive() {
    // Lists of a huge archive are given back rather than kept.
    constexpr size_t cKeptEntries = 1u << 16;
    KeptLists& kept = keptLists();
    if (mObjects.capacity() <= cKeptEntries && mObjects.capacity() > kept.objects.capacity())
        mObjects.swap(kept.objects);
    if (mCreated.capacity() <= cKeptEntries && mCreated.capacity() > kept.created.capacity())
        mCreated.swap(kept.created);
}

GameIArchive::KeptLists& GameIArchive::keptLists() {
    thread_local KeptLists lists;
    return lists;
}

size_t GameIArchive::nextValueClassSlot() {
    // Each by-value class's place after the archive's classes.
    static std::atomic<size_t> next{cArchiveClassCount};
    const size_t slot = next++;
    if (slot >= cClassSlots)
        throw std::logic_error("more by-value classes than the archive has room for");
    return slot;
}

void GameIArchive::load_object(void* /*t*/,
                               const boost::archive::detail::basic_iserializer& /*bis*/) {
    throw std::logic_error("an object read past the archive's own load");
}

const boost::archive::detail::basic_pointer_iserializer*
GameIArchive::load_pointer(void*& /*t*/,
                           const boost::archive::detail::basic_pointer_iserializer* /*bpis*/,
                           const boost::archive::detail::basic_pointer_iserializer* (* /*finder*/)(
                               const boost::serialization::extended_type_info&)) {
    throw std::logic_error("a pointer read past the archive's own load");
}

void GameIArchive::refuse(const char* reason) {
    throw ArchiveRefusal(reason);
}

void GameIArchive::enterAction() {
    if (++mActionDepth > cMaxActionDepth) {
        --mActionDepth;
        throw ArchiveRefusal("sub-actions nested too deep");
    }
}

void GameIArchive::readPreamble(ClassInfo& info) {
    boost::archive::tracking_type tracking;
    *this >> tracking;
    boost::archive::version_type version;
    *this >> version;
    info.known = true;
    info.tracking = tracking;
    info.version = static_cast<unsigned>(version);
}

uint32_t GameIArchive::readObjectId() {
    boost::archive::object_id_type id;
    *this >> id;
    return static_cast<uint32_t>(id);
}

void GameIArchive::checkNewObject(uint32_t objectId) const {
    if (objectId < mObjects.size())
        throw ArchiveRefusal("object stored twice");
    if (objectId > mObjects.size())
        throw ArchiveRefusal("reference to an object not yet read");
}

void GameIArchive::load(std::string& s) {
    std::size_t length = 0;
    Base::load(length);
    checkCount(length);
    s.resize(length);
    if (length > 0)
        mSource.read(s.data(), length);
}

void GameIArchive::load_override(boost::archive::tracking_type& t) {
    // One byte, 0 or 1; the library would take any other into its bool.
    uint8_t byte = 0;
    mSource.read(&byte, 1);
    if (byte > 1)
        throw ArchiveRefusal("tracking flag neither 0 nor 1");
    t = boost::archive::tracking_type(byte != 0);
}

namespace {

// The count (at most 8) bytes at from as a little-endian word.
inline uint64_t littleEndianWord(const uint8_t* from, size_t count) {
    static_assert(std::endian::native == std::endian::little, "byte i is bits 8i to 8i+7");
    uint64_t word = 0;
    if (count == 8) {
        std::memcpy(&word, from, 8);
        return word;
    }
    size_t at = 0;
    if ((count & 4) != 0) {
        uint32_t part = 0;
        std::memcpy(&part, from, 4);
        word = part;
        at = 4;
    }
    if ((count & 2) != 0) {
        uint16_t part = 0;
        std::memcpy(&part, from + at, 2);
        word |= static_cast<uint64_t>(part) << (8 * at);
        at += 2;
    }
    if ((count & 1) != 0)
        word |= static_cast<uint64_t>(from[at]) << (8 * at);
    return word;
}

} // namespace

void GameIArchive::load_override(std::vector<bool>& t) {
    boost::serialization::collection_size_type count;
    *this >> count;
    const auto size = static_cast<std::size_t>(count);
    const uint8_t* bytes = mSource.take(size);
    // Cleared by words (a record is made with its vectors at the usual
    // sizes), then the few set flags one by one: a general assign goes bit
    // by bit. The bytes are checked and skipped eight at a time.
    if (t.size() != size)
        t.resize(size);
    std::fill(t.begin(), t.end(), false);
    constexpr uint64_t cHighBits = 0xFEFEFEFEFEFEFEFEull;
    for (size_t at = 0; at < size; at += 8) {
        const uint64_t word = littleEndianWord(bytes + at, std::min<size_t>(8, size - at));
        if ((word & cHighBits) != 0)
            refuse("bool neither 0 nor 1");
        for (size_t i = 0, rest = word; rest != 0; ++i, rest >>= 8)
            if ((rest & 1) != 0)
                t[at + i] = true;
    }
}

void GameIArchive::load_override(FlagBits& t) {
    boost::serialization::collection_size_type count;
    *this >> count;
    const auto size = static_cast<std::size_t>(count);
    const uint8_t* bytes = mSource.take(size);
    t.assign(size, false);
    uint64_t* words = t.words();
    constexpr uint64_t cHighBits = 0xFEFEFEFEFEFEFEFEull;
    // Multiplied by this, a word of bytes 0 or 1 gathers byte i's bit at
    // bit 56 + i: the eight flags in order in the top byte.
    constexpr uint64_t cGather = 0x0102040810204080ull;
    for (size_t at = 0; at < size; at += 8) {
        const uint64_t word = littleEndianWord(bytes + at, std::min<size_t>(8, size - at));
        if ((word & cHighBits) != 0)
            refuse("bool neither 0 nor 1");
        words[at / 64] |= (word * cGather) >> 56 << (at % 64);
    }
}

void checkClassVersion(unsigned version, unsigned current) {
    if (version > current)
        throw archive_exception(archive_exception::unsupported_class_version);
}

namespace {

// Builds the object in the memory the archive gave and records it.
template <class T, class... Args>
T* construct(GameIArchive& ar, T* object, ArchiveClass kind, Args... args) {
    ::new (object) T(args...);
    ar.noteCreated(object, kind);
    return object;
}

} // namespace

// Default objects: owner -1 and no game for grids; the subclasses' own
// constructors give the grid type, name and flags.
void load_construct_data(GameIArchive& ar, Game* game, unsigned /*version*/) {
    construct(ar, game, cArchiveGame);
}

void load_construct_data(GameIArchive& ar, Player* player, unsigned /*version*/) {
    construct(ar, player, cArchivePlayer, nullptr, -1);
}

void load_construct_data(GameIArchive& ar, Entity* entity, unsigned /*version*/) {
    construct(ar, entity, cArchiveEntity, nullptr);
}

void load_construct_data(GameIArchive& ar, EntityGrid* grid, unsigned /*version*/) {
    construct(ar, grid, cArchiveEntityGrid, -1, nullptr);
}

void load_construct_data(GameIArchive& ar, GameBoard* board, unsigned /*version*/) {
    construct(ar, board, cArchiveGameBoard, -1, nullptr);
}

void load_construct_data(GameIArchive& ar, TileChest* chest, unsigned /*version*/) {
    construct(ar, chest, cArchiveTileChest, -1, nullptr);
}

void load_construct_data(GameIArchive& ar, TileRack* rack, unsigned /*version*/) {
    construct(ar, rack, cArchiveTileRack, -1, nullptr);
}

void load_construct_data(GameIArchive& ar, Graveyard* graveyard, unsigned /*version*/) {
    construct(ar, graveyard, cArchiveGraveyard, -1, nullptr);
}

void load_construct_data(GameIArchive& ar, CandidateAction* action, unsigned /*version*/) {
    construct(ar, action, cArchiveCandidateAction, nullptr, 0);
}

void load_construct_data(GameIArchive& ar, ActionResultInfo* result, unsigned /*version*/) {
    // Every read of a record sets its flag vectors whole, at the sizes
    // stored (or the fixed ones of older records).
    construct(ar, result, cArchiveActionResultInfo, -1);
}

void load_construct_data(GameIArchive& ar, TauntInfo* taunt, unsigned /*version*/) {
    construct(ar, taunt, cArchiveTauntInfo);
}

void load_construct_data(GameIArchive& ar, KnockOutFadeInfo* fade, unsigned /*version*/) {
    construct(ar, fade, cArchiveKnockOutFadeInfo);
}
