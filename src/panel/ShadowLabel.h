// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace panel {

// A bold caption with a soft grey shadow, drawn over whatever lies behind it.
class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit ShadowLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace panel
