#include "picture_button.h"

#include <QPainter>

namespace kelvork::shell {

PictureButton::PictureButton(const QString& name, QWidget* parent)
    : QAbstractButton(parent)
{
    setObjectName(name);
    setFixedSize(80, 79);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setPicture(int state, const QPixmap& picture)
{
    if (state >= 1 && state <= 3)
        pictures_[state - 1] = picture;
    update();
}

QPixmap PictureButton::picture(int state) const
{
    return state >= 1 && state <= 3 ? pictures_[state - 1] : QPixmap();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    const int state = isDown() ? 3 : (hot_ ? 2 : 1);
    QPixmap pm = pictures_[state - 1].isNull() ? pictures_[0] : pictures_[state - 1];
    if (pm.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), pm);
}

void PictureButton::enterEvent(QEnterEvent* event)
{
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event)
{
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace kelvork::shell
