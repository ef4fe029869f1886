// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool's manual page and bash completion, held against pmrtool --help.

#include "ToolRun.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

namespace {

QString help(const QString& command = {})
{
    return toolrun::run(command.isEmpty() ? QStringList{u"--help"_s} : QStringList{command, u"--help"_s}).out;
}

// Page text as read: no font changes or escapes, white space simplified.
QString simplified(QString text)
{
    static const QRegularExpression fonts(uR"(\\f[BIRP])"_s);
    text.remove(fonts);
    return text.replace(u"\\-"_s, u"-"_s).replace(u"\\&"_s, QString()).simplified();
}

// The options a text names, sorted, without --help.
std::string options(const QString& text)
{
    static const QRegularExpression option(uR"((?:^|[\s\[(|,"])(--?[a-z][a-z-]*))"_s);
    QSet<QString> found;
    for (const auto& m : option.globalMatch(text))
        found.insert(m.captured(1));
    found.remove(u"--help"_s);
    QStringList sorted(found.begin(), found.end());
    sorted.sort();
    return sorted.join(u' ').toStdString();
}

TEST(ManPage, AndCompletionOfferEveryCommandWithTheUsageAndOptionsOfItsHelp)
{
    static const QRegularExpression line(uR"(^  ([a-z]+) )"_s, QRegularExpression::MultilineOption);
    QStringList commands; // of pmrtool --help, in order
    for (const auto& m : line.globalMatch(help()))
        commands << m.captured(1);

    const QString script = QString::fromUtf8(testsupport::readFile(QStringLiteral(PELMORA_SOURCE_DIR "/data/completion/pmrtool")));
    const QRegularExpression listed(uR"re(local commands="([^"]*)")re"_s);
    EXPECT_EQ(listed.match(script).captured(1).split(u' '), commands);
    const QRegularExpression branch(uR"re(^\s*([a-z |]+)\) options="([^"]*)")re"_s, QRegularExpression::MultilineOption);
    QMap<QString, std::string> offered;
    for (const auto& m : branch.globalMatch(script))
        for (const QString& name : m.captured(1).split(u'|'))
            offered[name.trimmed()] = options(m.captured(2));
    EXPECT_EQ(offered.size(), commands.size());

    // The page's subsections (.SS NAME), each up to the next one or section.
    const QString page = QString::fromUtf8(testsupport::readFile(QStringLiteral(PELMORA_SOURCE_DIR "/doc/pmrtool.1.in")));
    QStringList names;
    for (const QString& section : page.split(u"\n.SS "_s).mid(1)) {
        const QString name = section.section(u'\n', 0, 0).trimmed();
        const QString text = simplified(section.section(u'\n', 1).section(u"\n.SH "_s, 0, 0));
        const QString commandHelp = help(name);
        const QString usage = commandHelp.section(u"\n\n"_s, 0, 0).remove(u"usage:"_s).simplified();
        EXPECT_TRUE(text.contains(usage)) << name.toStdString() << ": the page lacks \"" << usage.toStdString() << "\"";
        EXPECT_EQ(options(text), options(commandHelp)) << name.toStdString();
        EXPECT_EQ(offered.value(name), options(commandHelp)) << name.toStdString() << " in the completion";
        names << name;
    }
    EXPECT_EQ(names, commands);
    const QString synopsis = simplified(page.section(u".SH SYNOPSIS"_s, 1).section(u".SH "_s, 0, 0));
    EXPECT_TRUE(synopsis.contains(u"--help"_s) && synopsis.contains(u"--version"_s));
}

} // namespace
