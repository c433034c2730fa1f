// The compiler reads and writes regular files only. A FIFO would block it
// forever, a device such as /dev/zero would feed it until memory runs out, and
// replacing a device node or socket with the output (as a rename does) would
// break the system. Sizes are known before anything is read whole. Paths are
// UTF-8 (on POSIX systems the bytes are passed on as they are).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vv::pdb {

class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens `path` for reading when it names a regular file; otherwise false
    // with the reason in `error`. Never blocks on a FIFO.
    bool open(const std::string& path, std::string* error);
    std::int64_t size() const { return size_; }
    // `count` bytes from the start; nothing with the reason when the file ends
    // early or cannot be read.
    std::optional<std::string> read(std::int64_t count, std::string* error) const;
    // The same into `buffer`, which has room for `count` bytes: a picture's
    // bytes are read into memory that is not cleared first.
    bool readInto(char* buffer, std::int64_t count, std::string* error) const;

    // The whole file when it is regular and at most `maxSize` bytes long.
    static std::optional<std::string> readAll(const std::string& path, std::int64_t maxSize,
                                              std::string* error);

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
};

// Empty when `path` may be written: it does not exist or is a regular file;
// else why not (a folder, a device, a FIFO, a socket, a name with a zero byte).
std::string checkOutputPath(const std::string& path);

// The system's text for an error number, as UTF-8.
std::string systemErrorText(int code);

} // namespace vv::pdb
