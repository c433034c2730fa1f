// Reading and writing the user's files, and why that failed, in words a user
// can act on. Qt's own error text is "Unknown error" for several causes (a
// picture writer that hits a full disk, for one), so the cause is taken from
// the system's error number.
//
// Writes never go through a symbolic link at the file's own name: the bytes go
// to a fresh file beside it, which then replaces the name in one rename. A
// link there is replaced, its target left alone, and a reader sees either the
// old file or the whole new one. Reads take regular files only, opened without
// waiting, so a FIFO or a device at a picture's name is refused at once
// instead of hanging the program.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vv {

// The cause named by the system error number `errorNumber` ("no space left on
// the device" for a full disk), or `fallback` when the number names nothing
// more useful.
QString fileErrorText(int errorNumber, const QString& fallback = {});

// Writes `bytes` as the whole new content of `path` (see above). On failure
// returns false, leaves `path` as it was and sets `error` to the named cause.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A file to write with others, all or none.
struct FileToWrite {
    QString path;
    QByteArray bytes;
};

// Writes every file under a temporary name beside it first and renames them
// into place only when all were written, so a failure (a full disk) leaves
// none of them changed. On failure returns false, sets `failedPath` to the
// file that failed and `error` to the cause.
bool writeFilesTogether(const QList<FileToWrite>& files, QString* failedPath, QString* error);

// Like writeWholeFile, but fails with "it already exists" where anything
// (a link included) has that name. For the files of a fresh folder.
bool createNewFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Like createNewFile, but where `path` already names a regular file of this
// user with no other name, writes the bytes into that file: a kept work
// folder's files are reused, since some file systems give out new files
// slowly after many were removed. Anything else at the name (a link, a file
// with a second name, which may be someone else's) is removed, never written
// through, and a new file made.
bool rewriteOwnFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Whether `path` itself (not a link's target) is a folder of this user that
// no one else may read, write or enter.
bool isOwnPrivateFolder(const QString& path);

// Gives the file `existing` the second name `path` (a hard link), for files
// of a fresh folder that hold the same bytes: a name costs the file system
// far less than a new file. False, with nothing made, where anything has the
// name `path` or the file system has no such names; the caller then writes
// the bytes with createNewFile.
bool addFileName(const QString& existing, const QString& path, QString* error = nullptr);

// Reads the regular file `path` whole, at most `cap` bytes. On failure returns
// false and sets `error`: the cause ("no such file", "permission denied"),
// "it is a FIFO, not a regular file", or "it is larger than the N MB ...".
bool readWholeFile(const QString& path, qint64 cap, QByteArray* bytes, QString* error = nullptr);

// The size cap for `bytes` in words: "64 MB", "512 KB".
QString byteSizeText(qint64 bytes);

// Renames `from` over `to` in one step: a file, or a link, at `to` is
// replaced, never a link's target. False with `error` on failure.
bool renameOver(const QString& from, const QString& to, QString* error = nullptr);

// Forces the file's bytes to the device, so a rename after it cannot leave
// an empty file in place after a power cut. False with `error` on failure.
bool syncFile(const QString& path, QString* error = nullptr);

} // namespace vv
