#include "frm_process.h"

#include "texts.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kelvork::ui {

TFrmProcess::TFrmProcess(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , N_Process(new QLabel(this))
    , G_Process(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FrmProcess"));
    N_Process->setObjectName(QStringLiteral("N_Process"));
    G_Process->setObjectName(QStringLiteral("G_Process"));
    setFixedSize(478, 61);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x80));   // the light yellow 8454143
    setPalette(p);
    N_Process->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    G_Process->setTextVisible(false);
    G_Process->setFixedHeight(12);
    G_Process->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(4);
    layout->addWidget(N_Process);
    layout->addWidget(G_Process);
}

void TFrmProcess::setText(const QString& text)
{
    N_Process->setText(text);
    N_Process->repaint();
}

QString TFrmProcess::text() const { return N_Process->text(); }

void TFrmProcess::showEvent(QShowEvent* event)
{
    QFont f = texts::screenFont();
    setFont(f);
    f.setBold(true);
    N_Process->setFont(f);
    QDialog::showEvent(event);
}

} // namespace kelvork::ui
