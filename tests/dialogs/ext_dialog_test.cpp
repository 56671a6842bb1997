// The File Extensions dialog: its two coupled lists, typing, Delete, and
// what OK, Return and Cancel write.
#include "dialog_fixture.h"

#include "dialogs/ext_dialog.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"
#include "settings/profile.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class ExtDialogTest : public DialogTest {
protected:
    ExtDialogTest()
        : DialogTest("[Extensions]\nCount=3\nSelected=0\next_1=Text Files,TXT\next_2=All Files,*\n"
                     "ext_3=C Sources,c\n")
    {
    }
    std::vector<QString> Items(QComboBox* box)
    {
        std::vector<QString> items;
        for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i));
        return items;
    }
    int StoredInt(const char* key) { return profile::ReadInt("Extensions", key, -99, ini.path()); }
    void Type(QComboBox* box, const QString& text)
    {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    }
};

TEST_F(ExtDialogTest, ListsHoldTheEntriesInOrderWithTheSelectedOneShown)
{
    ExtDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "File Extensions");
    EXPECT_EQ(Items(dialog.ExtensionBox()), (std::vector<QString>{"TXT", "*", "c"}));
    EXPECT_EQ(Items(dialog.DescriptionBox()), (std::vector<QString>{"Text Files", "All Files", "C Sources"}));
    EXPECT_EQ(dialog.ExtensionBox()->currentText(), "TXT");
    EXPECT_EQ(dialog.DescriptionBox()->currentText(), "Text Files");
}

TEST_F(ExtDialogTest, ChoosingInEitherListChoosesTheSameEntryInTheOther)
{
    ExtDialog dialog(nullptr);
    dialog.DescriptionBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.ExtensionBox()->currentIndex(), 2);
    dialog.ExtensionBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.DescriptionBox()->currentText(), "All Files");
}

