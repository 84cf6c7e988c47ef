#include "main_surface.h"

#include "builtin_pictures.h"
#include "picture_button.h"

#include <QPainter>
#include <QPainterPath>

namespace kelvork::shell {
namespace {

// The flow of the daily work: people and shifts, then records and reports, corrections feeding
// the records, and the maintenance group on the right.
const char* const kLinks[][2] = {
    {"PNG_User", "PNG_Class"},      {"PNG_Class", "PNG_UClass"},  {"PNG_UClass", "PNG_Record"},
    {"PNG_Record", "PNG_Report"},   {"PNG_NoIn", "PNG_Free"},     {"PNG_Free", "PNG_Record"},
    {"PNG_Report", "PNG_ClearData"}, {"PNG_ClearData", "PNG_ShrinkData"},
    {"PNG_ShrinkData", "PNG_Close"},
};

} // namespace

MainSurface::MainSurface(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setLayers({}, {}, {}, QString());
}

void MainSurface::setLayers(const QPixmap& back, const QPixmap& left, const QPixmap& right, const QString& title)
{
    back_ = back.isNull() ? ui::backPicture() : back;
    left_ = left.isNull() ? ui::backLeftPicture(title) : left;
    right_ = right.isNull() ? ui::backRightPicture() : right;
    update();
}

QPointF MainSurface::centreOf(const QString& button) const
{
    for (const PictureButton* b : buttons_)
        if (b->objectName() == button)
            return QRectF(b->geometry()).center();
    return {};
}

void MainSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), back_);
    p.drawPixmap(width() - right_.width(), height() - right_.height(), right_);
    p.drawPixmap(0, 0, left_);

    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& link : kLinks) {
        const QPointF a = centreOf(QString::fromLatin1(link[0]));
        const QPointF b = centreOf(QString::fromLatin1(link[1]));
        if (a.isNull() || b.isNull())
            continue;
        // An elbow line: along the longer direction first, so joins stay tidy.
        QPainterPath path(a);
        if (qAbs(a.x() - b.x()) < 8 || qAbs(a.y() - b.y()) < 8) {
            path.lineTo(b);
        } else {
            path.lineTo(b.x(), a.y());
            path.lineTo(b);
        }
        p.setPen(QPen(QColor(0xff, 0xff, 0xff, 200), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        QColor c = ui::buttonAccent(QString::fromLatin1(link[1]));
        c.setAlpha(110);
        p.setPen(QPen(c, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
}

} // namespace kelvork::shell
