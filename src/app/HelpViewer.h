// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTextBrowser;

// The help window: shows the bundled help page from the application directory,
// or the copy built into the program when that is missing.
class HelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& appDir, QWidget* parent = nullptr);

    // The page shown: a file path or a resource path.
    QString source() const;
    // Whether a page was found and shown.
    bool hasPage() const;

    static QString helpPage(const QString& appDir);

private:
    QTextBrowser* browser_;
};
