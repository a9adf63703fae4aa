#pragma once

// The saved-state archive: a Game and everything it owns as a boost binary
// archive. GameOArchive and GameIArchive are binary archives (the bytes of
// boost's own binary_oarchive) with two additions each:
//
// - GameOArchive can write a class at an older class version, so that tests
//   can make archives of earlier releases with the same serialize code.
// - GameIArchive treats its bytes as untrusted: it refuses a collection or
//   string count above the bytes left, a bool byte other than 0 or 1, a
//   pointer's class id outside the saved classes or of a class the pointer
//   cannot hold, and an object id other than the next one or a reference
//   to an object read before of the same class; it reads objects and
//   pointers with its own class table and object list rather than the
//   library's; it keeps a list of every object it creates (GameArchiveCheck
//   validates and, on failure, frees them); and it limits the nesting of
//   sub-actions.
//
// Every class of the archive is registered with both archives in the order
// of ArchiveClass, so its class id is its ArchiveClass value. Included only
// by the archive sources (the *_archive.cpp files) and their tests; the
// model headers only declare their serialize member templates.

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Graveyard.h"
#include "rules/GridSlot.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/binary_iarchive_impl.hpp>
#include <boost/archive/binary_oarchive_impl.hpp>
#include <boost/archive/detail/register_archive.hpp>
#include <boost/serialization/base_object.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>
#include <boost/serialization/version.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <streambuf>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

// The saved classes in the order they are registered with an archive: the
// class id of each. Also the kinds of the objects a read creates.
enum ArchiveClass : int32_t {
    cArchiveGame = 0,
    cArchiveTileChest,
    cArchiveGameBoard,
    cArchiveTileRack,
    cArchiveGraveyard,
    cArchiveEntityGrid,
    cArchivePlayer,
    cArchiveEntity,
    cArchiveCandidateAction,
    cArchiveActionResultInfo,
    cArchiveTauntInfo,
    cArchiveKnockOutFadeInfo,
    cArchiveClassCount,
};

// The class versions the program writes.
BOOST_CLASS_VERSION(Game, 10)
BOOST_CLASS_VERSION(Entity, 10)
BOOST_CLASS_VERSION(Player, 8)
BOOST_CLASS_VERSION(CandidateAction, 5)
BOOST_CLASS_VERSION(ActionResultInfo, 21)
BOOST_CLASS_VERSION(EntityGrid, 1)
BOOST_CLASS_VERSION(GameBoard, 1)
BOOST_CLASS_VERSION(TileRack, 1)
BOOST_CLASS_VERSION(Graveyard, 1)
BOOST_CLASS_VERSION(TileChest, 0)
BOOST_CLASS_VERSION(GridSlot, 0)
BOOST_CLASS_VERSION(TauntInfo, 0)
BOOST_CLASS_VERSION(KnockOutFadeInfo, 0)

// An archive error raised for what a read refuses, with its reason.
class ArchiveRefusal : public boost::archive::archive_exception {
public:
    explicit ArchiveRefusal(const char* reason)
        : archive_exception(archive_exception::other_exception), mReason(reason) {}
    const char* what() const noexcept override { return mReason; }

private:
    const char* mReason;
};

// The bytes an archive is read from, with the count still unread. The
// archive reads its fields straight from the bytes (value, read, take), the
// library's own code through the stream; both advance the same cursor. The
// cursor is the source's own rather than the stream's get area, and a value
// is stored by its type, so that the compiler keeps the cursor in a register
// over a run of fields instead of reloading it after each store.
class ArchiveSource : public std::streambuf {
public:
    ArchiveSource(const uint8_t* data, size_t size) : mAt(data), mEnd(data + size) {}
    size_t remaining() const { return static_cast<size_t>(mEnd - mAt); }
    // The next sizeof(T) bytes as a T; throws when fewer are left.
    template <class T> T value() {
        static_assert(std::is_trivially_copyable_v<T>);
        T t;
        std::memcpy(&t, take(sizeof(T)), sizeof(T));
        return t;
    }
    // Copies the next count bytes to to; throws when fewer are left.
    void read(void* to, size_t count) { std::memcpy(to, take(count), count); }
    // The next count bytes where they lie; throws when fewer are left.
    const uint8_t* take(size_t count) {
        if (count > remaining())
            throwShort();
        const uint8_t* at = mAt;
        mAt += count;
        return at;
    }

protected:
    // The stream's reads, for the library's own code.
    int_type underflow() override;
    int_type uflow() override;
    std::streamsize xsgetn(char* to, std::streamsize count) override;
    std::streamsize showmanyc() override;

private:
    [[noreturn]] static void throwShort();

