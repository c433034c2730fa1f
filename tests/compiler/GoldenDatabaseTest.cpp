// Whole databases compared byte for byte with expected files written by hand
// from the format's rules (tests/fixtures/compiler/golden/*.hex).
#include "CompilerTestSupport.h"

#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct GoldenCase {
    const char* script;
    const char* expected;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.script;
}

class GoldenDatabaseTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenDatabaseTest, CompilesToTheExpectedBytes) {
    const GoldenCase& c = GetParam();
    bool ok = false;
    const QByteArray expected =
        vv::test::parseAnnotatedHex(QString::fromUtf8(vv::test::readBytes(vv::test::fixturePath(
                                        QStringLiteral("compiler/golden/%1.hex").arg(c.expected)))),
                                    &ok);
    ASSERT_TRUE(ok && !expected.isEmpty()) << c.expected;

    QTemporaryDir out;
    const QString output = out.filePath(QStringLiteral("golden.pdb"));
    const auto run =
        vv::test::runCompiler(vv::test::themeArguments(QStringLiteral("golden/%1.rcp").arg(c.script), output),
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

INSTANTIATE_TEST_SUITE_P(Compiler, GoldenDatabaseTest,
                         ::testing::Values(GoldenCase{"five-depths", "five-depths"},
                                           GoldenCase{"five-depths-compressed", "five-depths-compressed"},
                                           GoldenCase{"both-densities", "both-densities"},
                                           // Members are stored by density and depth, not by script order.
                                           GoldenCase{"both-densities-reversed", "both-densities"},
                                           GoldenCase{"transparency", "transparency"},
                                           GoldenCase{"icon-family", "icon-family"},
                                           GoldenCase{"data-and-version", "data-and-version"}),
                         [](const ::testing::TestParamInfo<GoldenCase>& param) {
                             std::string name = param.param.script;
                             for (char& ch : name)
                                 if (ch == '-')
                                     ch = '_';
                             return name;
                         });

} // namespace
