#pragma once
// The one place where the program's byte texts meet Qt's strings. Bytes are
// read as UTF-8 (base/characters.h): a valid sequence becomes its character,
// any other byte the ISO 8859-1 character of its value, so every text shows
// readably and nothing is dropped. Text going the other way (typed, pasted,
// entered in a field) is stored as UTF-8.

#include <QString>

#include <string>
#include <string_view>

class QMimeData;

namespace bytetext {

QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text);

// Typed characters as bytes: control characters other than the tab are
// left out.
std::string TypedBytes(const QString& typed);

// File names in the file system's encoding (QFile::encodeName); a name
// whose bytes that encoding cannot read shows them as ToQString does.
QString FileNameToQString(std::string_view name);
std::string FileNameFromQString(const QString& name);

// Clipboard contents for a copied text: the text for every other program,
// and the exact bytes for this one, so that a text that is not valid UTF-8
// pastes back byte for byte. The caller owns the result until it hands it
// to the clipboard.
QMimeData* ToMimeData(std::string_view bytes);
// What a paste inserts: the exact bytes when this program copied them,
// otherwise the text as UTF-8. Empty for no data.
std::string FromMimeData(const QMimeData* data);

} // namespace bytetext
