// The input dialog and the modeless find / replace dialog, driven by keys
// and clicks as a user would.
#include "framework/byte_text.h"
#include "framework/find_replace_dialog.h"
#include "framework/input_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the next modal dialog from inside its event loop.
void WhenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

TEST(InputDialog, OkReturnsTheTypedTextAndCancelReturnsNothing)
{
    WhenModal([](QWidget* w) {
        auto* d = qobject_cast<InputDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Go to line");
        EXPECT_EQ(d->field()->text(), "7");
        d->field()->clear();
        QTest::keyClicks(d->field(), "42");
        QTest::keyClick(d->field(), Qt::Key_Return);
    });
    EXPECT_EQ(InputDialog::Ask(nullptr, "Go to line", "Enter line number (1 - 9):", "7", 128), QString("42"));

    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(InputDialog::Ask(nullptr, "Go to line", "prompt", "", 128).has_value());
}

TEST(InputDialog, FieldHoldsAtMostTheGivenLength)
{
    InputDialog d(nullptr, "t", "p", "", 4);
    QTest::keyClicks(d.field(), "123456");
    EXPECT_EQ(d.text(), "1234");
}

TEST(FindReplaceDialog, ShowsTheRecordAndReportsEachButtonWithItsFlag)
{
    FindReplaceData data;
    data.flags = findflags::kMatchCase | findflags::kWholeWord;  // up
    data.findWhat = "abc";
    data.replaceWith = "xyz";
    FindReplaceDialog d(nullptr, FindReplaceDialog::Kind::Replace, data);
    EXPECT_EQ(d.findField()->text(), "abc");
    EXPECT_EQ(d.replaceField()->text(), "xyz");
    EXPECT_TRUE(d.matchCaseBox()->isChecked());
    EXPECT_TRUE(d.wholeWordBox()->isChecked());

    QSignalSpy spy(&d, &FindReplaceDialog::notified);
    QTest::mouseClick(d.findNextButton(), Qt::LeftButton);
    QTest::mouseClick(d.replaceButton(), Qt::LeftButton);
    d.matchCaseBox()->setChecked(false);
    QTest::mouseClick(d.replaceAllButton(), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 3);
    const auto flags = [&](int i) { return spy.at(i).at(0).value<FindReplaceData>().flags; };
    EXPECT_EQ(flags(0), findflags::kFindNext | findflags::kMatchCase | findflags::kWholeWord);
    EXPECT_EQ(flags(1), findflags::kReplace | findflags::kMatchCase | findflags::kWholeWord);
    EXPECT_EQ(flags(2), findflags::kReplaceAll | findflags::kWholeWord);
    EXPECT_EQ(spy.at(2).at(0).value<FindReplaceData>().replaceWith, "xyz");
}

TEST(FindReplaceDialog, DirectionAndTerminationOnce)
{
    FindReplaceData data;
    data.findWhat = "a";
    FindReplaceDialog d(nullptr, FindReplaceDialog::Kind::Find, data);
    EXPECT_EQ(d.replaceField(), nullptr);
    EXPECT_TRUE(d.downButton()->isChecked());
    d.upButton()->setChecked(true);
    EXPECT_EQ(d.data().flags & findflags::kDown, 0u);

    QSignalSpy spy(&d, &FindReplaceDialog::notified);
    d.show();
    d.close();
    d.close();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<FindReplaceData>().flags & findflags::kTerminating, findflags::kTerminating);
}

TEST(FindReplaceDialog, NothingToFindDisablesTheButtons)
{
    FindReplaceDialog d(nullptr, FindReplaceDialog::Kind::Replace, FindReplaceData{});
    EXPECT_FALSE(d.findNextButton()->isEnabled());
    EXPECT_FALSE(d.replaceAllButton()->isEnabled());
    QTest::keyClicks(d.findField(), "q");
    EXPECT_TRUE(d.findNextButton()->isEnabled());
}

TEST(FindReplaceDialog, FindAndReplaceTextsAreUtf8)
{
    FindReplaceData data;
    data.findWhat = "caf\xC3\xA9";
    data.replaceWith = "caf\xE9";  // a Latin-1 byte shows as its character
    FindReplaceDialog d(nullptr, FindReplaceDialog::Kind::Replace, data);
    EXPECT_EQ(d.findField()->text(), QString::fromUtf8("caf\xC3\xA9"));
    d.findField()->setText(QString::fromUtf8("\xE2\x82\xAC\xF0\x9F\x98\x80x"));
    EXPECT_EQ(d.data().findWhat, "\xE2\x82\xAC\xF0\x9F\x98\x80x");
}

} // namespace
