// Which names a database may have, and the 32 bytes stamped into it.
#include "buildrun/DatabaseName.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(DatabaseName, AcceptsWhatAFileNameCanHoldAndRefusesTheRest) {
    for (const QString& fine :
         {QString("Sunset"), QString("My \"Set\" 2"), QString::fromUtf8("Café Œuvre €"),
          QString(31, QChar('x')), QString(".hidden"), QString(" lead"), QString("a.b c")})
        EXPECT_EQ(databaseNameProblem(fine), std::nullopt) << fine.toStdString();

    const QList<std::pair<QString, const char*>> refused{
        {"", ""},
        {"a/b", " - the name must not contain / or \\"},
        {"a\\b", " - the name must not contain / or \\"},
        {".", " - the name must not be . or .."},
        {"..", " - the name must not be . or .."},
        {"tab\there", " - the name must not contain control characters"},
        {QString("nul") + QChar(0), " - the name must not contain control characters"},
        {QString::fromUtf8("日本"), " - the name holds a character a handheld database name cannot hold"},
        {QString(32, QChar('x')), " - the name is longer than 31 characters"},
        {" ", " - the name must not be only blanks"},
        {"   ", " - the name must not be only blanks"},
        {"Sunset ", " - the name must not end in a blank or a dot"},
        {"Sunset.", " - the name must not end in a blank or a dot"},
        {"...", " - the name must not end in a blank or a dot"},
    };
    for (const auto& [name, tail] : refused)
        EXPECT_EQ(databaseNameProblem(name), QString(tail)) << name.toStdString();
    EXPECT_EQ(refusalOfDatabaseName("a/b", "Enter a name"),
              "Enter a name - the name must not contain / or \\");
}

TEST(DatabaseName, StampOverwritesOnlyTheNameField) {
    QTemporaryDir dir;
    const QString database = dir.path() + "/Sunset.pdb";
    ASSERT_TRUE(test::writeBytes(database, QByteArray(32, 'X') + "rest"));
    ASSERT_TRUE(stampDatabaseName(database, "Sunset"));
    EXPECT_EQ(test::readBytes(database), "Sunset" + QByteArray(26, '\0') + "rest");
    ASSERT_TRUE(stampDatabaseName(database, QString::fromUtf8("Œuvre €")));
    EXPECT_EQ(test::readBytes(database), "\x8Cuvre \x80" + QByteArray(25, '\0') + "rest");

    QString error;
    EXPECT_FALSE(stampDatabaseName(dir.path() + "/Missing.pdb", "Missing", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + "/Missing.pdb"));
}

} // namespace
} // namespace vv
