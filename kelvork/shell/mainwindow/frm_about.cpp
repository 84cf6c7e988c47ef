#include "frm_about.h"

#include "apply_texts.h"
#include "builtin_pictures.h"
#include "sys_config.h"
#include "texts.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>

namespace kelvork::shell {

TFrmAbout::TFrmAbout(QWidget* parent)
    : QDialog(parent)
    , Image1(new QLabel(this))
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(400, 215);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 400, 215);
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
}

void TFrmAbout::showEvent(QShowEvent* event)
{
    texts::applyToScreen(this, QStringLiteral("FrmAbout"));
    const QString file = config::programFolder() + QStringLiteral("pngbmp/about.jpg");
    QPixmap picture = QFileInfo::exists(file) ? QPixmap(file) : QPixmap();
    if (picture.isNull())
        picture = ui::aboutPicture(texts::lookup("System", "Application.Title", "指纹考勤管理系统"),
                                   QStringLiteral("V4.4.5"));
    Image1->setPixmap(picture);
    QDialog::showEvent(event);
}

bool TFrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelvork::shell
