// The compiler reads and writes regular files only, checks sizes before it
// reads, and refuses input it cannot account for, leaving an older database
// exactly as it was.
#include "CompilerTestSupport.h"

#include "compiler/PictureReader.h"
#include "compiler/QtBytes.h"
#include "compiler/ResourceCompiler.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using vv::test::readBytes;
using vv::test::writeBytes;

namespace {

enum class Special { Fifo, Device, Folder, Socket };

const char* nameOf(Special kind) {
    switch (kind) {
    case Special::Fifo:
        return "FIFO";
    case Special::Device:
        return "device";
    case Special::Folder:
        return "folder";
    case Special::Socket:
        return "socket";
    }
    return "";
}

class HostileInput : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QFile::copy(vv::test::fixturePath("compiler/pictures/a.bmp"), path("a.bmp")));
        ASSERT_TRUE(writeBytes(path("data.bin"), "DATA"));
        ASSERT_TRUE(writeBytes(path("old.pdb"), "an older database"));
    }
    ~HostileInput() override {
        for (int fd : sockets_)
            ::close(fd);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // A special file of `kind` at `name` in the scratch folder. The device is a
    // copy of /dev/null (or /dev/null itself where nodes cannot be made, which
    // also means it cannot be replaced), or /dev/zero for reading.
    QString make(Special kind, const QString& name, bool forReading) {
        const QString at = path(name);
        const QByteArray native = QFile::encodeName(at);
        switch (kind) {
        case Special::Fifo:
            EXPECT_EQ(::mkfifo(native.constData(), 0600), 0);
            return at;
        case Special::Device:
            if (forReading)
                return QStringLiteral("/dev/zero");
            if (::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
                return at;
            return QStringLiteral("/dev/null");
        case Special::Folder:
            EXPECT_TRUE(QDir().mkpath(at));
            return at;
        case Special::Socket: {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            EXPECT_LT(size_t(native.size()), sizeof(address.sun_path));
            std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
            EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
            sockets_.push_back(fd);
            return at;
        }
        }
        return at;
    }

    bool compile(const QByteArray& script, const QString& output, QString* errors) {
        EXPECT_TRUE(writeBytes(path("script.rcp"), script));
        return compileScriptAt(path("script.rcp"), output, errors);
    }
    bool compileScriptAt(const QString& script, const QString& output, QString* errors) {
        vv::pdb::CompileRequest request;
        request.scriptPath = vv::pdb::utf8Of(script);
        request.outputPath = vv::pdb::utf8Of(output);
        request.type = "thme";
        request.creator = "reze";
        request.allowEditID = true;
        vv::pdb::Diagnostics diagnostics;
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        const bool ok = vv::pdb::ResourceCompiler::run(request, &diagnostics);
        QDir::setCurrent(before);
        for (const auto& d : diagnostics)
            *errors += vv::pdb::qtText(d.format("script.rcp")) + QLatin1Char('\n');
        return ok;
    }

    QTemporaryDir dir_;
    std::vector<int> sockets_;
};

const QByteArray pictureScript = "BITMAPFAMILYEX ID 1000 BEGIN BITMAP \"a.bmp\" BPP 8 END\n";

bool isType(const QString& path, mode_t type) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

TEST_F(HostileInput, SpecialFilesAreRefusedAsOutputAndLeftAsTheyAre) {
    const struct {
        Special kind;
        mode_t type;
    } cases[] = {{Special::Fifo, S_IFIFO},
                 {Special::Device, S_IFCHR},
                 {Special::Folder, S_IFDIR},
                 {Special::Socket, S_IFSOCK}};
    for (const auto& c : cases) {
        const QString output = make(c.kind, QStringLiteral("out-%1").arg(int(c.kind)), false);
        QString errors;
        EXPECT_FALSE(compile(pictureScript, output, &errors)) << nameOf(c.kind);
        EXPECT_TRUE(errors.contains(QStringLiteral("cannot write"))) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String(nameOf(c.kind)))) << errors.toStdString();
        EXPECT_TRUE(isType(output, c.type)) << nameOf(c.kind) << " was replaced";
    }
    // Nothing was left behind beside them either.
    const QStringList left = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : left)
        EXPECT_FALSE(name.contains(QStringLiteral(".pdb."))) << name.toStdString();
}

TEST_F(HostileInput, SpecialFilesAreRefusedAsScriptPictureOrDataWithoutWaiting) {
    for (const Special kind : {Special::Fifo, Special::Device, Special::Folder, Special::Socket}) {
        for (const char* role : {"script", "picture", "data"}) {
            const QString special =
                make(kind, QStringLiteral("%1-%2").arg(QLatin1String(role)).arg(int(kind)), true);
            const QByteArray native = QDir(dir_.path()).relativeFilePath(special).toUtf8();
            QString errors;
            bool ok = true;
            if (!std::strcmp(role, "script"))
                ok = compileScriptAt(special, path("old.pdb"), &errors);
            else if (!std::strcmp(role, "picture"))
                ok = compile("BITMAPFAMILYEX ID 1000 BEGIN BITMAP \"" + native + "\" BPP 8 END\n",
                             path("old.pdb"), &errors);
            else
                ok = compile("DATA \"tain\" ID 1 \"" + native + "\"\n", path("old.pdb"), &errors);
            EXPECT_FALSE(ok) << role << " as " << nameOf(kind);
            const QString expected =
                kind == Special::Device ? QStringLiteral("device") : QLatin1String(nameOf(kind));
            EXPECT_TRUE(errors.contains(expected)) << role << ": " << errors.toStdString();
            EXPECT_EQ(readBytes(path("old.pdb")), "an older database");
        }
    }
}

