// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/PrintProgressDlg.h"

#include "resources/Strings.h"
#include "resources/Templates.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace print {

// The bar's control: a black frame with a sunken edge, the bar inside.
class ProgressFrame : public QWidget {
public:
    using QWidget::QWidget;

    void setState(int n, int total)
    {
        n_ = n;
        total_ = total;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect();
        // The sunken edge lies outside the client area.
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect client = r.adjusted(1, 1, -1, -1);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(client.adjusted(0, 0, -1, -1));
        const QRect bar = PrintProgressDlg::barRect(client, n_, total_);
        if (!bar.isEmpty())
            p.fillRect(bar, QColor(0, 0, 255));
    }

private:
    int n_ = 0;
    int total_ = 100;
};

namespace {

ui::TemplateDialog::Options progressOptions()
{
    ui::TemplateDialog::Options options;
    options.factory = [](const platform::ControlSpec& c, QWidget* parent) -> QWidget* {
        return c.id == PrintProgressDlg::kBarId ? new ProgressFrame(parent) : nullptr;
    };
    return options;
}

} // namespace

PrintProgressDlg::PrintProgressDlg(QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::PrintProgress), parent, progressOptions())
{
    // No system menu, no buttons: the window only reports.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    bar_ = dynamic_cast<ProgressFrame*>(item(kBarId));
}

PrintProgressDlg::~PrintProgressDlg() = default;

void PrintProgressDlg::showNow()
{
    show();
    // The window can only be painted once the window system shows it.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
}

void PrintProgressDlg::setStatus(const QString& text)
{
    if (auto* label = itemAs<QLabel>(kStatusId)) {
        label->setText(text);
        label->repaint();
    }
}

QString PrintProgressDlg::status() const
{
    const auto* label = itemAs<QLabel>(kStatusId);
    return label ? label->text() : QString();
}

void PrintProgressDlg::setTotal(int total)
{
    total_ = total;
}

void PrintProgressDlg::showProgress(int n)
{
    progress_ = n;
    if (bar_) {
        bar_->setState(n, total_);
        bar_->repaint();
    }
}

QString PrintProgressDlg::cardStatus(qint64 sheet, qint64 sheets, qint64 card, qint64 cards)
{
    return QString::fromUtf8(resources::texts::PrintProgressCount).arg(sheet).arg(sheets).arg(card).arg(cards);
}

QRect PrintProgressDlg::barRect(const QRect& client, int n, int total)
{
    const QRect inside = client.adjusted(1, 1, -1, -1);
    if (total <= 0 || inside.isEmpty())
        return {};
    const qint64 done = std::clamp(n, 0, total);
    const int width = int(qint64(inside.width()) * done / total);
    return QRect(inside.left(), inside.top(), width, inside.height());
}

} // namespace print
