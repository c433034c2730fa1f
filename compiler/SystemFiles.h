// The few file-system calls the compiler makes, behind one small layer: POSIX
// calls, with a Windows branch. Paths are UTF-8. Failures leave the reason in
// errno.
#pragma once

#include <cstdint>
#include <string>

namespace vv::pdb::sys {

enum class FileKind { Missing, Regular, Folder, Fifo, Socket, Device, Other };

// A descriptor for reading, opened without blocking on a FIFO; -1 on failure.
int openForReading(const std::string& path);
bool closeFile(int fd);
// What the name leads to, links followed; Missing when that cannot be told.
FileKind kindOfPath(const std::string& path);
// What an open descriptor is, with its size; Missing when that cannot be told.
FileKind kindOfOpenFile(int fd, std::int64_t* size);
// Up to `count` bytes at `offset`; the count read, 0 at the end, -1 on failure.
std::int64_t readAt(int fd, char* buffer, std::int64_t count, std::int64_t offset);

// A new file in the folder of `path` (of its link target when `path` is a
// link), open for writing; -1 on failure. Where the system can, the file has
// no name until nameTemporary gives it one, so that nothing is left behind
// when the program is killed; else it has a unique name in `temporaryPath`.
// It gets the permissions `path` has, or the usual ones for a new file.
// `finalPath` receives the file to be replaced.
int createTemporaryBeside(const std::string& path, std::string* temporaryPath, std::string* finalPath);
// Gives a file that createTemporaryBeside made without a name a unique one
// beside `finalPath`.
bool nameTemporary(int fd, const std::string& finalPath, std::string* temporaryPath);
// The whole of `size` bytes at `offset`; false on failure.
bool writeAt(int fd, const char* data, std::int64_t size, std::int64_t offset);
// Flushes the file's data to the disk.
bool syncFile(int fd);
// Puts `from` in the place of `to` in one step.
bool replaceFile(const std::string& from, const std::string& to);
void removeFile(const std::string& path);

} // namespace vv::pdb::sys
