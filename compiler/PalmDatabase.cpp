#include "compiler/PalmDatabase.h"

#include "compiler/BigEndian.h"

namespace vv::pdb {
namespace {

void appendFourBytes(std::string& out, std::string_view value) {
    value = value.substr(0, 4);
    out.append(value);
    out.append(4 - value.size(), '\0');
}

} // namespace

const PalmResource* PalmDatabase::find(std::string_view resourceType, int id) const {
    for (const PalmResource& r : resources)
        if (r.type == resourceType && r.id == id)
            return &r;
    return nullptr;
}

std::string PalmDatabase::headerBytes(std::uint16_t count) const {
    std::string out;
    out.reserve(headerSize);
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
    std::size_t total = headerSize + entrySize * resources.size() + 2;
    for (const PalmResource& r : resources)
        total += r.bytes.size();
    std::string out;
    out.reserve(total);
    out.append(headerBytes(std::uint16_t(resources.size())));
    std::uint32_t offset = std::uint32_t(headerSize + entrySize * resources.size() + 2);
    for (const PalmResource& r : resources) {
        appendEntry(out, r.type, r.id, offset);
        offset += std::uint32_t(r.bytes.size());
    }
    be::append16(out, 0);
    for (const PalmResource& r : resources)
        out.append(r.bytes);
    return out;
}

std::optional<PalmDatabase> PalmDatabase::fromBytes(std::string_view bytes, std::string* error) {
    auto fail = [&](std::string text) -> std::optional<PalmDatabase> {
        if (error)
            *error = std::move(text);
        return std::nullopt;
    };
    if (bytes.size() < headerSize)
        return fail(std::to_string(bytes.size()) + " bytes are too short for a database header");
    PalmDatabase db;
    const std::string_view nameField = bytes.substr(0, 32);
    const std::size_t zero = nameField.find('\0');
    if (zero == std::string_view::npos)
        return fail("the name field has no terminating zero");
    db.name = std::string(nameField.substr(0, zero));
    db.attributes = be::read16(bytes, 0x20);
    db.version = be::read16(bytes, 0x22);
    db.creationDate = be::read32(bytes, 0x24);
    db.modificationDate = be::read32(bytes, 0x28);
    db.lastBackupDate = be::read32(bytes, 0x2C);
    db.modificationNumber = be::read32(bytes, 0x30);
    db.appInfoID = be::read32(bytes, 0x34);
    db.sortInfoID = be::read32(bytes, 0x38);
    db.type = std::string(bytes.substr(0x3C, 4));
    db.creator = std::string(bytes.substr(0x40, 4));
    db.uniqueIDSeed = be::read32(bytes, 0x44);
    db.nextRecordListID = be::read32(bytes, 0x48);
    const int count = be::read16(bytes, 0x4C);
    const std::size_t listEnd = headerSize + std::size_t(entrySize) * std::size_t(count);
    if (listEnd > bytes.size())
        return fail("the list of " + std::to_string(count) + " resources runs past the end of the file");
    std::vector<std::uint32_t> offsets;
    offsets.reserve(std::size_t(count));
    db.resources.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const std::size_t at = headerSize + std::size_t(entrySize) * std::size_t(i);
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
    return db;
}

} // namespace vv::pdb
