// The two archive kinds of the saved state and the default objects a read
// builds. Boost's binary archive code is instantiated here for them.

#include "rules/GameArchive.h"

#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_iarchive.ipp>
#include <boost/archive/impl/basic_binary_iprimitive.ipp>
#include <boost/archive/impl/basic_binary_oarchive.ipp>
#include <boost/archive/impl/basic_binary_oprimitive.ipp>

#include <algorithm>
#include <new>

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

ArchiveSource::ArchiveSource(const uint8_t* data, size_t size) {
    // The get area is only read from.
    char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
    setg(begin, begin, begin + size);
}

std::streamsize ArchiveSink::xsputn(const char* data, std::streamsize count) {
    append(data, static_cast<size_t>(count));
    return count;
}

ArchiveSink::int_type ArchiveSink::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    mBytes.push_back(static_cast<uint8_t>(c));
    return c;
}

GameOArchive::GameOArchive(ArchiveSink& sink)
    : Base(sink, boost::archive::no_header | boost::archive::no_codecvt), mSink(sink) {
    mVersions.fill(-1);
    init(0);
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
    init(0);
}

void GameIArchive::checkCount(uint64_t count) const {
    if (count > mSource.remaining())
        throw ArchiveRefusal("count beyond the end of the archive");
}

void GameIArchive::noteCreated(void* object, ArchiveClass kind) {
    mCreated.emplace_back(object, kind);
}

void GameIArchive::enterAction() {
    if (++mActionDepth > cMaxActionDepth) {
        --mActionDepth;
        throw ArchiveRefusal("sub-actions nested too deep");
    }
}

void GameIArchive::load(bool& t) {
    uint8_t byte = 0;
    mSource.read(&byte, 1);
    if (byte > 1)
        throw ArchiveRefusal("bool neither 0 nor 1");
    t = byte != 0;
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
    Base::load_override(t);
    if (mAwaitingPreamble != nullptr && mAwaitingPreamble->tracking < 0) {
        mAwaitingPreamble->tracking = t ? 1 : 0;
        if (t)
            mAwaitingPreamble = nullptr;
    }
}

void GameIArchive::load_override(boost::archive::version_type& t) {
    Base::load_override(t);
    if (mAwaitingPreamble != nullptr && mAwaitingPreamble->tracking == 0) {
        mAwaitingPreamble->version = static_cast<unsigned>(t);
        mAwaitingPreamble->direct = true;
        mAwaitingPreamble = nullptr;
    }
}

void GameIArchive::loadFields(std::vector<bool>& t, unsigned /*version*/) {
    boost::serialization::collection_size_type count;
    *this >> count;
    const auto size = static_cast<std::size_t>(count);
    const uint8_t* bytes = mSource.take(size);
    if (std::any_of(bytes, bytes + size, [](uint8_t byte) { return byte > 1; }))
        throw ArchiveRefusal("bool neither 0 nor 1");
    t.assign(bytes, bytes + size);
}

void GameIArchive::load_override(boost::serialization::collection_size_type& t) {
    Base::load_override(t);
    checkCount(static_cast<uint64_t>(static_cast<std::size_t>(t)));
}

void GameIArchive::load_override(boost::archive::class_id_type& t) {
    Base::load_override(t);
    // Pointers name the registered classes only (or none: -1); any other
    // id would reach a class the archive has no pointer reader for.
    const auto id = static_cast<int32_t>(t);
    if (id == -1)
        return;
    if (!mClassesRegistered || id < 0 || id >= cArchiveClassCount)
        throw ArchiveRefusal("pointer to an unknown class");
}

void GameIArchive::load_override(boost::archive::class_id_reference_type& t) {
    load_override(static_cast<boost::archive::class_id_type&>(t));
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
    // Unlike a record made by the rules, one read from an archive starts
    // with empty flag vectors and takes the sizes stored.
    construct(ar, result, cArchiveActionResultInfo, -1);
    result->mInitialAuraFlags.clear();
    result->mFinalAuraFlags.clear();
    result->mInitialFlags.clear();
    result->mFinalFlags.clear();
}

void load_construct_data(GameIArchive& ar, TauntInfo* taunt, unsigned /*version*/) {
    construct(ar, taunt, cArchiveTauntInfo);
}

void load_construct_data(GameIArchive& ar, KnockOutFadeInfo* fade, unsigned /*version*/) {
    construct(ar, fade, cArchiveKnockOutFadeInfo);
}