    const uint8_t* mAt;
    const uint8_t* mEnd;
};

// An archive's bytes written into a byte vector from a given place (its end
// unless said), by the archive's fields straight (append) and by the
// library's own code through the stream. The sink writes into the vector's
// own storage with a cursor of its own: the bytes already there from that
// place on are room to overwrite (a vector kept from archive to archive is
// not cleared and filled again), and the vector grows when the room is
// used up. A flush cuts the vector at the last byte written; the archive
// flushes after each object it is given, and so does the sink's end.
class ArchiveSink : public std::streambuf {
public:
    explicit ArchiveSink(std::vector<uint8_t>& bytes) : ArchiveSink(bytes, bytes.size()) {}
    ArchiveSink(std::vector<uint8_t>& bytes, size_t from)
        : mBytes(bytes), mAt(bytes.data() + std::min(from, bytes.size())),
          mEnd(bytes.data() + bytes.size()) {}
    ~ArchiveSink() override { flush(); }
    ArchiveSink(const ArchiveSink&) = delete;
    ArchiveSink& operator=(const ArchiveSink&) = delete;

    void append(const void* data, size_t count) {
        // The cursor is read once and stored after the copy: the copy's
        // bytes may alias it, so it is not re-read after them.
        uint8_t* const at = mAt;
        if (count <= static_cast<size_t>(mEnd - at)) {
            std::memcpy(at, data, count);
            mAt = at + count;
            return;
        }
        appendBeyondRoom(data, count);
    }
    // A fixed-size value: always inlined, so that the copy is a store of
    // known size rather than a call to memcpy in a long run of fields.
    template <class T> [[gnu::always_inline]] void put(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        uint8_t* const at = mAt;
        if (sizeof(T) <= static_cast<size_t>(mEnd - at)) {
            std::memcpy(at, &value, sizeof(T));
            mAt = at + sizeof(T);
            return;
        }
        appendBeyondRoom(&value, sizeof(T));
    }
    // Room for count bytes at the cursor, to be written in place and then
    // passed with advance (at most count).
    uint8_t* room(size_t count) {
        if (count > static_cast<size_t>(mEnd - mAt))
            growRoom(count);
        return mAt;
    }
    void advance(size_t count) { mAt += count; }
    // Cuts the vector at the last byte written.
    void flush();

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void appendBeyondRoom(const void* data, size_t count);
    // Grows the vector to hold at least count bytes after the cursor.
    void growRoom(size_t count);

    std::vector<uint8_t>& mBytes;
    uint8_t* mAt;
    uint8_t* mEnd;
};

