#include "ToolCommands.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PmrToolCalibrateTest : public ::testing::Test {
protected:
    int calibrate(const QStringList& args, QString* err = nullptr)
    {
        QString out, e;
        QTextStream o(&out), es(&e);
        const int code = pmrtool::run(QStringList{u"calibrate"_s, u"--appdir"_s, dir.path()} + args, o, es);
        es.flush();
        if (err)
            *err = e;
        return code;
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(PmrToolCalibrateTest, APdfIsOneA4PageOfTheTenUpFormat)
{
    if (QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    ASSERT_EQ(calibrate({u"-o"_s, path(u"sheet.pdf"_s), u"--format"_s, u"名刺10面 A4"_s}), pmrtool::ExitOk);
    QProcess info;
    info.start(u"pdfinfo"_s, {path(u"sheet.pdf"_s)});
    ASSERT_TRUE(info.waitForFinished(60000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression(u"Pages:\\s+1\\n"_s))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(u"Page size:\\s+595(\\.\\d+)? x 84[12]"_s))) << text.toStdString();
}

TEST_F(PmrToolCalibrateTest, BadUsageIsRefusedWithStatusTwo)
{
    struct Case {
        const char* name;
        QStringList args;
    };
    const QString out = path(u"x.pdf"_s);
    const Case cases[] = {
        {"no output", {}},
        {"a document given as if to print", {u"card.pmr"_s, u"-o"_s, out}},
        {"an output that is neither PDF nor PNG", {u"-o"_s, path(u"x.jpg"_s)}},
        {"a resolution below the least", {u"-o"_s, out, u"--dpi"_s, u"9"_s}},
        {"a resolution that is no number", {u"-o"_s, out, u"--dpi"_s, u"fine"_s}},
        {"a format the catalogue lacks", {u"-o"_s, out, u"--format"_s, u"nosuch"_s}},
        {"an option of print only", {u"-o"_s, out, u"--adjust"_s, u"1,1"_s}},
        {"an option without its value", {u"-o"_s}},
    };
    for (const Case& c : cases) {
        QString err;
        EXPECT_EQ(calibrate(c.args, &err), pmrtool::ExitUsage) << c.name;
        EXPECT_TRUE(err.contains(u"usage: pmrtool calibrate"_s)) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}
