// Whole databases compared byte for byte with expected files written by hand
// from the format's rules (tests/fixtures/compiler/golden/*.hex).
#include "CompilerTestSupport.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Each golden/NAME.rcp is compiled and compared with golden/NAME.hex; a script
// added to the folder is a case without a list to extend.
std::vector<std::string> goldenScripts() {
    std::vector<std::string> names;
    const QDir folder(vv::test::fixturePath(QStringLiteral("compiler/golden")));
    for (const QString& script : folder.entryList({QStringLiteral("*.rcp")}, QDir::Files, QDir::Name))
        names.push_back(QFileInfo(script).completeBaseName().toStdString());
    return names;
}

class GoldenDatabaseTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenDatabaseTest, CompilesToTheExpectedBytes) {
    const QString name = QString::fromStdString(GetParam());
    bool ok = false;
    const QByteArray expected = vv::test::parseAnnotatedHex(
        QString::fromUtf8(
            vv::test::readBytes(vv::test::fixturePath(QStringLiteral("compiler/golden/%1.hex").arg(name)))),
        &ok);
    ASSERT_TRUE(ok && !expected.isEmpty()) << GetParam();

    QTemporaryDir out;
    const QString output = out.filePath(QStringLiteral("golden.pdb"));
    const auto run =
        vv::test::runCompiler(vv::test::themeArguments(QStringLiteral("golden/%1.rcp").arg(name), output),
                              vv::test::fixturePath(QStringLiteral("compiler")));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();

    const QByteArray actual = vv::test::readBytes(output);
    qsizetype first = 0;
    while (first < qMin(actual.size(), expected.size()) && actual[first] == expected[first])
        ++first;
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_EQ(first, qMax(actual.size(), expected.size()))
        << "first difference at offset " << first << "\nexpected "
        << expected.mid(first, 16).toHex(' ').toStdString() << "\nactual   "
        << actual.mid(first, 16).toHex(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Compiler, GoldenDatabaseTest, ::testing::ValuesIn(goldenScripts()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& ch : name)
                                 if (ch == '-')
                                     ch = '_';
                             return name;
                         });

} // namespace
