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

// The caption label under each button (Frmmain places it 80 pixels below the button's top).
constexpr qreal kLabelHeight = 24;

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

QRectF MainSurface::rectOf(const QString& button) const
{
    for (const PictureButton* b : buttons_)
        if (b->objectName() == button)
            return QRectF(b->geometry());
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
        const QRectF ra = rectOf(QString::fromLatin1(link[0]));
        const QRectF rb = rectOf(QString::fromLatin1(link[1]));
        if (ra.isNull() || rb.isNull())
            continue;
        const QPointF a = ra.center();
        const QPointF b = rb.center();
        QPainterPath path;
        if (qAbs(a.x() - b.x()) < 8) {
            // A vertical link starts below the upper button's label, so it never crosses a text,
            // and ends under the lower button's tile.
            const QRectF& upper = a.y() < b.y() ? ra : rb;
            const QRectF& lower = a.y() < b.y() ? rb : ra;
            const qreal x = (a.x() + b.x()) / 2;
            path.moveTo(x, upper.bottom() + kLabelHeight + 4);
            path.lineTo(x, lower.top() + 12);
        } else if (qAbs(a.y() - b.y()) < 8) {
            path.moveTo(a);
            path.lineTo(b.x(), a.y());
        } else {
            path.moveTo(a);   // an elbow: across first, then down or up
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
