#pragma once
// The one place where the program's byte texts meet Qt's strings. One byte
// is one character cell, shown as ISO 8859-1; a character typed or pasted
// that has no byte there becomes '?'.

#include <QString>

#include <string>
#include <string_view>

namespace bytetext {

QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text);
// The character cell of one byte.
inline QChar ToQChar(char byte) { return QChar(static_cast<unsigned char>(byte)); }
// The byte for one typed character ('?' when it has none).
char FromQChar(QChar c);

} // namespace bytetext
