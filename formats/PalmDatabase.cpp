#include "formats/PalmDatabase.h"

#include "formats/Endian.h"

namespace vv::formats {
namespace {

void appendFourBytes(std::string& out, std::string_view value) {
    value = value.substr(0, 4);
    out.append(value);
    out.append(4 - value.size(), '\0');
}

std::string fourBytes(std::string_view value) {
    std::string out;
    appendFourBytes(out, value);
    return out;
}

template <typename T> std::optional<T> failWith(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
    return std::nullopt;
}

// Each entry's body runs to the next entry's start, the last one's to the end
// of the file; starts inside the list, past the end or going backwards are
// refused.
bool readResourceList(std::string_view bytes, const PalmDatabaseHead& head, PalmDatabase& db,
                      std::string* error) {
    auto fail = [&](std::string text) {
        if (error)
            *error = std::move(text);
        return false;
    };
    const int count = head.resourceCount;
    const std::size_t listEnd = std::size_t(head.listEnd());
    std::vector<std::uint32_t> offsets;
    offsets.reserve(std::size_t(count));
    db.resources.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const std::size_t at =
            PalmDatabase::kHeaderSize + std::size_t(PalmDatabase::kEntrySize) * std::size_t(i);
        PalmResource r;
        r.type = std::string(bytes.substr(at, 4));
        r.id = be::read16(bytes, at + 4);
        const std::uint32_t offset = be::read32(bytes, at + 6);
        if (offset < listEnd || offset > std::uint64_t(bytes.size()))
            return fail("resource " + std::to_string(i) + " starts at " + std::to_string(offset) +
                        ", outside the file");
        if (!offsets.empty() && offset < offsets.back())
            return fail("resource " + std::to_string(i) + " starts before the one listed ahead of it");
        offsets.push_back(offset);
        db.resources.push_back(std::move(r));
    }
    for (std::size_t i = 0; i < std::size_t(count); ++i) {
        const std::uint32_t end = i + 1 < std::size_t(count) ? offsets[i + 1] : std::uint32_t(bytes.size());
        db.resources[i].bytes = std::string(bytes.substr(offsets[i], end - offsets[i]));
    }
    return true;
}

} // namespace

bool PalmDatabaseHeader::hasTypeAndCreator(std::string_view wantedType,
                                           std::string_view wantedCreator) const {
    return type == fourBytes(wantedType) && creator == fourBytes(wantedCreator);
}

std::uint64_t PalmDatabaseHead::listEnd() const {
    return PalmDatabase::kHeaderSize + std::uint64_t(PalmDatabase::kEntrySize) * resourceCount;
}

const PalmResource* PalmDatabase::find(std::string_view resourceType, int id) const {
    for (const PalmResource& r : resources)
        if (r.type == resourceType && r.id == id)
            return &r;
    return nullptr;
}

std::string PalmDatabase::headerBytes(std::uint16_t count) const {
    std::string out;
    out.reserve(kHeaderSize);
    const std::string_view nameField = std::string_view(name).substr(0, 31);
    out.append(nameField);
    out.append(32 - nameField.size(), '\0');
    be::append16(out, attributes);
    be::append16(out, version);
    be::append32(out, creationDate);
    be::append32(out, modificationDate);
    be::append32(out, lastBackupDate);
    be::append32(out, modificationNumber);
    be::append32(out, appInfoID);
    be::append32(out, sortInfoID);
    appendFourBytes(out, type);
    appendFourBytes(out, creator);
    be::append32(out, uniqueIDSeed);
    be::append32(out, nextRecordListID);
    be::append16(out, count);
    return out;
}

void PalmDatabase::appendEntry(std::string& out, std::string_view type, std::uint16_t id,
                               std::uint32_t offset) {
    appendFourBytes(out, type);
    be::append16(out, id);
    be::append32(out, offset);
}

std::string PalmDatabase::toBytes() const {
    std::size_t total = kHeaderSize + kEntrySize * resources.size() + 2;
    for (const PalmResource& r : resources)
        total += r.bytes.size();
    std::string out;
    out.reserve(total);
    out.append(headerBytes(std::uint16_t(resources.size())));
    std::uint32_t offset = std::uint32_t(kHeaderSize + kEntrySize * resources.size() + 2);
    for (const PalmResource& r : resources) {
        appendEntry(out, r.type, r.id, offset);
        offset += std::uint32_t(r.bytes.size());
    }
    be::append16(out, 0);
    for (const PalmResource& r : resources)
        out.append(r.bytes);
    return out;
}

std::optional<PalmDatabaseHead> PalmDatabase::headerFromBytes(std::string_view bytes, std::string* error) {
    if (bytes.size() < kHeaderSize)
        return failWith<PalmDatabaseHead>(error, std::to_string(bytes.size()) +
                                                     " bytes are too short for a database header");
    PalmDatabaseHead head;
    PalmDatabaseHeader& h = head.header;
    const std::string_view nameField = bytes.substr(0, 32);
    const std::size_t zero = nameField.find('\0');
    head.nameTerminated = zero != std::string_view::npos;
    h.name = std::string(nameField.substr(0, zero));
    h.attributes = be::read16(bytes, 0x20);
    h.version = be::read16(bytes, 0x22);
    h.creationDate = be::read32(bytes, 0x24);
    h.modificationDate = be::read32(bytes, 0x28);
    h.lastBackupDate = be::read32(bytes, 0x2C);
    h.modificationNumber = be::read32(bytes, 0x30);
    h.appInfoID = be::read32(bytes, 0x34);
    h.sortInfoID = be::read32(bytes, 0x38);
    h.type = std::string(bytes.substr(0x3C, 4));
    h.creator = std::string(bytes.substr(0x40, 4));
    h.uniqueIDSeed = be::read32(bytes, 0x44);
    h.nextRecordListID = be::read32(bytes, 0x48);
    head.resourceCount = be::read16(bytes, 0x4C);
    return head;
}

std::optional<PalmDatabase> PalmDatabase::fromBytes(std::string_view bytes, std::string* error) {
    const std::optional<PalmDatabaseHead> head = headerFromBytes(bytes, error);
    if (!head)
        return std::nullopt;
    if (!head->nameTerminated)
        return failWith<PalmDatabase>(error, "the name field has no terminating zero");
    if (head->listEnd() > bytes.size())
        return failWith<PalmDatabase>(error, "the list of " + std::to_string(head->resourceCount) +
                                                 " resources runs past the end of the file");
    PalmDatabase db;
    static_cast<PalmDatabaseHeader&>(db) = head->header;
    if (!readResourceList(bytes, *head, db, error))
        return std::nullopt;
    return db;
}

} // namespace vv::formats
