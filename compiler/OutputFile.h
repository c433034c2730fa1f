// A file written under a temporary name beside its final one and put in its
// place by one rename on commit, so that a reader never sees half of it and a
// failure leaves an older file as it was. Writes are buffered; a part already
// written can be written over (the database's resource list is, at the end).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vv::pdb {

class OutputFile {
public:
    explicit OutputFile(std::string path) : path_(std::move(path)) {}
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Without a commit the temporary file goes.
    ~OutputFile();

    bool open();
    // Appends at the end of what was written.
    bool write(std::string_view bytes);
    // Writes over bytes already written from `offset` on.
    bool writeAt(std::int64_t offset, std::string_view bytes);
    // Everything to the disk, then the rename; false (the old file kept) on any
    // failure before it.
    bool commit();
    // Why the last call failed.
    const std::string& errorString() const { return error_; }

private:
    bool flush();
    bool fail();

    std::string path_;
    std::string temporaryPath_;
    std::string finalPath_;
    int fd_ = -1;
    bool failed_ = false;
    std::int64_t written_ = 0; // bytes in the file, the buffer not counted
    std::string buffer_;
    std::string error_;
};

} // namespace vv::pdb
