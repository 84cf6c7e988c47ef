#pragma once
// Applies the language file's texts to a screen: the one helper every screen calls when it is
// shown, so that a screen gets its texts by naming its controls (Qt objectName) as the language
// file's keys name them. The current text of each control is the default, so a language file may
// omit any key and a text set by code before the call becomes that key's default.

#include <QString>

class QWidget;

namespace kelvork::texts {

// Sets, in this order:
// - the screen's font family and size from screenFont();
// - the caption from key screen->objectName() + ".Caption";
// - for every named label, button (push, tool, check, radio), group box and tab page below the
//   screen: name + ".Caption"; for every named widget: name + ".Hint" as its tool tip;
// - for every named action: name + ".Caption" and name + ".Hint"; the toolbar actions T_Insert,
//   T_Del, T_Edit, T_Save and T_Cancel take their captions from section "FrmUser";
// - for every named menu: name + ".Caption" as its title;
// - for every named list or combo box: name + ".Items.Text", one item per line, renaming the
//   items in order (items beyond the text keep theirs, extra lines are appended);
// - for every named table or tree view: each column's name + ".Caption" as its header text;
//   the column names are the view's property "columnNames" (a QStringList, one per model
//   column) or else the view's name + "Column" + (column number from 1).
// Widgets whose property "kelvorkNoTexts" is true are left alone (lists filled from the database).
// Every key is looked up in `section`.
void applyToScreen(QWidget* screen, const QString& section);

// The property names above, for screens that set them.
inline constexpr char kNoTextsProperty[] = "kelvorkNoTexts";
inline constexpr char kColumnNamesProperty[] = "columnNames";

} // namespace kelvork::texts
