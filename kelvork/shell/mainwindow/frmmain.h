#pragma once
// The main window Frmmain: the start-up sequence (FormCreate), the menu MainMenu1, the ten picture
// buttons with their labels, the background layers, the status bar with its clock, the
// connection dialog's steps and the shutdown.
//
// Screens of the menu are opened through openers that their modules register by item name
// (registerScreen("K1", ...)); an item without an opener is present but disabled, and its picture
// button does nothing.

#include "operator_seams.h"
#include "sys_config.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace kelvork {
class TDM;
}

namespace kelvork::shell {

class PictureButton;
class MainSurface;

class Frmmain : public QMainWindow {
    Q_OBJECT
public:
    // `dm` is the data module of the run; it outlives the window.
    explicit Frmmain(TDM& dm, QWidget* parent = nullptr);
    ~Frmmain() override;

    // Seams, set before FormCreate.
    // The operators module's seams; G1 and B1 open its screens.
    void setOperatorSeams(ui::OperatorSeams seams);
    // Start-up step 12's parameter load (and after a new connection).
    void setParameterLoader(std::function<void()> load) { loadParameters_ = std::move(load); }
    // Called before a connection change while connected, with the new database file path (the
    // operation-log entry goes into the database being left).
    void setConnectionChangeLogger(std::function<void(const QString& newPath)> log) { logConnectionChange_ = std::move(log); }
    // Makes menu item `itemName` (and its picture button) open a screen.
    void registerScreen(const QString& itemName, std::function<void(QWidget* parent)> open);

    // The start-up steps of the main window. False when the program must end (the login was
    // cancelled or failed); a failed connection is not an end: the window opens unconnected.
    bool FormCreate();

    bool isConnected() const { return connected_; }
    const QString& connectionString() const { return connectionString_; }
    const config::SysConfig& sysConfig() const { return config_; }
    QString panelText(int panel) const;

    // The connection dialog's steps after the operator built `newConnection`: nothing when it is
    // the current one; else write DBConnection, reconnect, upgrade, enable the menu, reload the
    // parameters (no login), or show LinkDBError.
    void changeConnection(const QString& newConnection);

    // Applies the operator's rights to the menu; items without a screen stay disabled.
    void applyMenuRights();

    // Lays the picture-button group out for the window's current outer size.
    void layoutButtons();

    PictureButton* pictureButton(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildButtons();
    void buildStatusBar();
    bool openConnection();
    void FormShow();
    void loadPictures();
    void Timer1Timer();
    void L1Click();
    void A1Click();
    void runItem(const QString& itemName);
    void pictureButtonClick(const QString& buttonName);
    void updateFileDatabaseItems();
    QAction* item(const QString& name) const;

    TDM& dm_;
    ui::OperatorSeams seams_;
    std::function<void()> loadParameters_;
    std::function<void(const QString&)> logConnectionChange_;
    QHash<QString, std::function<void(QWidget*)>> screens_;
    QHash<QString, QAction*> items_;

    config::SysConfig config_;
    QString connectionString_;
    bool connected_ = false;
    bool created_ = false;
    bool shown_ = false;
    QString baseCaption_;

    MainSurface* surface_ = nullptr;
    QLabel* Image1 = nullptr;
    QList<PictureButton*> buttons_;
    QList<QLabel*> labels_;
    QLabel* panels_[4] = {};
    QTimer* Timer1 = nullptr;
};

} // namespace kelvork::shell