class GameOArchive
    : public boost::archive::binary_oarchive_impl<GameOArchive, char, std::char_traits<char>> {
    using Base = boost::archive::binary_oarchive_impl<GameOArchive, char, std::char_traits<char>>;
    friend class boost::archive::detail::interface_oarchive<GameOArchive>;
    friend class boost::archive::basic_binary_oarchive<GameOArchive>;
    friend class boost::archive::save_access;

public:
    // Writes the archive header at once.
    explicit GameOArchive(ArchiveSink& sink);
    ~GameOArchive();

    // The library's operators, as it defines them, inlined always: each
    // field is its store in the serialize code, not a call per field.
    template <class T> [[gnu::always_inline]] GameOArchive& operator<<(const T& t) {
        save_override(t);
        return *this;
    }
    template <class T> [[gnu::always_inline]] GameOArchive& operator&(const T& t) {
        return *this << t;
    }

    using Base::save;
    // Fixed-size values and arrays go straight to the sink.
    // Inlined always, as the sink's put: a run of fields is a run of stores.
    template <class T> [[gnu::always_inline]] void save(const T& t) {
        if constexpr (std::is_trivially_copyable_v<T>)
            mSink.put(t);
        else
            mSink.append(&t, sizeof(T));
    }
    // A bool as the library writes it: one byte, 0 or 1.
    [[gnu::always_inline]] void save(const bool t) { mSink.put(static_cast<uint8_t>(t ? 1 : 0)); }
    template <class T> void save_array(const boost::serialization::array_wrapper<T>& a, unsigned) {
        mSink.append(a.address(), a.count() * sizeof(T));
    }
    void save_binary(const void* address, std::size_t count) { mSink.append(address, count); }
    // The library's does nothing, but out of line: called before every
    // field, it is a call into the library per value saved.
    void end_preamble() {}

    // The flags the archive is made with, without a call into the library.
    unsigned get_flags() const { return cFlags; }
    // Registers a class in the archive's own list only: the library's set
    // of classes, ordered by type name, serves only its object and pointer
    // saves, which this archive replaces.
    void register_basic_serializer(const boost::archive::detail::basic_oserializer& bos) {
        classOf(bos);
    }

    // The library's object and pointer saves (the serializers call these
    // by the archive's own type), with the same bytes: class ids in order
    // of first sight, each class's information before its first object,
    // and an id for each tracked object, a reference for one seen before.
    // The classes are found in a short list and the objects in a flat hash
    // table rather than in the library's ordered sets of type names.
    void save_object(const void* x, const boost::archive::detail::basic_oserializer& bos) {
        ++mDepth;
        try {
            saveObject(x, bos);
        } catch (...) {
            --mDepth;
            throw;
        }
        // The whole of what the archive was given is in the vector.
        if (--mDepth == 0)
            mSink.flush();
    }
    void save_pointer(const void* t, const boost::archive::detail::basic_pointer_oserializer* bpos);

    // Writes that class at an older version (every class starts at its own).
    void setClassVersion(ArchiveClass archiveClass, unsigned version);
    // The version to write the class's fields at: the chosen older one, else current.
    unsigned classVersion(ArchiveClass archiveClass, unsigned current) const;

protected:
    // A number goes to save as the library's primitive save sends it, here
    // where it inlines into the run of fields.
    template <class T> [[gnu::always_inline]] void save_override(const T& t) {
        if constexpr (std::is_arithmetic_v<T>)
            save(t);
        else
            Base::save_override(t);
    }
    // A pointer to an object of exactly its declared class, or of one of
    // the archive's classes derived from it, is saved as a pointer to that
    // class, without the library's look-up of the object's dynamic type by
    // name: the same serializer and address the library's save finds. So
    // is every pointer to the game: a class derived from Game adds
    // behaviour only, and its game saves as a Game.
    template <class T> void save_override(T* const& t) {
        if constexpr (std::is_polymorphic_v<T> && !std::is_same_v<std::remove_cv_t<T>, Game>) {
            if (t != nullptr && typeid(*t) != typeid(T)) {
                if (!saveDerivedPointer(t))
                    Base::save_override(t);
                return;
            }
        }
        savePointerTo(t);
    }

private:
    template <class T> void savePointerTo(T* t) {
        const boost::archive::detail::basic_pointer_oserializer* bpos =
            this->register_type(static_cast<T*>(nullptr));
        if (t == nullptr) {
            save_null_pointer();
            end_preamble();
            return;
        }
        save_pointer(t, bpos);
    }
    // False when the object is of none of the archive's classes derived from T.
    template <class T> bool saveDerivedPointer(T* t);

protected:
    // The by-value classes a game holds thousands of: the library's own
    // save for the first object of each (which writes the class's
    // preamble); later ones of an untracked class hold nothing but their
    // fields and are written straight through the class's serializer,
    // skipping the library's per-object look-up of the class.
    void save_override(const GridSlot& t) { saveByValue(t, mDirect[0]); }
    void save_override(const std::vector<bool>& t) { saveByValue(t, mDirect[1]); }
    // Written as a vector<bool> of the same flags: no preamble, the count, a byte each.
    void save_override(const FlagBits& t) {
        end_preamble();
        saveFields(t);
    }
    void save_override(const std::vector<ActionResultInfo*>& t) { saveByValue(t, mDirect[2]); }
    void save_override(const std::vector<CandidateAction*>& t) { saveByValue(t, mDirect[3]); }
    // The class id that precedes a class's information tells whose version follows.
    void save_override(const boost::archive::class_id_optional_type& t);
    void save_override(const boost::archive::class_id_type& t);
    void save_override(const boost::archive::class_id_reference_type& t);
    void save_override(const boost::archive::version_type& t);

private:
    template <class T> void saveByValue(const T& t, bool& direct) {
        if (direct) {
            end_preamble();
            // The serializer's own save of the fields, called straight.
            if constexpr (std::is_same_v<T, std::vector<bool>>)
                saveFields(t);
            else
                boost::serialization::serialize_adl(*this, const_cast<T&>(t),
                                                    boost::serialization::version<T>::value);
            return;
        }
        Base::save_override(t);
        direct = !boost::serialization::singleton<
                      boost::archive::detail::oserializer<GameOArchive, T>>::get_const_instance()
                      .tracking(0);
    }

    // The flags in bulk, a byte each, as the library's save writes them one by one.
    void saveFields(const std::vector<bool>& t);
    void saveFields(const FlagBits& t);

    // A class of the archive: its id is its place in mClasses.
    // What its serializer says of it is asked once, at registration: the
    // answers are fixed for the archive's flags.
    struct SavedClass {
        const boost::archive::detail::basic_oserializer* serializer;
        bool written;   // its class information is in the archive
        bool classInfo; // its objects carry the class information
        bool tracking;  // its objects carry an object id
    };
    // A tracked object saved: address and class id, with its object id.
    struct SavedObject {
        const void* address = nullptr;
        int32_t classId = -1;
        uint32_t objectId = 0;
        bool throughPointer = false;
    };

    void saveObject(const void* x, const boost::archive::detail::basic_oserializer& bos);
    // The class's id, registering it when new.
    int32_t classOf(const boost::archive::detail::basic_oserializer& bos);
    // The object's entry, made with the next object id when new (then
    // isNew is set). The reference is valid until the next call.
    SavedObject& objectOf(const void* address, int32_t classId, bool& isNew);
    // Saves the data of the object whose pointer preamble is written.
    void savePending(const void* t, const boost::archive::detail::basic_pointer_oserializer* bpos);

    static constexpr unsigned cFlags = boost::archive::no_header | boost::archive::no_codecvt;

    ArchiveSink& mSink;
    std::array<bool, 4> mDirect{};
    std::array<int32_t, cArchiveClassCount> mVersions;
    int32_t mLastClassId = -1;
    std::vector<SavedClass> mClasses;
    // Recent class look-ups by serializer address.
    struct ClassCacheEntry {
        const boost::archive::detail::basic_oserializer* serializer = nullptr;
        int32_t classId = -1;
    };
    std::array<ClassCacheEntry, 32> mClassCache{};
    // Open addressing, a power of two in size, at most half full.
    std::vector<SavedObject> mObjects;
    uint32_t mObjectCount = 0;
    int32_t mDepth = 0; // objects being saved, one inside another
};

