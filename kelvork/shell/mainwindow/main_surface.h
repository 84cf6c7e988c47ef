#pragma once
// The client area of the main window: paints the three background layers (back stretched over the
// whole area, backleft at the top-left corner in its own size, backright at the bottom-right
// corner) and the lines that join related picture buttons, which follow the buttons when they move.

#include <QList>
#include <QPixmap>
#include <QWidget>

namespace kelvork::shell {

class PictureButton;

class MainSurface : public QWidget {
    Q_OBJECT
public:
    explicit MainSurface(QWidget* parent = nullptr);

    // Picture files of the skin; a null picture keeps the built-in layer. `title` is written on
    // the built-in top-left banner.
    void setLayers(const QPixmap& back, const QPixmap& left, const QPixmap& right, const QString& title);
    void setButtons(const QList<PictureButton*>& buttons) { buttons_ = buttons; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF rectOf(const QString& button) const;

    QPixmap back_, left_, right_;
    QList<PictureButton*> buttons_;
};

} // namespace kelvork::shell
