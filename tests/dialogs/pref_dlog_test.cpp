// The Preferences dialog: what it shows for stored values good and bad,
// the undo-limit field, the font chooser, and what OK, Cancel and Restore
// write.
#include "dialog_fixture.h"

#include "dialogs/colour_combo.h"
#include "dialogs/int_edit.h"
#include "dialogs/pref_dlog.h"
#include "dialogs/view_sample.h"
#include "resources/command_ids.h"
#include "settings/profile.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class PrefDlogTest : public DialogTest {
protected:
    explicit PrefDlogTest(std::string_view settings = {}) : DialogTest(settings) {}
    void TearDown() override { PrefDlog::SetFontChooser({}); }

    QComboBox* TabStops(const PrefDlog& d) { return Control<QComboBox>(&d, cmd::kPrefTabStops); }
    ColorCombo* Background(const PrefDlog& d) { return Control<ColorCombo>(&d, cmd::kPrefBackground); }
    ColorCombo* TextColour(const PrefDlog& d) { return Control<ColorCombo>(&d, cmd::kPrefText); }
    IntEdit* Undo(const PrefDlog& d) { return Control<IntEdit>(&d, cmd::kPrefUndoLimit); }
    ViewSample* Sample(const PrefDlog& d) { return Control<ViewSample>(&d, cmd::kPrefSample); }
    QString FontLabel(const PrefDlog& d) { return Control<QLabel>(&d, cmd::kPrefFontLabel)->text(); }
    void Click(const PrefDlog& d, int id) { QTest::mouseClick(Control<QPushButton>(&d, id), Qt::LeftButton); }
};

TEST_F(PrefDlogTest, DefaultsShowTheViewsDefaultLook)
{
    PrefDlog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(TabStops(dialog)->count(), 15);
    EXPECT_EQ(TabStops(dialog)->currentText(), "4");
    EXPECT_TRUE(Control<QCheckBox>(&dialog, cmd::kPrefAutoIndent)->isChecked());
    EXPECT_EQ(Undo(dialog)->text(), "16");
    EXPECT_EQ(Control<QLabel>(&dialog, cmd::kPrefUndoLabel)->text(), "Undo Limit (1 - 512):");
    EXPECT_EQ(Background(dialog)->currentIndex(), 15);
    EXPECT_EQ(TextColour(dialog)->currentIndex(), 0);
    EXPECT_EQ(FontLabel(dialog), QString("Font: Courier New %1").arg(12 * 72 / dialog.logicalDpiY()));
    ASSERT_TRUE(Sample(dialog)->SampleFont());
    EXPECT_EQ(Sample(dialog)->SampleFont()->pixelSize(), 12);
    EXPECT_EQ(Sample(dialog)->TabStops(), 4);
    EXPECT_EQ(Sample(dialog)->BkColor(), QColor(Qt::white));
    EXPECT_FALSE(dialog.Changed());
}

TEST_F(PrefDlogTest, StoredTabStopsSelectByTheirBeginningAndOkStoresTheSelection)
{
    struct Case {
        const char* stored;
        QString shown;
        int width;
    };
    for (const Case& c : {Case{"17", "", 4}, Case{"1", "11", 11}, Case{"10", "10", 10}, Case{"wide", "", 4},
                          Case{"7", "7", 7}}) {
        profile::WriteString("Display", "tab_stops", c.stored);
        PrefDlog dialog(nullptr);
        EXPECT_EQ(TabStops(dialog)->currentText(), c.shown) << c.stored;
        EXPECT_EQ(Sample(dialog)->TabStops(), c.width) << c.stored;
        dialog.accept();
        EXPECT_EQ(Stored("Display", "tab_stops"), std::to_string(c.width)) << c.stored;
    }
}

TEST_F(PrefDlogTest, ColoursOutsideTheSixteenShowBlackAndOkStoresBlack)
{
    profile::WriteString("Display", "bk_color", "1 2 3");
    profile::WriteString("Display", "fg_color", "navy");
    PrefDlog dialog(nullptr);
    EXPECT_EQ(Background(dialog)->currentIndex(), 0);
    EXPECT_EQ(TextColour(dialog)->currentIndex(), 0);
    dialog.accept();
    EXPECT_EQ(Stored("Display", "bk_color"), "0 0 0");
    EXPECT_EQ(Stored("Display", "fg_color"), "0 0 0");
    EXPECT_TRUE(dialog.Changed());  // the stored colour did change
}

TEST_F(PrefDlogTest, AColourChoiceRepaintsTheSampleAndMarksAChange)
{
    PrefDlog dialog(nullptr);
    Background(dialog)->setCurrentIndex(10);
    EXPECT_EQ(Sample(dialog)->BkColor(), QColor(255, 255, 0));
    EXPECT_TRUE(dialog.Changed());
    TextColour(dialog)->setCurrentIndex(6);
    EXPECT_EQ(Sample(dialog)->TextColor(), QColor(0, 0, 128));
    const QImage image = Sample(dialog)->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(image.width() - 2, image.height() - 2)), QColor(255, 255, 0));
}