// The class of each ArchiveClass value: -1 for any other type.
template <class T> constexpr int32_t archiveClassOf() {
    constexpr int32_t ids[] = {
        std::is_same_v<T, Game> ? cArchiveGame : -1,
        std::is_same_v<T, TileChest> ? cArchiveTileChest : -1,
        std::is_same_v<T, GameBoard> ? cArchiveGameBoard : -1,
        std::is_same_v<T, TileRack> ? cArchiveTileRack : -1,
        std::is_same_v<T, Graveyard> ? cArchiveGraveyard : -1,
        std::is_same_v<T, EntityGrid> ? cArchiveEntityGrid : -1,
        std::is_same_v<T, Player> ? cArchivePlayer : -1,
        std::is_same_v<T, Entity> ? cArchiveEntity : -1,
        std::is_same_v<T, CandidateAction> ? cArchiveCandidateAction : -1,
        std::is_same_v<T, ActionResultInfo> ? cArchiveActionResultInfo : -1,
        std::is_same_v<T, TauntInfo> ? cArchiveTauntInfo : -1,
        std::is_same_v<T, KnockOutFadeInfo> ? cArchiveKnockOutFadeInfo : -1,
    };
    for (const int32_t id : ids)
        if (id >= 0)
            return id;
    return -1;
}

