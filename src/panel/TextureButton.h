#pragma once

#include <QPushButton>

namespace panel {

// A push button of textured cloth with a white caption; standard click logic.
class TextureButton : public QPushButton {
    Q_OBJECT
public:
    explicit TextureButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace panel
