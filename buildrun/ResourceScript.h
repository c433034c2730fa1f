// The resource script both builds hand to vkdm_pdb: one block per family, a
// DATA trailer naming the launcher's data files, and the closing header that
// replaces the script's text before it is deleted. Byte-exact: CR LF line
// ends, single-byte text, no byte order mark.
#pragma once

#include "common/BuildOptions.h"
#include "common/ResourceFamily.h"

#include <QByteArray>
#include <QList>

namespace vv {

// One "  BITMAP ..." line with its CR LF, naming `folder`/`piece`.bmp.
QByteArray bitmapLine(const QString& folder, const QString& piece, int bpp, int density,
                      const BuildOptions& options);

// A family's whole block: head, " BEGIN", its BITMAP lines, " END" and an empty line.
QByteArray familyBlock(const ResourceFamily& family, const BuildOptions& options);

// One DATA line of the trailer: a launcher data file the build copies from
// the start directory's work folder ("ThmeRsrc/code0001.bin").
struct TrailerResource {
    const char* type;
    int id;
    QByteArray file;
};

// The trailer in script order, the table the script writer and the unpack both
// read. A row without a file takes the one the build kind and screen choose.
struct TrailerRow {
    const char* type;
    int id;
    const char* file; // nullptr: chosen per build
};
inline constexpr TrailerRow kTrailerRows[] = {
    {"code", 1, "code0001.bin"}, {"data", 0, "data0000.bin"}, {"IdAT", 1000, nullptr},
    {"InFO", 1000, nullptr},     {"code", 0, "code0000.bin"}, {"tAIN", 1000, "tAIN03E8.bin"},
};
// The trailer's closing VERSION line and the resource type it compiles to.
inline constexpr const char* kVersionLine = "VERSION ID 1000 \"1.0\"";
inline constexpr const char* kVersionResourceType = "tver";

// The trailer's data resources in script order; empty when the theme's screen
// type has no trailer.
QList<TrailerResource> trailerResources(BuildKind kind, const BuildOptions& options);

// The DATA trailer of the build, starting with CR LF; empty when the theme's
// screen type has no trailer. The theme's ends without a line end, the icon set's with one.
QByteArray dataTrailer(BuildKind kind, const BuildOptions& options);

// The whole script: bitmap family blocks in list order, then icon family blocks
// in list order, then the DATA trailer.
QByteArray resourceScript(BuildKind kind, const QList<ResourceFamily>& families, const BuildOptions& options);

// The short text written over the script before it is deleted, ending with a zero byte.
QByteArray closingHeader(BuildKind kind, const QString& versionNumber);

} // namespace vv