// A script text with a zero byte inside.
template <size_t N> QByteArray withZero(const char (&text)[N]) {
    return QByteArray(text, qsizetype(N - 1));
}

TEST_F(HostileInput, OversizedAndMalformedInputIsRefused) {
    ASSERT_TRUE(writeBytes(path("full.bin"), QByteArray(64 * 1024, 'x')));
    ASSERT_TRUE(writeBytes(path("over.bin"), QByteArray(64 * 1024 + 1, 'x')));
    QByteArray padded = readBytes(path("a.bmp"));
    padded.append(QByteArray(2 * 1024 * 1024, '\0'));
    ASSERT_TRUE(writeBytes(path("padded.bmp"), padded));
    QByteArray manyResources;
    for (int id = 0; id <= 0xFFFF; ++id)
        manyResources += "VERSION ID " + QByteArray::number(id) + " \"1\"\n";
    const struct {
        const char* what;
        QByteArray script;
        bool accepted;
        const char* message;
    } cases[] = {
        {"a DATA file of exactly 64 KB", "DATA \"tain\" ID 1 \"full.bin\"\n", true, ""},
        {"a DATA file over 64 KB", "DATA \"tain\" ID 1 \"over.bin\"\n", false, "65537 bytes"},
        {"a picture far larger than its header says",
         "BITMAPFAMILYEX ID 1 BEGIN BITMAP \"padded.bmp\" BPP 8 END\n", false, "more than its BMP header"},
        {"a picture name with a zero byte",
         withZero("BITMAPFAMILYEX ID 1 BEGIN BITMAP \"a.bmp\0x\" BPP 8 END\n"), false, "zero byte"},
        {"a data file name with a zero byte", withZero("DATA \"tain\" ID 1 \"data.bin\0x\"\n"), false,
         "zero byte"},
        {"65,536 resources", manyResources, false, "at most 65535"},
    };
    for (const auto& c : cases) {
        QString errors;
        EXPECT_EQ(compile(c.script, path("old.pdb"), &errors), c.accepted)
            << c.what << ": " << errors.toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String(c.message))) << c.what << ": " << errors.toStdString();
        if (!c.accepted) {
            EXPECT_EQ(readBytes(path("old.pdb")), "an older database") << c.what;
        }
        ASSERT_TRUE(writeBytes(path("old.pdb"), "an older database"));
    }
    QString errors;
    EXPECT_FALSE(
        compileScriptAt(path("script.rcp") + QChar(0) + QStringLiteral("x"), path("old.pdb"), &errors));
    EXPECT_TRUE(errors.contains(QStringLiteral("zero byte"))) << errors.toStdString();
}

// A 4 x 3 RLE8 picture: rows of 4 pixels with a line end each, then the end.
QByteArray rle8Bmp(const QByteArray& pixelData) {
    QByteArray header = QByteArray::fromHex("424d") + QByteArray(12, '\0') + QByteArray::fromHex("28000000") +
                        QByteArray::fromHex("04000000030000000100080001000000") + QByteArray(20, '\0');
    const int offset = 14 + 40 + 4 * 4;
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = char(v >> (8 * i));
    };
    put32(2, quint32(offset + pixelData.size()));
    put32(10, quint32(offset));
    put32(34, quint32(pixelData.size()));
    put32(46, 4);                                                      // colours used
    header += QByteArray::fromHex("000000ff00ff0000ff000000ffffff00"); // red, green, blue, white
    return header + pixelData;
}

TEST(HostilePictures, RunLengthEncodedDataThatEndsEarlyIsRefused) {
    const QByteArray rows = QByteArray::fromHex("04000000"
                                                "02010202"
                                                "0000"
                                                "04030000");
    const struct {
        const char* what;
        QByteArray data;
        bool accepted;
    } cases[] = {
        {"complete, with the end marker", rows + QByteArray::fromHex("0001"), true},
        {"complete, without the end marker", rows.left(rows.size() - 2), true},
        {"an end marker after the first row", QByteArray::fromHex("040000000001"), true},
        {"cut inside the last row", rows.left(8), false},
        {"cut after the first row", rows.left(4), false},
        {"cut inside a literal run", QByteArray::fromHex("00040102"), false},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto picture = vv::pdb::PictureReader::decode(vv::pdb::bytesOf(rle8Bmp(c.data)), &error);
        EXPECT_EQ(bool(picture), c.accepted) << c.what << ": " << error;
        if (!c.accepted) {
            EXPECT_NE(error.find("truncated"), std::string::npos) << c.what << ": " << error;
        }
    }
}

} // namespace