// Calls f with a null pointer of the class of that ArchiveClass value.
template <class F> decltype(auto) withArchiveClass(int32_t id, F&& f) {
    switch (id) {
    case cArchiveGame:
        return f(static_cast<Game*>(nullptr));
    case cArchiveTileChest:
        return f(static_cast<TileChest*>(nullptr));
    case cArchiveGameBoard:
        return f(static_cast<GameBoard*>(nullptr));
    case cArchiveTileRack:
        return f(static_cast<TileRack*>(nullptr));
    case cArchiveGraveyard:
        return f(static_cast<Graveyard*>(nullptr));
    case cArchiveEntityGrid:
        return f(static_cast<EntityGrid*>(nullptr));
    case cArchivePlayer:
        return f(static_cast<Player*>(nullptr));
    case cArchiveEntity:
        return f(static_cast<Entity*>(nullptr));
    case cArchiveCandidateAction:
        return f(static_cast<CandidateAction*>(nullptr));
    case cArchiveActionResultInfo:
        return f(static_cast<ActionResultInfo*>(nullptr));
    case cArchiveTauntInfo:
        return f(static_cast<TauntInfo*>(nullptr));
    default:
        return f(static_cast<KnockOutFadeInfo*>(nullptr));
    }
}

template <class T> bool GameOArchive::saveDerivedPointer(T* t) {
    using Declared = std::remove_cv_t<T>;
    const std::type_info& type = typeid(*t);
    bool saved = false;
    for (int32_t id = 0; id < cArchiveClassCount && !saved; ++id) {
        withArchiveClass(id, [&](auto* derived) {
            using C = std::remove_pointer_t<decltype(derived)>;
            if constexpr (std::is_base_of_v<Declared, C> && !std::is_same_v<Declared, C>) {
                if (type == typeid(C)) {
                    // As the library saves it: the class's pointer
                    // serializer, without registering the class first (a
                    // class met here first is named in the archive).
                    save_pointer(static_cast<const C*>(t),
                                 &boost::serialization::singleton<
                                     boost::archive::detail::pointer_oserializer<GameOArchive, C>>::
                                     get_const_instance());
                    saved = true;
                }
            }
        });
    }
    return saved;
}