TEST_F(PrefDlogTest, TabStopsAndAutoIndentMarkAChange)
{
    PrefDlog dialog(nullptr);
    TabStops(dialog)->setCurrentIndex(TabStops(dialog)->findText("8"));
    EXPECT_EQ(Sample(dialog)->TabStops(), 8);
    EXPECT_TRUE(dialog.Changed());
    Click(dialog, cmd::kPrefRestore);
    EXPECT_FALSE(dialog.Changed());
    EXPECT_EQ(Sample(dialog)->TabStops(), 4);
    EXPECT_EQ(TabStops(dialog)->count(), 15);  // Restore adds no second set of items
    QTest::mouseClick(Control<QCheckBox>(&dialog, cmd::kPrefAutoIndent), Qt::LeftButton);
    EXPECT_TRUE(dialog.Changed());
}

TEST_F(PrefDlogTest, StoredUndoLimitsOutsideTheRangeShowItsEndsAndStayUnwrittenUnlessChanged)
{
    struct Case {
        const char* stored;
        QString shown;
    };
    for (const Case& c : {Case{"999", "512"}, Case{"0", "1"}, Case{"-5", "1"}, Case{"many", "1"}}) {
        profile::WriteString("Options", "undo_limit", c.stored);
        PrefDlog dialog(nullptr);
        EXPECT_EQ(Undo(dialog)->text(), c.shown) << c.stored;
        dialog.accept();
        EXPECT_EQ(Stored("Options", "undo_limit"), c.stored);
    }
}

TEST_F(PrefDlogTest, TheUndoFieldKeepsDigitsInRangeAndBeepsForEachOtherCharacter)
{
    PrefDlog dialog(nullptr);
    IntEdit* field = Undo(dialog);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "1");  // an emptied field shows the minimum
    field->selectAll();
    QTest::keyClicks(field, "5q");
    EXPECT_EQ(field->text(), "5");
    EXPECT_EQ(field->Beeps(), 1);
    EXPECT_EQ(field->cursorPosition(), 1);
    QTest::keyClicks(field, "99");
    EXPECT_EQ(field->text(), "512");
    field->setText("3x4y");
    EXPECT_EQ(field->text(), "34");
    EXPECT_EQ(field->Beeps(), 3);
    field->SetValue(700);
    EXPECT_EQ(field->GetValue(), 512);
}

TEST_F(PrefDlogTest, OkWritesEveryKeyButAnUnchangedUndoLimitAndKeepsTheOthers)
{
    profile::WriteString("MainWin", "X", "40");
    profile::WriteString("Font", "other", "kept");
    PrefDlog dialog(nullptr);
    dialog.accept();
    EXPECT_EQ(Stored("Display", "bk_color"), "255 255 255");
    EXPECT_EQ(Stored("Display", "fg_color"), "0 0 0");
    EXPECT_EQ(Stored("Font", "font_name"), "Courier New");
    EXPECT_EQ(Stored("Font", "font_size"), "12");
    EXPECT_EQ(Stored("Font", "font_weight"), "0");
    EXPECT_EQ(Stored("Display", "tab_stops"), "4");
    EXPECT_EQ(Stored("Options", "auto_indent"), "1");
    EXPECT_EQ(Stored("Options", "undo_limit"), "(missing)");
    EXPECT_EQ(Stored("MainWin", "X"), "40");
    EXPECT_EQ(Stored("Font", "other"), "kept");

    PrefDlog again(nullptr);
    Undo(again)->SetValue(64);
    Control<QCheckBox>(&again, cmd::kPrefAutoIndent)->setChecked(false);
    again.accept();
    EXPECT_TRUE(again.Changed());
    EXPECT_EQ(Stored("Options", "undo_limit"), "64");
    EXPECT_EQ(Stored("Options", "auto_indent"), "0");

    PrefDlog unchanged(nullptr);
    unchanged.accept();
    EXPECT_FALSE(unchanged.Changed());  // the views need not reload
}

