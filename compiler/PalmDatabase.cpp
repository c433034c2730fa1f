#include "compiler/PalmDatabase.h"

#include "compiler/BigEndian.h"

namespace vv::pdb {
namespace {

QByteArray fourBytes(const QByteArray& value) {
    QByteArray out = value.left(4);
    out.append(4 - out.size(), '\0');
    return out;
}

} // namespace

const PalmResource* PalmDatabase::find(const QByteArray& resourceType, int id) const {
    for (const PalmResource& r : resources)
        if (r.type == resourceType && r.id == id)
            return &r;
    return nullptr;
}

QByteArray PalmDatabase::headerBytes(quint16 count) const {
    QByteArray out;
    out.reserve(headerSize);
    QByteArray nameField = name.left(31);
    nameField.append(32 - nameField.size(), '\0');
    out.append(nameField);
    be::append16(out, attributes);
    be::append16(out, version);
    be::append32(out, creationDate);
    be::append32(out, modificationDate);
    be::append32(out, lastBackupDate);
    be::append32(out, modificationNumber);
    be::append32(out, appInfoID);
    be::append32(out, sortInfoID);
    out.append(fourBytes(type));
    out.append(fourBytes(creator));
    be::append32(out, uniqueIDSeed);
    be::append32(out, nextRecordListID);
    be::append16(out, count);
    return out;
}

void PalmDatabase::appendEntry(QByteArray& out, const QByteArray& type, quint16 id, quint32 offset) {
    out.append(fourBytes(type));
    be::append16(out, id);
    be::append32(out, offset);
}

QByteArray PalmDatabase::toBytes() const {
    qsizetype total = headerSize + entrySize * resources.size() + 2;
    for (const PalmResource& r : resources)
        total += r.bytes.size();
    QByteArray out;
    out.reserve(total);
    out.append(headerBytes(quint16(resources.size())));
    quint32 offset = quint32(headerSize + entrySize * resources.size() + 2);
    for (const PalmResource& r : resources) {
        appendEntry(out, r.type, r.id, offset);
        offset += quint32(r.bytes.size());
    }
    be::append16(out, 0);
    for (const PalmResource& r : resources)
        out.append(r.bytes);
    return out;
}

std::optional<PalmDatabase> PalmDatabase::fromBytes(const QByteArray& bytes, QString* error) {
    auto fail = [&](const QString& text) -> std::optional<PalmDatabase> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    if (bytes.size() < headerSize)
        return fail(QStringLiteral("%1 bytes are too short for a database header").arg(bytes.size()));
    PalmDatabase db;
    db.name = bytes.left(32);
    const qsizetype zero = db.name.indexOf('\0');
    if (zero < 0)
        return fail(QStringLiteral("the name field has no terminating zero"));
    db.name.truncate(zero);
    db.attributes = be::read16(bytes, 0x20);
    db.version = be::read16(bytes, 0x22);
    db.creationDate = be::read32(bytes, 0x24);
    db.modificationDate = be::read32(bytes, 0x28);
    db.lastBackupDate = be::read32(bytes, 0x2C);
    db.modificationNumber = be::read32(bytes, 0x30);
    db.appInfoID = be::read32(bytes, 0x34);
    db.sortInfoID = be::read32(bytes, 0x38);
    db.type = bytes.mid(0x3C, 4);
    db.creator = bytes.mid(0x40, 4);
    db.uniqueIDSeed = be::read32(bytes, 0x44);
    db.nextRecordListID = be::read32(bytes, 0x48);
    const int count = be::read16(bytes, 0x4C);
    const qsizetype listEnd = headerSize + qsizetype(entrySize) * count;
    if (listEnd > bytes.size())
        return fail(QStringLiteral("the list of %1 resources runs past the end of the file").arg(count));
    QList<quint32> offsets;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = headerSize + qsizetype(entrySize) * i;
        PalmResource r;
        r.type = bytes.mid(at, 4);
        r.id = be::read16(bytes, at + 4);
        const quint32 offset = be::read32(bytes, at + 6);
        if (offset < listEnd || offset > quint64(bytes.size()))
            return fail(QStringLiteral("resource %1 starts at %2, outside the file").arg(i).arg(offset));
        if (!offsets.isEmpty() && offset < offsets.last())
            return fail(QStringLiteral("resource %1 starts before the one listed ahead of it").arg(i));
        offsets.push_back(offset);
        db.resources.push_back(r);
    }
    for (int i = 0; i < count; ++i) {
        const quint32 end = i + 1 < count ? offsets[i + 1] : quint32(bytes.size());
        db.resources[i].bytes = bytes.mid(offsets[i], end - offsets[i]);
    }
    return db;
}

} // namespace vv::pdb
