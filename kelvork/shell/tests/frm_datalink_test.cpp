// The connection dialog: preset from the current string, the string it builds for a file or a
// server, and the refusal of an empty choice.
#include "connection_string.h"
#include "frm_datalink.h"
#include "message_box.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using kelvork::shell::TFrmDataLink;

TEST(FrmDataLink, PresetsAndBuildsServerAndFileStrings)
{
    TFrmDataLink d("Provider=PostgreSQL;Host=db1;Port=5433;Database=att;User ID=clerk;Password=\"p;w'%\\\"");
    EXPECT_TRUE(d.findChild<QRadioButton*>("R_Server")->isChecked());
    EXPECT_EQ(d.findChild<QLineEdit*>("E_Host")->text(), "db1");
    EXPECT_EQ(d.findChild<QSpinBox*>("E_Port")->value(), 5433);
    EXPECT_FALSE(d.findChild<QLineEdit*>("E_File")->isEnabled());
    d.findChild<QLineEdit*>("E_Password")->setText("new;pass'%\\");
    const kelvork::ConnectionSettings s = kelvork::parseConnectionString(d.connectionString());
    EXPECT_EQ(s.engine, kelvork::Engine::PostgreSQL);
    EXPECT_EQ(s.database, "att");
    EXPECT_EQ(s.user, "clerk");
    EXPECT_EQ(s.password, "new;pass'%\\") << "the password reaches the string unchanged";

    d.findChild<QRadioButton*>("R_File")->setChecked(true);
    EXPECT_TRUE(d.findChild<QLineEdit*>("E_File")->isEnabled());
    d.findChild<QLineEdit*>("E_File")->setText("/srv/att/Rud 2003;x.db");
    EXPECT_EQ(kelvork::databaseFilePath(d.connectionString()), "/srv/att/Rud 2003;x.db");
}

TEST(FrmDataLink, EmptyChoiceIsRefusedAndTheDialogStays)
{
    TFrmDataLink d("garbage");
    EXPECT_TRUE(d.findChild<QRadioButton*>("R_File")->isChecked());
    EXPECT_TRUE(d.findChild<QLineEdit*>("E_File")->text().isEmpty());
    QStringList warnings;
    kelvork::ui::ScopedMessageBoxHook hook([&](kelvork::ui::MessageKind, const QString&, const QString& t) {
        warnings << t;
        return true;
    });
    d.show();
    d.findChild<QPushButton*>("S_OK")->click();
    EXPECT_EQ(warnings, QStringList{QStringLiteral("请选择数据库文件或填写数据库名称！")});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.result(), 0);
    d.findChild<QLineEdit*>("E_File")->setText("/tmp/x.db");
    d.findChild<QPushButton*>("S_OK")->click();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
}
