// Bytes and Qt's strings: UTF-8 both ways, every other byte shown as its
// ISO 8859-1 character, and copied text coming back byte for byte.
#include "framework/byte_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include <memory>

TEST(ByteText, BytesShowAsUtf8AndEveryOtherByteAsLatin1)
{
    const struct {
        std::string bytes;
        QString shown;
    } table[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9", QString::fromUtf8("caf\xC3\xA9")},
        {"\xE2\x82\xAC" "uro", QString::fromUtf8("\xE2\x82\xAC" "uro")},
        {"\xF0\x9F\x98\x80", QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"caf\xE9", QString("caf") + QChar(0xE9)},
        {"\xC0\xAF", QString(QChar(0xC0)) + QChar(0xAF)},
        {"\xE2\x82", QString(QChar(0xE2)) + QChar(0x82)},
        {std::string("a\0b", 3), QString("a") + QChar(0) + "b"},
    };
    for (const auto& row : table) EXPECT_EQ(bytetext::ToQString(row.bytes), row.shown) << row.bytes;
    // What is typed or entered is stored as UTF-8.
    EXPECT_EQ(bytetext::FromQString(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80")),
              "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    // Valid UTF-8 goes there and back unchanged.
    const std::string valid = "\xE4\xB8\xAD\xE6\x96\x87 na\xC3\xAFve \xF0\x9F\x98\x80";
    EXPECT_EQ(bytetext::FromQString(bytetext::ToQString(valid)), valid);
}

TEST(ByteText, TypedTextKeepsTabsAndDropsControls)
{
    EXPECT_EQ(bytetext::TypedBytes(QString::fromUtf8("\xC3\xA9\t\x01x\r")), "\xC3\xA9\tx");
    EXPECT_EQ(bytetext::TypedBytes(QString::fromUtf8("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
}

TEST(ByteText, FileNamesInTheFileSystemsEncoding)
{
    const std::string name = "/tmp/r\xC3\xA9sum\xC3\xA9/\xE6\x96\x87.txt";
    EXPECT_EQ(bytetext::FileNameToQString(name), QString::fromUtf8(name.c_str()));
    EXPECT_EQ(bytetext::FileNameFromQString(bytetext::FileNameToQString(name)), name);
    // A name the encoding cannot read still shows each byte.
    EXPECT_EQ(bytetext::FileNameToQString("caf\xE9"), QString("caf") + QChar(0xE9));
}

TEST(ByteText, CopiedTextPastesBackByteForByteAndReadsAsUtf8Elsewhere)
{
    const std::string bytes = "Latin-1 caf\xE9, UTF-8 caf\xC3\xA9, broken \xE2\x82\r\n";
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(bytetext::ToMimeData(bytes));
    // Other programs read the text as shown.
    EXPECT_EQ(clipboard->text(), bytetext::ToQString(bytes));
    EXPECT_EQ(bytetext::FromMimeData(clipboard->mimeData()), bytes);

    // Text from another program is taken as UTF-8.
    clipboard->setText(QString::fromUtf8("\xE2\x82\xAC" "uro"));
    EXPECT_EQ(bytetext::FromMimeData(clipboard->mimeData()), "\xE2\x82\xAC" "uro");
    EXPECT_EQ(bytetext::FromMimeData(nullptr), "");
}
