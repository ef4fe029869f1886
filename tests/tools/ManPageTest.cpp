// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool's manual page and bash completion, held against pmrtool --help.

#include "ToolRun.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

namespace {

QString help(const QStringList& args) { return toolrun::run(args).out; }

QString source(const char* path)
{
    return QString::fromUtf8(testsupport::readFile(QStringLiteral(PELMORA_SOURCE_DIR "/") + QLatin1String(path)));
}

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

// The commands of pmrtool --help, in order.
QStringList commands()
{
    static const QRegularExpression line(uR"(^  ([a-z]+) )"_s, QRegularExpression::MultilineOption);
    QStringList names;
    for (const auto& m : line.globalMatch(help({u"--help"_s})))
        names << m.captured(1);
    return names;
}

// The usage lines at the top of a command's help, joined.
QString usage(const QString& commandHelp)
{
    return commandHelp.section(u"\n\n"_s, 0, 0).remove(u"usage:"_s).simplified();
}

// The page's subsections (.SS NAME) with their text, in order.
QList<std::pair<QString, QString>> subsections(const QString& page)
{
    QList<std::pair<QString, QString>> sections;
    bool inside = false;
    for (const QString& line : page.split(u'\n')) {
        if (line.startsWith(u".SS "_s)) {
            sections.append({line.mid(4).trimmed(), QString()});
            inside = true;
        } else if (line.startsWith(u".SH "_s)) {
            inside = false;
        } else if (inside) {
            sections.back().second += line + u'\n';
        }
    }
    return sections;
}

TEST(ManPage, DescribesEveryCommandWithTheUsageAndOptionsOfItsHelp)
{
    const QString page = source("doc/pmrtool.1.in");
    ASSERT_FALSE(page.isEmpty());
    const auto sections = subsections(page);
    QStringList names;
    for (const auto& [name, text] : sections) {
        names << name;
        const QString commandHelp = help({name, u"--help"_s});
        EXPECT_TRUE(simplified(text).contains(usage(commandHelp)))
            << name.toStdString() << ": the page lacks \"" << usage(commandHelp).toStdString() << "\"";
        EXPECT_EQ(options(simplified(text)), options(commandHelp)) << name.toStdString();
    }
    EXPECT_EQ(names, commands());
    const QString synopsis = simplified(page.section(u".SH SYNOPSIS"_s, 1).section(u".SH "_s, 0, 0));
    EXPECT_TRUE(synopsis.contains(u"--help"_s) && synopsis.contains(u"--version"_s));
}

TEST(BashCompletion, OffersEveryCommandAndTheOptionsOfItsHelp)
{
    const QString script = source("data/completion/pmrtool");
    ASSERT_FALSE(script.isEmpty());
    const QRegularExpression listed(uR"re(local commands="([^"]*)")re"_s);
    EXPECT_EQ(listed.match(script).captured(1).split(u' '), commands());

    static const QRegularExpression branch(uR"re(^\s*([a-z |]+)\) options="([^"]*)")re"_s,
                                           QRegularExpression::MultilineOption);
    QMap<QString, std::string> offered;
    for (const auto& m : branch.globalMatch(script))
        for (const QString& name : m.captured(1).split(u'|'))
            offered[name.trimmed()] = options(m.captured(2));
    EXPECT_EQ(offered.size(), commands().size());
    for (const QString& name : commands())
        EXPECT_EQ(offered.value(name), options(help({name, u"--help"_s}))) << name.toStdString();
}

} // namespace