class GameIArchive
    : public boost::archive::binary_iarchive_impl<GameIArchive, char, std::char_traits<char>> {
    using Base = boost::archive::binary_iarchive_impl<GameIArchive, char, std::char_traits<char>>;
    friend class boost::archive::detail::interface_iarchive<GameIArchive>;
    friend class boost::archive::basic_binary_iarchive<GameIArchive>;
    friend class boost::archive::basic_binary_iprimitive<GameIArchive, char,
                                                         std::char_traits<char>>;
    friend class boost::archive::load_access;

public:
    // Deepest nesting of sub-actions a read accepts.
    static constexpr int32_t cMaxActionDepth = 32;

    // Reads and checks the archive header at once (throws on a bad one).
    explicit GameIArchive(ArchiveSource& source);
    ~GameIArchive() override;
    GameIArchive(const GameIArchive&) = delete;
    GameIArchive& operator=(const GameIArchive&) = delete;

    // The game the archive is read into; the only Game it may hold.
    void setRoot(Game* root) { mRoot = root; }
    Game* getRoot() const { return mRoot; }
    // The proto names of the game a read replaces: an archive too old to
    // hold names keeps these (none set: the root's own stay).
    void setKeptProtoNames(const std::map<int32_t, std::string>* names) { mKeptProtoNames = names; }
    const std::map<int32_t, std::string>* getKeptProtoNames() const { return mKeptProtoNames; }
    // Called once every saved class is registered: pointers may name them.
    void setClassesRegistered() { mClassesRegistered = true; }

    // Records an object the read created, of that kind.
    void noteCreated(void* object, ArchiveClass kind) { mCreated.emplace_back(object, kind); }
    const std::vector<std::pair<void*, ArchiveClass>>& getCreated() const { return mCreated; }

    // Entered and left around each action's fields; throws beyond cMaxActionDepth.
    void enterAction();
    void leaveAction() { --mActionDepth; }

    using Base::load;
    // Only the bytes 0 and 1.
    void load(bool& t) {
        const auto byte = mSource.value<uint8_t>();
        if (byte > 1)
            refuse("bool neither 0 nor 1");
        t = byte != 0;
    }
    // A length no greater than the bytes left.
    void load(std::string& s);
    // Fixed-size values and arrays straight from the bytes.
    template <class T> void load(T& t) {
        if constexpr (std::is_trivially_copyable_v<T>)
            t = mSource.value<T>();
        else
            mSource.read(&t, sizeof(T)); // the library's wrappers of one integer
    }
    template <class T> void load_array(boost::serialization::array_wrapper<T>& a, unsigned) {
        mSource.read(a.address(), a.count() * sizeof(T));
    }
    void load_binary(void* address, std::size_t count) { mSource.read(address, count); }

    // The classes' ids are their ArchiveClass values: nothing to register.
    void register_basic_serializer(const boost::archive::detail::basic_iserializer& /*bis*/) {}

    // The library's own object and pointer loads, with their class and
    // object tables, are never used: every object is read below.
    [[noreturn]] void load_object(void* t, const boost::archive::detail::basic_iserializer& bis);
    [[noreturn]] const boost::archive::detail::basic_pointer_iserializer*
    load_pointer(void*& t, const boost::archive::detail::basic_pointer_iserializer* bpis,
                 const boost::archive::detail::basic_pointer_iserializer* (*finder)(
                     const boost::serialization::extended_type_info&));

protected:
    // An object of a class the library gives a preamble or tracking is
    // read here, the rest (values, arrays, collections) the library's way.
    template <class T> void load_override(T& t) {
        namespace bs = boost::serialization;
        constexpr int level = bs::implementation_level<T>::value;
        if constexpr (!std::is_array_v<T> && !std::is_enum_v<T> && level != bs::primitive_type &&
                      (level >= bs::object_class_info ||
                       bs::tracking_level<T>::value != bs::track_never))
            loadObject(t);
        else
            Base::load_override(t);
    }
    // A pointer: to one of the archive's classes only.
    template <class T> void load_override(T*& t) {
        static_assert(std::is_class_v<T>, "pointers name the archive's classes only");
        t = loadPointer<T>();
    }
    // The flags in bulk, each byte 0 or 1, as the library's load reads them one by one.
    void load_override(std::vector<bool>& t);
    // Read as a vector<bool> of the same flags is.
    void load_override(FlagBits& t);
    // A class's preamble: its tracking flag, then its version.
    void load_override(boost::archive::tracking_type& t);
    // As the library reads it: a word of size_t after library version 5.
    // No greater than the bytes left.
    void load_override(boost::serialization::collection_size_type& t) {
        const std::size_t count =
            mLibraryVersion > 5 ? mSource.value<std::size_t>() : mSource.value<unsigned int>();
        checkCount(count);
        t = boost::serialization::collection_size_type(count);
    }
    // Two bytes at every library version. Pointers name the registered
    // classes only (or none: -1); any other id would reach a class the
    // archive has no pointer reader for.
    void load_override(boost::archive::class_id_type& t) {
        const auto id = static_cast<int32_t>(mSource.value<int16_t>());
        if (id != -1 && (!mClassesRegistered || id < 0 || id >= cArchiveClassCount))
            refuse("pointer to an unknown class");
        t = boost::archive::class_id_type(static_cast<int>(id));
    }
    void load_override(boost::archive::class_id_reference_type& t) {
        load_override(static_cast<boost::archive::class_id_type&>(t));
    }

private:
    // What the archive says of a class: read from the class's preamble
    // before its first object (from the program for a class without one).
    struct ClassInfo {
        bool known = false;
        bool tracking = false;
        unsigned version = 0;
    };
    // A tracked object read, by its object id: where it is and its class id
    // (-1 for a class no pointer can name).
    struct LoadedObject {
        void* address;
        int32_t classId;
    };

    // The class information of a type: at its ArchiveClass value for the
    // archive's classes, after them for the rest (each type's place is
    // given once for the whole program, at start-up).
    template <class T> ClassInfo& classInfo() {
        constexpr int32_t id = archiveClassOf<T>();
        if constexpr (id >= 0)
            return mClasses[static_cast<size_t>(id)];
        else
            return mClasses[cValueClassSlot<T>];
    }
    static size_t nextValueClassSlot();
    template <class T> static inline const size_t cValueClassSlot = nextValueClassSlot();
    // Room for the archive's classes and the by-value classes they hold.
    static constexpr size_t cClassSlots = 64;

    // The tracking flag and version that precede a class's first object.
    void readPreamble(ClassInfo& info);
    uint32_t readObjectId();
    // Throws unless objectId is the next object's: a tracked object is read
    // once, a reference names an object read before.
    void checkNewObject(uint32_t objectId) const;

    // An object held by value: the class's preamble before the first one,
    // an object id when the class is tracked, then its fields.
    template <class T> void loadObject(T& t) {
        namespace bs = boost::serialization;
        ClassInfo& info = classInfo<T>();
        if (!info.known) {
            if constexpr (bs::implementation_level<T>::value >= bs::object_class_info) {
                readPreamble(info);
            } else {
                info.tracking =
                    boost::serialization::singleton<
                        boost::archive::detail::iserializer<GameIArchive, T>>::get_const_instance()
                        .tracking(0);
                info.version = bs::version<T>::value;
                info.known = true;
            }
        }
        const unsigned version = info.version;
        if (info.tracking) {
            checkNewObject(readObjectId());
            mObjects.push_back({&t, archiveClassOf<T>()});
        }
        bs::serialize_adl(*this, t, version);
    }

    // A pointer: the null tag; or a class id (the class's preamble when it
    // is first met), then, for a tracked class, an object id: a new object
    // follows with its fields, or the pointer names one read before, which
    // must be of that class. The class must be T or derived from it.
    template <class T> T* loadPointer() {
        boost::archive::class_id_type classId;
        *this >> classId;
        const auto id = static_cast<int32_t>(classId);
        if (id == -1)
            return nullptr;
        ClassInfo& info = mClasses[static_cast<size_t>(id)];
        if (!info.known)
            readPreamble(info);
        const ClassInfo read = info;
        if (read.tracking) {
            const uint32_t objectId = readObjectId();
            if (objectId < mObjects.size()) {
                const LoadedObject& object = mObjects[objectId];
                if (object.classId != id)
                    throw ArchiveRefusal("reference to an object of another class");
                return withArchiveClass(id, [&](auto* type) -> T* {
                    using C = std::remove_pointer_t<decltype(type)>;
                    if constexpr (std::is_base_of_v<T, C>)
                        return static_cast<C*>(object.address);
                    else
                        throw ArchiveRefusal("pointer to an object of another class");
                });
            }
            checkNewObject(objectId);
        }
        return withArchiveClass(id, [&](auto* type) -> T* {
            using C = std::remove_pointer_t<decltype(type)>;
            if constexpr (std::is_base_of_v<T, C>)
                return loadNew<C>(id, read);
            else
                throw ArchiveRefusal("pointer to an object of another class");
        });
    }

    // A new object through a pointer: made in its default state (recorded
    // as created), then its fields read.
    template <class C> C* loadNew(int32_t id, const ClassInfo& info) {
        // The class's own allocation where it has one (a pool).
        void* block = nullptr;
        if constexpr (requires { C::operator new(sizeof(C)); })
            block = C::operator new(sizeof(C));
        else
            block = ::operator new(sizeof(C));
        auto* object = static_cast<C*>(block);
        if (info.tracking)
            mObjects.push_back({object, id});
        try {
            load_construct_data(*this, object, info.version);
        } catch (...) {
            if constexpr (requires { C::operator delete(block, sizeof(C)); })
                C::operator delete(block, sizeof(C));
            else
                ::operator delete(block);
            throw;
        }
        boost::serialization::serialize_adl(*this, *object, info.version);
        return object;
    }

    // Throws when count is above the bytes left.
    void checkCount(uint64_t count) const {
        if (count > mSource.remaining())
            refuse("count beyond the end of the archive");
    }
    // Throws the refusal with that reason.
    [[noreturn]] static void refuse(const char* reason);

    // The object lists' storage, kept from read to read on a thread.
    struct KeptLists {
        std::vector<LoadedObject> objects;
        std::vector<std::pair<void*, ArchiveClass>> created;
    };
    static KeptLists& keptLists();

    ArchiveSource& mSource;
    Game* mRoot = nullptr;
    const std::map<int32_t, std::string>* mKeptProtoNames = nullptr;
    bool mClassesRegistered = false;
    int32_t mActionDepth = 0;
    unsigned mLibraryVersion = 0; // the header's
    std::array<ClassInfo, cClassSlots> mClasses{};
    std::vector<LoadedObject> mObjects;
    std::vector<std::pair<void*, ArchiveClass>> mCreated;
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(GameOArchive)
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(GameOArchive)
BOOST_SERIALIZATION_REGISTER_ARCHIVE(GameIArchive)
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(GameIArchive)

// A hash of an object's address and class id for the archive's flat tables.
inline size_t addressHash(const void* address, int32_t classId) {
    auto key = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(address));
    key ^= static_cast<uint64_t>(static_cast<uint32_t>(classId)) << 48;
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32);
}

