#pragma once
// What the main window asks of the operators module (login, rights, operator screens), as plain
// functions, so that the main window and the operators module do not include each other. The
// program entry fills the seams from the operators module; every member may be empty, in which
// case the main window goes on without it (no login, every right granted, no operator name).

#include <QString>

#include <functional>

class QWidget;

namespace kelvork::ui {

struct OperatorSeams {
    // Start-up step 10: the built-in operator Admin is made or given all rights again.
    std::function<void()> bootstrap;
    // Start-up step 11: the login dialog. False when the program must end (cancelled, or the third
    // wrong password).
    std::function<bool(QWidget* mainWindow)> login;
    // After login and after a new connection: enables the items of MainMenu1 (found by objectName)
    // from the logged-in operator's rights.
    std::function<void(QWidget* mainWindow)> applyMenuRights;
    // The right at `position` (1..32) of the logged-in operator; the picture buttons ask it.
    std::function<bool(int position)> hasRight;
    // The logged-in operator's name (status panel 1), empty before login.
    std::function<QString()> operatorName;
    // Menu G1 (operator screen) and B1 (password change).
    std::function<void(QWidget* mainWindow)> openOperators;
    std::function<void(QWidget* mainWindow)> openPassword;
};

} // namespace kelvork::ui
