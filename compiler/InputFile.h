// The compiler reads and writes regular files only. A FIFO would block it
// forever, a device such as /dev/zero would feed it until memory runs out, and
// replacing a device node or socket with the output (as a rename does) would
// break the system. Sizes are known before anything is read whole.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vv::pdb {

class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens `path` for reading when it names a regular file; otherwise false
    // with the reason in `error`. Never blocks on a FIFO.
    bool open(const QString& path, QString* error);
    qint64 size() const { return m_size; }
    // `count` bytes from the start; nothing with the reason when the file ends
    // early or cannot be read.
    std::optional<QByteArray> read(qint64 count, QString* error) const;

    // The whole file when it is regular and at most `maxSize` bytes long.
    static std::optional<QByteArray> readAll(const QString& path, qint64 maxSize, QString* error);

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

// Empty when `path` may be written: it does not exist or is a regular file;
// else why not (a folder, a device, a FIFO, a socket, a name with a zero byte).
QString checkOutputPath(const QString& path);

} // namespace vv::pdb