// The version whose fields the serialize code reads or writes: the
// archive's for a read, the chosen one for a write.
inline unsigned fieldVersion(GameIArchive& /*ar*/, ArchiveClass /*archiveClass*/,
                             unsigned version) {
    return version;
}
inline unsigned fieldVersion(GameOArchive& ar, ArchiveClass archiveClass, unsigned version) {
    return ar.classVersion(archiveClass, version);
}

// Refuses a class version above the program's own.
void checkClassVersion(unsigned version, unsigned current);

// Registers every saved class with the archive in ArchiveClass order.
template <class Archive> void registerArchiveClasses(Archive& ar) {
    ar.template register_type<Game>();
    ar.template register_type<TileChest>();
    ar.template register_type<GameBoard>();
    ar.template register_type<TileRack>();
    ar.template register_type<Graveyard>();
    ar.template register_type<EntityGrid>();
    ar.template register_type<Player>();
    ar.template register_type<Entity>();
    ar.template register_type<CandidateAction>();
    ar.template register_type<ActionResultInfo>();
    ar.template register_type<TauntInfo>();
    ar.template register_type<KnockOutFadeInfo>();
}

// The small records, saved by value or through pointers.
template <class Archive> void serialize(Archive& ar, GridSlot& slot, unsigned /*version*/) {
    ar& slot.x;
    ar& slot.y;
}

