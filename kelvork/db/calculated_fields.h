#pragma once
// The display texts that the shared datasets compute from codes. Texts come from the language file
// through a lookup the shell installs (setTextLookup); until then the built-in texts are used.

#include <QString>
#include <QVariant>

#include <functional>

namespace kelvork {

// (section, key, default) -> the text to show. The calculated fields ask section "Resource".
using TextLookup = std::function<QString(const QString& section, const QString& key, const QString& defaultText)>;

// Installs the lookup (an empty function restores the built-in texts). Not thread-safe: call at
// start-up and when the language changes.
void setTextLookup(TextLookup lookup);
// The text of `key` in `section` through the installed lookup, else `defaultText`.
QString lookupText(const QString& section, const QString& key, const QString& defaultText);

// Punch type text of the record list: I, O, i, o, 0, 1 -> CheckType1..6; any other code is shown
// as it stands. Case-sensitive.
QString recordTypename(const QString& checktype);
// The same mapping for the edit-log list, where any other code shows nothing.
QString editLogTypename(const QString& checktype);
// Kind of change of an edit-log row: 1, 2, 3 -> RecordEditType1..3; anything else empty.
QString edittypeName(const QVariant& opFlag);
// Cycle unit: 0, 1, 2 -> Unit1..3 (day, week, month); anything else empty.
QString unitsName(const QVariant& units);
// The text of a business trip (LeaveClassid 0): key Beaway.
QString businessTripName();
// The employee number as an integer for numeric ordering; a null QVariant when the number is
// empty or not a whole number (A12), never an error.
QVariant useridInt(const QString& userid);

} // namespace kelvork
