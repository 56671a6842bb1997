#include "framework/byte_text.h"

namespace bytetext {

QString ToQString(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

char FromQChar(QChar c)
{
    const char16_t u = c.unicode();
    return u <= 0xFF ? static_cast<char>(static_cast<unsigned char>(u)) : '?';
}

std::string FromQString(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character: one '?'.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        bytes.push_back(FromQChar(text[i]));
    }
    return bytes;
}

} // namespace bytetext
