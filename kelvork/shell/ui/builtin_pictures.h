#pragma once
// The program's own pictures, drawn at run time: the ten picture buttons of the main window, its
// three background layers, the login picture and the about picture. A picture file of the same
// role in the program folder (pngbmp/...) replaces the built-in one where it exists.

#include <QColor>
#include <QPixmap>
#include <QString>

namespace kelvork::ui {

// The picture of main-window button `buttonName` ("PNG_User" ... "PNG_Close"), 80 x 79, in state
// 1 normal, 2 hot (mouse over) or 3 pressed. An unknown name gets a plain tile.
QPixmap buttonPicture(const QString& buttonName, int state);

// The accent colour of a button, also used for the lines that join related buttons.
QColor buttonAccent(const QString& buttonName);

// Background layers: back (stretched over the whole window), backleft (top-left banner showing
// `title`), backright (bottom-right ornament).
QPixmap backPicture();
QPixmap backLeftPicture(const QString& title);
QPixmap backRightPicture();

// The login dialog's picture, 384 x 227. The drawing keeps the area x 150..372, y 62..215 calm
// for the name and password fields and the two buttons; `title` is written at the top.
QPixmap loginPicture(const QString& title);

// The about box picture, 400 x 215, with `title` and `version`.
QPixmap aboutPicture(const QString& title, const QString& version);

// The window icon: a fingerprint on a blue tile.
QPixmap programIcon(int size = 64);

} // namespace kelvork::ui