TEST_F(PrefDlogTest, CancelWritesNothing)
{
    profile::WriteString("Display", "tab_stops", "17");
    const std::string before = ini.Contents();
    PrefDlog dialog(nullptr);
    TabStops(dialog)->setCurrentIndex(0);
    Background(dialog)->setCurrentIndex(3);
    Undo(dialog)->SetValue(99);
    WhenModal([](QWidget* modal) { QTest::mouseClick(Control<QPushButton>(modal, 2), Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(ini.Contents(), before);
}

TEST_F(PrefDlogTest, AChosenFontIsShownAndStoredAsTheViewsMakeIt)
{
    QFont offered;
    PrefDlog::SetFontChooser([&](QWidget*, const QFont& initial) -> std::optional<QFont> {
        offered = initial;
        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPixelSize(20);
        chosen.setWeight(QFont::Bold);
        return chosen;
    });
    PrefDlog dialog(nullptr);
    Click(dialog, cmd::kPrefFonts);
    // Courier New itself or the installed face that stands in for it.
    EXPECT_TRUE(QFontDatabase::families().contains(offered.family())) << offered.family().toStdString();
    EXPECT_TRUE(QFontDatabase::isFixedPitch(offered.family()));
    EXPECT_EQ(offered.pointSize(), 12 * 72 / dialog.logicalDpiY());
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(FontLabel(dialog), QString("Font: DejaVu Sans Mono %1").arg(20 * 72 / dialog.logicalDpiY()));
    EXPECT_EQ(Sample(dialog)->SampleFont()->pixelSize(), 20);
    dialog.accept();
    EXPECT_EQ(Stored("Font", "font_name"), "DejaVu Sans Mono");
    EXPECT_EQ(Stored("Font", "font_size"), "20");
    EXPECT_EQ(Stored("Font", "font_weight"), "700");
}

TEST_F(PrefDlogTest, AFontGivenInPointsIsStoredInPixelsAndCancelChangesNothing)
{
    PrefDlog::SetFontChooser([](QWidget*, const QFont&) -> std::optional<QFont> {
        return QFont(QStringLiteral("DejaVu Sans Mono"), 18);
    });
    PrefDlog dialog(nullptr);
    Click(dialog, cmd::kPrefFonts);
    EXPECT_EQ(dialog.WorkingFont().size, 18 * dialog.logicalDpiY() / 72);

    PrefDlog::SetFontChooser([](QWidget*, const QFont&) { return std::optional<QFont>(); });
    PrefDlog cancelled(nullptr);
    Click(cancelled, cmd::kPrefFonts);
    EXPECT_FALSE(cancelled.Changed());
    EXPECT_EQ(cancelled.WorkingFont().face, "Courier New");
}

TEST_F(PrefDlogTest, AFaceThatNoLongerExistsIsShownAndKept)
{
    profile::WriteString("Font", "font_name", "Gone Typewriter 1987");
    profile::WriteString("Font", "font_size", "-13");
    PrefDlog dialog(nullptr);
    EXPECT_TRUE(FontLabel(dialog).startsWith("Font: Gone Typewriter 1987 "));
    dialog.accept();
    EXPECT_EQ(Stored("Font", "font_name"), "Gone Typewriter 1987");
    EXPECT_EQ(Stored("Font", "font_size"), "12");  // the size the views used for it
}

// A font too large for the screen leaves the dialog on the screen, every
// control reachable; the sample shows what fits. Both a stored font and
// one chosen while the dialog is open.
TEST_F(PrefDlogTest, AHugeFontKeepsTheDialogAndItsControlsOnTheScreen)
{
    profile::WriteString("Font", "font_size", "96", ini.path());  // 72 points on the usual screen
    PrefDlog::SetFontChooser([](QWidget*, const QFont&) -> std::optional<QFont> {
        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPixelSize(150);
        return chosen;
    });
    for (const bool chosen : {false, true}) {
        SCOPED_TRACE(chosen ? "chosen" : "stored");
        PrefDlog dialog(nullptr);
        dialog.show();
        if (chosen) Click(dialog, cmd::kPrefFonts);
        const QRect room = dialog.screen()->availableGeometry();
        EXPECT_TRUE(room.contains(dialog.frameGeometry()))
            << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height();
        for (const int id : {1, 2, cmd::kPrefFonts, cmd::kPrefRestore, cmd::kPrefBackground, cmd::kPrefText,
                             cmd::kPrefTabStops}) {
            const QWidget* control = Control(&dialog, id);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(room.contains(QRect(control->mapToGlobal(QPoint(0, 0)), control->size()))) << id;
        }
        EXPECT_GT(Sample(dialog)->width(), 100);
        EXPECT_GT(Sample(dialog)->height(), 40);
    }
}

TEST_F(PrefDlogTest, FocusStartsInTheTabStopsAndTabFollowsTheControlOrder)
{
    PrefDlog dialog(nullptr);
    const std::vector<QString> order = FocusOrder(dialog, 10);
    if (order.empty()) GTEST_SKIP() << "the platform gives no focus";
    EXPECT_EQ(order, (std::vector<QString>{"id105", "id106", "id101", "id103", "id104", "id107", "id108", "id1",
                                           "id2", "id105"}));
}

} // namespace
