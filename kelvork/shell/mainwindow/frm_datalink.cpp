#include "frm_datalink.h"

#include "apply_texts.h"
#include "connection_string.h"
#include "message_box.h"
#include "texts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelvork::shell {
namespace {

QLabel* namedLabel(const char* name, const char* text, QWidget* parent)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TFrmDataLink::TFrmDataLink(const QString& current, QWidget* parent)
    : QDialog(parent)
    , R_File(new QRadioButton(QStringLiteral("数据库文件(&F)"), this))
    , R_Server(new QRadioButton(QStringLiteral("数据库服务器(&S)"), this))
    , E_File(new QLineEdit(this))
    , S_Browse(new QPushButton(QStringLiteral("浏览(&B)..."), this))
    , E_Host(new QLineEdit(this))
    , E_Port(new QSpinBox(this))
    , E_Database(new QLineEdit(this))
    , E_User(new QLineEdit(this))
    , E_Password(new QLineEdit(this))
    , S_OK(new QPushButton(QStringLiteral("确定(&O)"), this))
    , S_Exit(new QPushButton(QStringLiteral("取消(&C)"), this))
{
    setObjectName(QStringLiteral("FrmDataLink"));
    setWindowTitle(QStringLiteral("设置数据库连接"));
    R_File->setObjectName(QStringLiteral("R_File"));
    R_Server->setObjectName(QStringLiteral("R_Server"));
    E_File->setObjectName(QStringLiteral("E_File"));
    S_Browse->setObjectName(QStringLiteral("S_Browse"));
    E_Host->setObjectName(QStringLiteral("E_Host"));
    E_Port->setObjectName(QStringLiteral("E_Port"));
    E_Database->setObjectName(QStringLiteral("E_Database"));
    E_User->setObjectName(QStringLiteral("E_User"));
    E_Password->setObjectName(QStringLiteral("E_Password"));
    S_OK->setObjectName(QStringLiteral("S_OK"));
    S_Exit->setObjectName(QStringLiteral("S_Exit"));
    E_Port->setRange(1, 65535);
    E_Port->setValue(5432);
    E_Password->setEchoMode(QLineEdit::Password);
    S_OK->setDefault(true);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(namedLabel("L_File", "文件:", this));
    fileRow->addWidget(E_File, 1);
    fileRow->addWidget(S_Browse);
    auto* server = new QFormLayout;
    server->addRow(namedLabel("L_Host", "服务器:", this), E_Host);
    server->addRow(namedLabel("L_Port", "端口:", this), E_Port);
    server->addRow(namedLabel("L_Database", "数据库:", this), E_Database);
    server->addRow(namedLabel("L_User", "用户名:", this), E_User);
    server->addRow(namedLabel("L_Password", "密码:", this), E_Password);
    auto* serverIndent = new QHBoxLayout;
    serverIndent->addSpacing(22);
    serverIndent->addLayout(server, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(S_OK);
    buttons->addWidget(S_Exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(R_File);
    auto* fileIndent = new QHBoxLayout;
    fileIndent->addSpacing(22);
    fileIndent->addLayout(fileRow, 1);
    layout->addLayout(fileIndent);
    layout->addSpacing(8);
    layout->addWidget(R_Server);
    layout->addLayout(serverIndent);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    const ConnectionSettings s = parseConnectionString(current);
    if (s.engine == Engine::PostgreSQL) {
        R_Server->setChecked(true);
        E_Host->setText(s.host);
        E_Port->setValue(s.port);
        E_Database->setText(s.database);
        E_User->setText(s.user);
        E_Password->setText(s.password);
    } else {
        R_File->setChecked(true);
        E_File->setText(s.filePath);
    }
    connect(R_File, &QRadioButton::toggled, this, &TFrmDataLink::R_FileToggled);
    connect(S_Browse, &QPushButton::clicked, this, &TFrmDataLink::S_BrowseClick);
    connect(S_OK, &QPushButton::clicked, this, &TFrmDataLink::S_OKClick);
    connect(S_Exit, &QPushButton::clicked, this, &QDialog::reject);
    R_FileToggled();
}

void TFrmDataLink::showEvent(QShowEvent* event)
{
    texts::applyToScreen(this, QStringLiteral("FrmDataLink"));
    QDialog::showEvent(event);
}

void TFrmDataLink::R_FileToggled()
{
    const bool file = R_File->isChecked();
    E_File->setEnabled(file);
    S_Browse->setEnabled(file);
    for (QWidget* w : {static_cast<QWidget*>(E_Host), static_cast<QWidget*>(E_Port),
                       static_cast<QWidget*>(E_Database), static_cast<QWidget*>(E_User),
                       static_cast<QWidget*>(E_Password)})
        w->setEnabled(!file);
}

void TFrmDataLink::S_BrowseClick()
{
    const QString start = E_File->text().isEmpty() ? QString() : QFileInfo(E_File->text()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, windowTitle(), start,
        texts::lookup("FrmDataLink", "OpenDialog.Filter", "数据库文件 (*.db *.sqlite);;所有文件 (*)"),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        E_File->setText(path);
}

QString TFrmDataLink::connectionString() const
{
    ConnectionSettings s;
    if (R_File->isChecked()) {
        s.engine = Engine::SQLite;
        s.filePath = E_File->text().trimmed();
        if (!s.filePath.isEmpty())
            s.filePath = QFileInfo(s.filePath).absoluteFilePath();
    } else {
        s.engine = Engine::PostgreSQL;
        s.host = E_Host->text().trimmed();
        s.port = E_Port->value();
        s.database = E_Database->text().trimmed();
        s.user = E_User->text().trimmed();
        s.password = E_Password->text();
    }
    return buildConnectionString(s);
}

void TFrmDataLink::S_OKClick()
{
    const bool incomplete = R_File->isChecked() ? E_File->text().trimmed().isEmpty()
                                                : E_Database->text().trimmed().isEmpty();
    if (incomplete) {
        ui::showWarning(this, texts::resource("DataLinkIncomplete", "请选择数据库文件或填写数据库名称！"));
        (R_File->isChecked() ? E_File : E_Database)->setFocus();
        return;
    }
    accept();
}

QString TFrmDataLink::getConnectionString(QWidget* parent, const QString& current)
{
    TFrmDataLink dialog(current, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.connectionString() : current;
}

} // namespace kelvork::shell
