// A Palm OS resource database (.pdb/.prc): the 78-byte header, the list of
// 10-byte resource entries and the bodies. Reads and writes the file layout;
// the readers check every offset before they trust it, so any byte string is
// safe to hand them. Byte fields are std::strings of raw bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vv::formats {

// The four-byte types the launcher knows: of the databases, and of the
// resources that hold pictures.
inline constexpr char kThemeDatabaseType[] = "thme";
inline constexpr char kIconSetDatabaseType[] = "Icns";
inline constexpr char kBitmapResourceType[] = "Tbmp";
inline constexpr char kIconResourceType[] = "tAIB";

// The attribute bit of a resource database (a .prc), as against a record one.
inline constexpr std::uint16_t kResourceDatabaseAttribute = 0x0001;

struct PalmResource {
    std::string type; // four bytes, e.g. "Tbmp"
    std::uint16_t id = 0;
    std::string bytes; // the body; its size is implied by the next offset in the file
};

// The fixed fields at the start of the file.
struct PalmDatabaseHeader {
    std::string name; // without the terminating zero, at most 31 bytes
    std::uint16_t attributes = kResourceDatabaseAttribute;
    std::uint16_t version = 1;
    std::uint32_t creationDate = 0; // seconds since 1904-01-01
    std::uint32_t modificationDate = 0;
    std::uint32_t lastBackupDate = 0;
    std::uint32_t modificationNumber = 0;
    std::uint32_t appInfoID = 0;
    std::uint32_t sortInfoID = 0;
    std::string type;    // four bytes, zero-padded
    std::string creator; // four bytes, zero-padded
    std::uint32_t uniqueIDSeed = 0;
    std::uint32_t nextRecordListID = 0;

    // Whether `type` and `creator` are these (each padded with zeros to four bytes).
    bool hasTypeAndCreator(std::string_view wantedType, std::string_view wantedCreator) const;
};

// The header as read from a file, with the length of its resource list.
struct PalmDatabaseHead {
    PalmDatabaseHeader header;
    std::uint16_t resourceCount = 0;
    // False when the 32 bytes of the name field hold no zero; `name` is then
    // all of them. A database reader refuses that, a check of type and
    // creator need not.
    bool nameTerminated = true;
    // Where the resource list ends: the first byte a body may start at.
    std::uint64_t listEnd() const;
};

struct PalmDatabase : PalmDatabaseHeader {
    std::vector<PalmResource> resources;

    // The first resource of that type and ID, or null.
    const PalmResource* find(std::string_view resourceType, int id) const;

    // Header, 10-byte resource entries, two zero bytes, bodies back to back.
    std::string toBytes() const;
    // The 78-byte header alone, for a database of `count` resources (the
    // resources in memory are not looked at: a writer may stream them).
    std::string headerBytes(std::uint16_t count) const;
    // One entry of the resource list.
    static void appendEntry(std::string& out, std::string_view type, std::uint16_t id, std::uint32_t offset);
    // Nothing with the reason in `error` when the bytes are no resource database
    // (short header, entry list or offsets outside the file or out of order).
    static std::optional<PalmDatabase> fromBytes(std::string_view bytes, std::string* error);
    // The header alone, from the first kHeaderSize bytes (or more) of a file:
    // nothing with the reason when they are too short.
    static std::optional<PalmDatabaseHead> headerFromBytes(std::string_view bytes, std::string* error);

    static constexpr int kHeaderSize = 78;
    static constexpr int kEntrySize = 10;
    // Seconds from the handheld's epoch (1904) to the Unix epoch (1970).
    static constexpr std::int64_t kEpochOffset = 2082844800;
};

} // namespace vv::formats