TEST_F(ExtDialogTest, ATypedNewEntryIsAddedOnOkAndBecomesPreferred)
{
    ExtDialog dialog(nullptr);
    Type(dialog.ExtensionBox(), "log");
    Type(dialog.DescriptionBox(), "Log Files");
    EXPECT_EQ(dialog.ExtensionBox()->count(), 3);  // typing adds no item by itself
    EXPECT_EQ(dialog.DescriptionBox()->count(), 3);
    QTest::mouseClick(Control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(StoredInt("Count"), 4);
    EXPECT_EQ(Stored("Extensions", "ext_4"), "Log Files,log");
    EXPECT_EQ(StoredInt("Selected"), 3);
}

TEST_F(ExtDialogTest, TypingAnExistingExtensionKeepsTheSelectedEntryAndItsDescription)
{
    ExtDialog dialog(nullptr);
    Type(dialog.DescriptionBox(), "Anything");
    Type(dialog.ExtensionBox(), "c");
    dialog.DescriptionBox()->lineEdit()->setFocus();
    emit dialog.ExtensionBox()->lineEdit()->editingFinished();  // leaving the field chooses nothing
    EXPECT_EQ(dialog.ExtensionBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.DescriptionBox()->currentText(), "Anything");
    dialog.accept();
    EXPECT_EQ(StoredInt("Count"), 3);
    EXPECT_EQ(StoredInt("Selected"), 0);
    EXPECT_EQ(Stored("Extensions", "ext_3"), "C Sources,c");
}

TEST_F(ExtDialogTest, ReturnInEitherFieldIsOkAndWritesOnce)
{
    for (bool in_description : {false, true}) {
        ExtDialog dialog(nullptr);
        Type(dialog.ExtensionBox(), in_description ? "md" : "h");
        QComboBox* field = in_description ? dialog.DescriptionBox() : dialog.ExtensionBox();
        WhenModal([field](QWidget*) { QTest::keyClick(field->lineEdit(), Qt::Key_Return); });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    }
    EXPECT_EQ(StoredInt("Count"), 5);
    EXPECT_EQ(Stored("Extensions", "ext_4"), "Text Files,h");  // the description field still showed it
    EXPECT_EQ(Stored("Extensions", "ext_5"), "Text Files,md");
}

TEST_F(ExtDialogTest, DeleteRemovesTheEntryFromBothListsAndOnlyOkStoresIt)
{
    const std::string before = ini.Contents();
    {
        ExtDialog dialog(nullptr);
        dialog.ExtensionBox()->setCurrentIndex(1);
        QTest::mouseClick(Control<QPushButton>(&dialog, cmd::kExtDelete), Qt::LeftButton);
        EXPECT_EQ(Items(dialog.ExtensionBox()), (std::vector<QString>{"TXT", "c"}));
        EXPECT_EQ(Items(dialog.DescriptionBox()), (std::vector<QString>{"Text Files", "C Sources"}));
        EXPECT_EQ(dialog.ExtensionBox()->currentIndex(), 0);
        EXPECT_EQ(dialog.DescriptionBox()->currentText(), "Text Files");
        dialog.reject();
    }
    EXPECT_EQ(ini.Contents(), before);

    ExtDialog dialog(nullptr);
    dialog.ExtensionBox()->setCurrentIndex(2);
    QTest::mouseClick(Control<QPushButton>(&dialog, cmd::kExtDelete), Qt::LeftButton);
    EXPECT_EQ(dialog.ExtensionBox()->currentText(), "*");
    dialog.accept();
    EXPECT_EQ(StoredInt("Count"), 2);
    EXPECT_EQ(StoredInt("Selected"), 1);
}

TEST_F(ExtDialogTest, DeletingEveryEntryEmptiesTheFieldsAndTheNextOpeningRestoresTheDefault)
{
    {
        ExtDialog dialog(nullptr);
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(Control<QPushButton>(&dialog, cmd::kExtDelete), Qt::LeftButton);
        EXPECT_EQ(dialog.ExtensionBox()->count(), 0);
        EXPECT_EQ(dialog.ExtensionBox()->currentText(), "");
        EXPECT_EQ(dialog.DescriptionBox()->currentText(), "");
        dialog.accept();
    }
    EXPECT_EQ(StoredInt("Count"), 0);
    ExtDialog dialog(nullptr);
    EXPECT_EQ(Items(dialog.ExtensionBox()), (std::vector<QString>{"TXT", "*"}));
    EXPECT_EQ(StoredInt("Count"), 2);
}

// A new entry's description may hold any character but the comma at which
// the stored entry is split: OK then explains, keeps the dialog open and
// writes nothing.
TEST_F(ExtDialogTest, ADescriptionWithACommaIsRefusedAndOneWithABarIsKept)
{
    std::vector<QString> shown;
    const fw::MessageHook previous = fw::SetMessageHook([&](const fw::MessageRequest& request) {
        shown.push_back(request.text);
        return int(fw::kIdOk);
    });
    const std::string before = ini.Contents();
    ExtDialog dialog(nullptr);
    Type(dialog.ExtensionBox(), "md");
    Type(dialog.DescriptionBox(), "Notes, drafts");
    QTest::mouseClick(Control<QPushButton>(&dialog, 1), Qt::LeftButton);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].contains("\"Notes, drafts\" holds a comma")) << shown[0].toStdString();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ini.Contents(), before);

    Type(dialog.DescriptionBox(), "Notes | drafts (md; txt)");
    QTest::mouseClick(Control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("Extensions", "ext_4"), "Notes | drafts (md; txt),md");

    // An existing extension adds nothing, so its description is not looked at.
    ExtDialog again(nullptr);
    Type(again.ExtensionBox(), "c");
    Type(again.DescriptionBox(), "a, b");
    again.accept();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(shown.size(), 1u);
    fw::SetMessageHook(previous);
}

TEST_F(ExtDialogTest, FocusStartsInTheExtensionsAndTabFollowsTheControlOrder)
{
    ExtDialog dialog(nullptr);
    const std::vector<QString> order = FocusOrder(dialog, 6);
    if (order.empty()) GTEST_SKIP() << "the platform gives no focus";
    EXPECT_EQ(order, (std::vector<QString>{"id101", "id102", "id103", "id1", "id2", "id101"}));
}

} // namespace
