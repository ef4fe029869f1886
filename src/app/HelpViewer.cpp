// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpViewer.h"

#include "ui/MessageBox.h"
#include "resources/Images.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

HelpViewer::HelpViewer(const QString& appDir, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this))
{
    setWindowTitle(QString::fromUtf8(resources::texts::HelpTitle).arg(ui::applicationName()));
    setWindowIcon(resources::appIcon());
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(false);
    const QString page = helpPage(appDir);
    browser_->setSource(page.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + page)
                                                         : QUrl::fromLocalFile(page));
    resize(560, 640);
}

QString HelpViewer::source() const
{
    const QUrl url = browser_->source();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

bool HelpViewer::hasPage() const
{
    return !browser_->document()->isEmpty();
}

QString HelpViewer::helpPage(const QString& appDir)
{
    const QString installed = QDir(appDir).filePath(QStringLiteral("help/index.html"));
    if (QFileInfo(installed).isFile())
        return installed;
    return QStringLiteral(":/help/index.html");
}
