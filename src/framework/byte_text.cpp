#include "framework/byte_text.h"

#include <memory>

#include <QByteArray>
#include <QFile>
#include <QMimeData>

#include "base/characters.h"
#include "base/display_columns.h"

namespace bytetext {

namespace {

// The private clipboard format that carries a copied text's exact bytes.
const QString kBytesFormat = QStringLiteral("application/x-tarnwick-bytes");

} // namespace

QString ToQString(std::string_view bytes)
{
    const std::size_t ascii = text::PlainAsciiRun(bytes.data(), bytes.size());
    QString out = QString::fromLatin1(bytes.data(), qsizetype(ascii));
    if (ascii == bytes.size()) return out;
    out.reserve(qsizetype(bytes.size()));
    for (std::size_t i = ascii; i < bytes.size();) {
        const text::Character c = text::CharAt(bytes, i);
        if (c.code < 0x10000) {
            out.append(QChar(static_cast<char16_t>(c.code)));
        } else {
            out.append(QChar(QChar::highSurrogate(c.code)));
            out.append(QChar(QChar::lowSurrogate(c.code)));
        }
        i += static_cast<std::size_t>(c.length);
    }
    return out;
}

std::string FromQString(const QString& text)
{
    return text.toUtf8().toStdString();
}

std::string TypedBytes(const QString& typed)
{
    QString kept;
    kept.reserve(typed.size());
    for (const QChar c : typed)
        if (c == QLatin1Char('\t') || !text::IsControlCode(c.unicode())) kept.append(c);
    return FromQString(kept);
}

QString FileNameToQString(std::string_view name)
{
    const QByteArray bytes(name.data(), qsizetype(name.size()));
    const QString decoded = QFile::decodeName(bytes);
    return QFile::encodeName(decoded) == bytes ? decoded : ToQString(name);
}

std::string FileNameFromQString(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

QMimeData* ToMimeData(std::string_view bytes)
{
    // Owned here until it is whole: a conversion that runs out of memory
    // throws, and the half-made data goes.
    auto data = std::make_unique<QMimeData>();
    data->setText(ToQString(bytes));
    data->setData(kBytesFormat, QByteArray(bytes.data(), qsizetype(bytes.size())));
    return data.release();
}

std::string FromMimeData(const QMimeData* data)
{
    if (!data) return {};
    if (data->hasFormat(kBytesFormat)) return data->data(kBytesFormat).toStdString();
    return FromQString(data->text());
}

} // namespace bytetext
