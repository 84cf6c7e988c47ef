#pragma once
// A picture button of the main window: three pictures (normal, hot, pressed), no frame, no text.

#include <QAbstractButton>
#include <QPixmap>

namespace kelvork::shell {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString& name, QWidget* parent = nullptr);

    // state: 1 normal, 2 hot, 3 pressed.
    void setPicture(int state, const QPixmap& picture);
    QPixmap picture(int state) const;
    QSize sizeHint() const override { return {80, 79}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap pictures_[3];
    bool hot_ = false;
};

} // namespace kelvork::shell
