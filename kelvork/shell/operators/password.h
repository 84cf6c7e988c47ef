#pragma once
// How operator passwords are stored in OPinfo.Pwd. Every stored password was written by this
// scrambling, so it must stay exactly as it is: the keys and constants below are part of the files.
//
// Scrambling: key <- 8273; for each byte b: c <- b xor (key >> 8); key <- ((c + key) * 31589 + 52943)
// mod 65536; each c is written as 'A' + c div 26 and 'A' + c mod 26. Two capitals per byte, the
// first of each pair between A and J; an empty password gives an empty text.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace kelvork::operators {

// The byte-level scrambling and its inverse. Unscrambling reads the text in pairs of letters, keeps
// each pair's value as a byte (so any text unscrambles to something) and ignores a last unpaired letter.
std::string scrambleBytes(std::string_view plain);
std::string unscrambleBytes(std::string_view scrambled);

// A password as the operator types it, turned into bytes in the interface's code page (GB18030,
// which reads plain ASCII as itself and Simplified Chinese as the code page GBK does), scrambled.
QString scramblePassword(const QString& password);
// The stored form back to the password text.
QString unscramblePassword(const QString& stored);

// The password a new operator of the operator screen receives.
inline const QString kDefaultOperatorPassword = QStringLiteral("517306");

} // namespace kelvork::operators
