// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolCalibrateTest : public testsupport::TempDirTest {
protected:
    Result calibrate(const QStringList& args) { return run(QStringList{u"calibrate"_s, u"--appdir"_s, dir.path()} + args); }
};

} // namespace

TEST_F(PmrToolCalibrateTest, APdfIsOneA4PageOfTheTenUpFormat)
{
    ASSERT_EQ(calibrate({u"-o"_s, path(u"sheet.pdf"_s), u"--format"_s, u"名刺10面 A4"_s}).code, pmrtool::ExitOk);
    const Result info = spawn({path(u"sheet.pdf"_s)}, QProcessEnvironment::systemEnvironment(), u"pdfinfo"_s);
    if (info.code != 0)
        GTEST_SKIP() << "poppler-utils are not installed";
    EXPECT_TRUE(info.out.contains(QRegularExpression(u"Pages:\\s+1\\n"_s))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QRegularExpression(u"Page size:\\s+595(\\.\\d+)? x 84[12]"_s))) << info.out.toStdString();
}

TEST_F(PmrToolCalibrateTest, BadUsageIsRefusedWithStatusTwo)
{
    const QString out = path(u"x.pdf"_s);
    const std::pair<const char*, QStringList> cases[] = {
        {"no output", {}},
        {"a document given as if to print", {u"card.pmr"_s, u"-o"_s, out}},
        {"an output that is neither PDF nor PNG", {u"-o"_s, path(u"x.jpg"_s)}},
        {"a resolution below the least", {u"-o"_s, out, u"--dpi"_s, u"9"_s}},
        {"a resolution that is no number", {u"-o"_s, out, u"--dpi"_s, u"fine"_s}},
        {"a format the catalogue lacks", {u"-o"_s, out, u"--format"_s, u"nosuch"_s}},
        {"an option of print only", {u"-o"_s, out, u"--adjust"_s, u"1,1"_s}},
        {"an option without its value", {u"-o"_s}},
    };
    for (const auto& [name, args] : cases) {
        const Result r = calibrate(args);
        EXPECT_EQ(r.code, pmrtool::ExitUsage) << name;
        EXPECT_TRUE(r.err.contains(u"usage: pmrtool calibrate"_s)) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}
