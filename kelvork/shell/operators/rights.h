#pragma once
// The two rights strings of an operator and the logged-in operator's record.
//
// Rights string (OPinfo.Authority): one 'Y' (granted) or 'N' (refused) per function, position 1
// first; positions 1 to 16 are used, 17 to 32 exist so that 32 'Y' fill the field.
// Department-rights string (OPinfo.Deptpower): "A" + Deptid + "Z" for every permitted department,
// e.g. A1ZA3ZA12Z; the letters keep department 1 apart from department 11.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace kelvork::operators {

inline const QString kAllRights = QString(32, QLatin1Char('Y'));

// "A" + id + "Z" for each department number, in the order given.
QString deptRightsOf(const QList<int>& deptids);
// True when the department-rights string permits department `deptid`.
bool deptPermitted(const QString& deptRights, int deptid);
// The comma-separated department numbers of a department-rights string, for "Deptid in(...)":
// A1ZA3ZA12Z gives "1,3,12"; an empty or blank string gives "-1", so a filter selects nothing.
// Entries that are not numbers are left out (the list is pasted into statements).
QString permittedDeptList(const QString& deptRights);

// True unless position `position` (from 1) of `rights` holds 'N'; a position beyond the string
// counts as granted.
bool rightGranted(const QString& rights, int position);

// The logged-in operator, kept for the whole run (empty before login).
struct TCZY {
    int Opid = 0;
    QString name;
    QString password;      // plain form
    QString rights;        // up to 32 'Y'/'N'
    QString deptRights;    // "A" + Deptid + "Z" repeated
    QString deptList;      // permittedDeptList(deptRights)

    bool loggedIn = false; // set by a successful login
    // Sets the department rights and derives the permitted list from them.
    void setDeptRights(const QString& value);
};

// The record of this run.
TCZY& CZY();

// The right test of the picture buttons and rights-gated screens: true when the logged-in
// operator has position `position` (also when nobody has logged in: the program then runs without
// a login). Otherwise shows NoRight in a notice box over `parent` and returns false.
bool checkRight(QWidget* parent, int position);
// The same test without the message.
bool hasRight(int position);

// The main-window menu items each right position enables, by objectName (G1, N11 for position 1 ...).
QStringList menuItemsOfRight(int position);

// Enables the main menu of `mainWindow` from the logged-in rights string: every item of the rights
// table is enabled unless its position holds 'N'. With an empty rights string (no login took
// place) nothing is changed. Items are found by objectName among the window's actions and menus.
void applyMenuRights(QWidget* mainWindow);

} // namespace kelvork::operators
