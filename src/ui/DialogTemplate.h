// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DialogTemplateData.h"

#include <QDialog>
#include <QFont>
#include <QHash>
#include <QRect>

#include <functional>
#include <vector>

namespace ui {

// The templates' own types are the platform's data.
using platform::ControlSpec;
using platform::CtrlFlag;
using platform::CtrlKind;
using platform::DialogSpec;
using platform::kNoId;

// Dialog units to pixels, from the base units of the dialog's font as the platform
// computes them: the average width of the 52 Latin letters and the font's height.
class DialogUnits {
public:
    DialogUnits() = default;
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}
    static DialogUnits forFont(const QFont& font);

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    int toPixelsX(int du) const;
    int toPixelsY(int du) const;
    QRect toPixels(int x, int y, int w, int h) const;

private:
    int baseX_ = 6;
    int baseY_ = 12;
};

// The font a template names, at its point size for the screen.
QFont dialogFont(const DialogSpec& tmpl);

enum class Notify { Clicked, EditChange, SelChange, DoubleClick };

// A dialog built from a template: every control is created with its id, place, text
// and initial visibility. Control notifications arrive at onCommand.
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    using ImageProvider = std::function<QPixmap(int resource)>;
    // Returns the widget for a control, or nullptr for the standard one.
    using ControlFactory = std::function<QWidget*(const ControlSpec& c, QWidget* parent)>;

    struct Options {
        ImageProvider images;
        ControlFactory factory;
    };

    explicit TemplateDialog(const DialogSpec& tmpl, QWidget* parent = nullptr,
                            const Options& options = {});

    QWidget* item(int id) const { return items_.value(id, nullptr); }
    template <class T>
    T* itemAs(int id) const { return qobject_cast<T*>(item(id)); }
    QList<int> itemIds() const { return order_; }

    const DialogSpec& tmpl() const { return tmpl_; }
    const DialogUnits& units() const { return units_; }

    // The standard widget for a control kind.
    static QWidget* createStandardControl(const ControlSpec& c, QWidget* parent,
                                          const ImageProvider& images);

protected:
    virtual void onCommand(int id, Notify code);

private:
    void wire(QWidget* w, const ControlSpec& c);

    const DialogSpec& tmpl_;
    DialogUnits units_;
    QHash<int, QWidget*> items_;
    QList<int> order_;
};

// Looks up a handler for (id, notification) in a table of member functions.
template <class Dlg>
struct CommandEntry {
    int id;
    Notify code;
    void (Dlg::*handler)();
};

template <class Dlg, std::size_t N>
bool dispatchCommand(Dlg* dlg, const CommandEntry<Dlg> (&table)[N], int id, Notify code)
{
    for (const CommandEntry<Dlg>& e : table) {
        if (e.id == id && e.code == code) {
            (dlg->*e.handler)();
            return true;
        }
    }
    return false;
}

} // namespace ui
