// Big-endian fields, the byte order of every Palm OS structure. Readers check
// bounds before they call these.
#pragma once

#include <QByteArray>

namespace vv::pdb::be {

inline void append16(QByteArray& out, quint32 v) {
    out.append(char(v >> 8));
    out.append(char(v));
}
inline void append32(QByteArray& out, quint32 v) {
    append16(out, v >> 16);
    append16(out, v & 0xFFFF);
}
inline void set16(QByteArray& out, qsizetype at, quint32 v) {
    out[at] = char(v >> 8);
    out[at + 1] = char(v);
}
inline void set32(QByteArray& out, qsizetype at, quint32 v) {
    set16(out, at, v >> 16);
    set16(out, at + 2, v & 0xFFFF);
}
inline quint16 read16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] << 8 | p[1]);
}
inline quint32 read32(const QByteArray& b, qsizetype at) {
    return quint32(read16(b, at)) << 16 | read16(b, at + 2);
}

} // namespace vv::pdb::be
