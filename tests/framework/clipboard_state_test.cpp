// The clipboard's "holds text" answer follows every change of the clipboard,
// though it is kept between changes.
#include "framework/clipboard_state.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(ClipboardState, FollowsEveryChangeOfTheClipboard)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("some text");
    EXPECT_TRUE(fw::ClipboardHasText());
    EXPECT_TRUE(fw::ClipboardHasText());

    clipboard->clear();
    EXPECT_FALSE(fw::ClipboardHasText());

    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard->setMimeData(picture);
    EXPECT_FALSE(fw::ClipboardHasText());

    clipboard->setText(QString());  // an empty text is still text
    EXPECT_EQ(fw::ClipboardHasText(), clipboard->mimeData()->hasText());
    clipboard->setText("again");
    EXPECT_TRUE(fw::ClipboardHasText());
}