template <class Archive> void serialize(Archive& ar, TauntInfo& taunt, unsigned version) {
    checkClassVersion(version, 0);
    ar& taunt.mEntityId;
    ar& taunt.mAnimType;
}

template <class Archive> void serialize(Archive& ar, KnockOutFadeInfo& fade, unsigned version) {
    checkClassVersion(version, 0);
    ar& fade.mEntityId;
    ar& fade.mSlot;
}

// The objects a read creates are built in their default state (as the
// saved-state format gives it) and recorded with the archive.
void load_construct_data(GameIArchive& ar, Game* game, unsigned version);
void load_construct_data(GameIArchive& ar, Player* player, unsigned version);
void load_construct_data(GameIArchive& ar, Entity* entity, unsigned version);
void load_construct_data(GameIArchive& ar, EntityGrid* grid, unsigned version);
void load_construct_data(GameIArchive& ar, GameBoard* board, unsigned version);
void load_construct_data(GameIArchive& ar, TileChest* chest, unsigned version);
void load_construct_data(GameIArchive& ar, TileRack* rack, unsigned version);
void load_construct_data(GameIArchive& ar, Graveyard* graveyard, unsigned version);
void load_construct_data(GameIArchive& ar, CandidateAction* action, unsigned version);
void load_construct_data(GameIArchive& ar, ActionResultInfo* result, unsigned version);
void load_construct_data(GameIArchive& ar, TauntInfo* taunt, unsigned version);
void load_construct_data(GameIArchive& ar, KnockOutFadeInfo* fade, unsigned version);
