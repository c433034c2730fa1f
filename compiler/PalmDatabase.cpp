#include "compiler/PalmDatabase.h"

namespace vv::pdb {
namespace {

void put16(QByteArray& out, quint32 v) {
    out.append(char(v >> 8));
    out.append(char(v));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, v >> 16);
    put16(out, v & 0xFFFF);
}
quint16 get16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] << 8 | p[1]);
}
quint32 get32(const QByteArray& b, qsizetype at) {
    return quint32(get16(b, at)) << 16 | get16(b, at + 2);
}
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

QByteArray PalmDatabase::toBytes() const {
    qsizetype total = headerSize + entrySize * resources.size() + 2;
    for (const PalmResource& r : resources)
        total += r.bytes.size();
    QByteArray out;
    out.reserve(total);
    QByteArray nameField = name.left(31);
    nameField.append(32 - nameField.size(), '\0');
    out.append(nameField);
    put16(out, attributes);
    put16(out, version);
    put32(out, creationDate);
    put32(out, modificationDate);
    put32(out, lastBackupDate);
    put32(out, modificationNumber);
    put32(out, appInfoID);
    put32(out, sortInfoID);
    out.append(fourBytes(type));
    out.append(fourBytes(creator));
    put32(out, uniqueIDSeed);
    put32(out, nextRecordListID);
    put16(out, quint32(resources.size()));
    quint32 offset = quint32(headerSize + entrySize * resources.size() + 2);
    for (const PalmResource& r : resources) {
        out.append(fourBytes(r.type));
        put16(out, r.id);
        put32(out, offset);
        offset += quint32(r.bytes.size());
    }
    put16(out, 0);
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
    db.attributes = get16(bytes, 0x20);
    db.version = get16(bytes, 0x22);
    db.creationDate = get32(bytes, 0x24);
    db.modificationDate = get32(bytes, 0x28);
    db.lastBackupDate = get32(bytes, 0x2C);
    db.modificationNumber = get32(bytes, 0x30);
    db.appInfoID = get32(bytes, 0x34);
    db.sortInfoID = get32(bytes, 0x38);
    db.type = bytes.mid(0x3C, 4);
    db.creator = bytes.mid(0x40, 4);
    db.uniqueIDSeed = get32(bytes, 0x44);
    db.nextRecordListID = get32(bytes, 0x48);
    const int count = get16(bytes, 0x4C);
    const qsizetype listEnd = headerSize + qsizetype(entrySize) * count;
    if (listEnd > bytes.size())
        return fail(QStringLiteral("the list of %1 resources runs past the end of the file").arg(count));
    QList<quint32> offsets;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = headerSize + qsizetype(entrySize) * i;
        PalmResource r;
        r.type = bytes.mid(at, 4);
        r.id = get16(bytes, at + 4);
        const quint32 offset = get32(bytes, at + 6);
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
