// A Palm OS resource database (.pdb/.prc) in memory: the 78-byte header and the
// resources in list order. Reads and writes the file layout; the reader checks
// every offset before it trusts it, so any byte string is safe to hand it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vv::pdb {

struct PalmResource {
    QByteArray type; // four bytes, e.g. "Tbmp"
    quint16 id = 0;
    QByteArray bytes; // the body; its size is implied by the next offset in the file
};

struct PalmDatabase {
    QByteArray name;             // without the terminating zero, at most 31 bytes
    quint16 attributes = 0x0001; // resource database
    quint16 version = 1;
    quint32 creationDate = 0; // seconds since 1904-01-01
    quint32 modificationDate = 0;
    quint32 lastBackupDate = 0;
    quint32 modificationNumber = 0;
    quint32 appInfoID = 0;
    quint32 sortInfoID = 0;
    QByteArray type;    // four bytes, zero-padded
    QByteArray creator; // four bytes, zero-padded
    quint32 uniqueIDSeed = 0;
    quint32 nextRecordListID = 0;
    QList<PalmResource> resources;

    // The first resource of that type and ID, or null.
    const PalmResource* find(const QByteArray& resourceType, int id) const;

    // Header, 10-byte resource entries, two zero bytes, bodies back to back.
    QByteArray toBytes() const;
    // The 78-byte header alone, for a database of `count` resources (the
    // resources in memory are not looked at: a writer may stream them).
    QByteArray headerBytes(quint16 count) const;
    // One entry of the resource list.
    static void appendEntry(QByteArray& out, const QByteArray& type, quint16 id, quint32 offset);
    // Nothing with the reason in `error` when the bytes are no resource database
    // (short header, entry list or offsets outside the file or out of order).
    static std::optional<PalmDatabase> fromBytes(const QByteArray& bytes, QString* error);

    static constexpr int headerSize = 78;
    static constexpr int entrySize = 10;
    // Seconds from the handheld's epoch (1904) to the Unix epoch (1970).
    static constexpr qint64 epochOffset = 2082844800;
};

} // namespace vv::pdb
