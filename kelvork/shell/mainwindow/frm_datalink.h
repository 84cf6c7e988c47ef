#pragma once
// The database-connection dialog (menu L1): either a database file (SQLite), chosen with a file
// dialog or typed, or a database server (PostgreSQL: host, port, database, user, password). It
// returns a connection string in the form the configuration keeps.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kelvork::shell {

class TFrmDataLink : public QDialog {
    Q_OBJECT
public:
    // Preset from `current` (an unreadable string presets an empty file choice).
    explicit TFrmDataLink(const QString& current, QWidget* parent = nullptr);

    // The connection string the controls describe now.
    QString connectionString() const;

    // Shows the dialog modally: the string the operator built on OK, `current` on Cancel.
    static QString getConnectionString(QWidget* parent, const QString& current);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void R_FileToggled();
    void S_BrowseClick();
    void S_OKClick();

    QRadioButton* R_File;
    QRadioButton* R_Server;
    QLineEdit* E_File;
    QPushButton* S_Browse;
    QLineEdit* E_Host;
    QSpinBox* E_Port;
    QLineEdit* E_Database;
    QLineEdit* E_User;
    QLineEdit* E_Password;
    QPushButton* S_OK;
    QPushButton* S_Exit;
};

} // namespace kelvork::shell
