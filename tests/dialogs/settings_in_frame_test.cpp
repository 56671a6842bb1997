// The settings dialogs run from the frame's commands: open text and hex
// windows follow the preferences at once, and the file-type list feeds
// File Open.
#include "dialog_fixture.h"

#include "framework/file_filter.h"
#include "app/main_win.h"
#include "app/open_dlog.h"
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "dialogs/colour_combo.h"
#include "dialogs/ext_dialog.h"
#include "dialogs/pref_dlog.h"
#include "docs/lines_doc.h"
#include "framework/message_pump.h"
#include "resources/command_ids.h"
#include "settings/profile.h"
#include "views/edit_view.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

class SettingsInFrame : public DialogTest {
protected:
    void SetUp() override
    {
        InstallWindowFactories();
        app = std::make_unique<TWApp>("Tarnwick", 0, argv);
        app->InitMainWindow();
        app->InitInstance();
    }
    void TearDown() override
    {
        app.reset();
        PrefDlog::SetFontChooser({});
        OpenDlog::SetHook({});
    }
    void Settle()
    {
        for (int i = 0; i < 5; ++i) PumpWaitingMessages();
    }
    std::vector<EditView*> Views()
    {
        std::vector<EditView*> views;
        for (QMdiSubWindow* child : app->Frame()->Client()->subWindowList())
            if (auto* view = dynamic_cast<EditView*>(child->widget())) views.push_back(view);
        return views;
    }
    static QColor CornerColour(EditView* view)
    {
        const QImage image = view->viewport()->grab().toImage();
        return image.pixel(image.width() - 3, image.height() - 3);
    }

    char* argv[1] = {nullptr};
    std::unique_ptr<TWApp> app;
    TempTree tree;
};

TEST_F(SettingsInFrame, OkWithChangesRepaintsEveryTextAndHexWindowWithTheNewSettings)
{
    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "a\tb\n"), false));
    ASSERT_TRUE(app->OpenHex(tree.Write("b.bin", "xyz"), false));
    Settle();
    ASSERT_EQ(Views().size(), 2u);
    for (EditView* view : Views()) EXPECT_EQ(CornerColour(view), QColor(Qt::white));

    PrefDlog::SetFontChooser([](QWidget*, const QFont&) -> std::optional<QFont> {
        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPixelSize(19);
        return chosen;
    });
    WhenModal([](QWidget* dialog) {
        Control<ColorCombo>(dialog, cmd::kPrefBackground)->setCurrentIndex(10);  // yellow
        Control<ColorCombo>(dialog, cmd::kPrefText)->setCurrentIndex(6);         // navy
        auto* tabs = Control<QComboBox>(dialog, cmd::kPrefTabStops);
        tabs->setCurrentIndex(tabs->findText("8"));
        QTest::mouseClick(Control<QPushButton>(dialog, cmd::kPrefFonts), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    app->Frame()->Execute(cmd::kOptionsPreferences);
    Settle();
    for (EditView* view : Views()) {
        EXPECT_EQ(view->Document()->TabSize(), 8);
        EXPECT_EQ(view->ViewFont().family(), "DejaVu Sans Mono");
        EXPECT_EQ(view->ViewFont().pixelSize(), 19);
        EXPECT_EQ(view->BackgroundColour(), QColor(255, 255, 0));
        EXPECT_EQ(view->TextColour(), QColor(0, 0, 128));
        EXPECT_EQ(CornerColour(view), QColor(255, 255, 0));
    }
}

TEST_F(SettingsInFrame, CancelLeavesTheWindowsAsTheyWere)
{
    ASSERT_TRUE(app->OpenText(tree.Write("a.txt", "a\tb\n"), false));
    Settle();
    profile::WriteString("Display", "tab_stops", "8");  // only a reload would show this
    WhenModal([](QWidget* dialog) { QTest::mouseClick(Control<QPushButton>(dialog, 2), Qt::LeftButton); });
    app->Frame()->Execute(cmd::kOptionsPreferences);
    ASSERT_EQ(Views().size(), 1u);
    EXPECT_EQ(Views().front()->Document()->TabSize(), 4);
}

TEST_F(SettingsInFrame, FileOpenOffersTheEditedListWithThePreferredTypeChosen)
{
    WhenModal([](QWidget* dialog) {
        auto* extensions = Control<QComboBox>(dialog, cmd::kExtExtension);
        auto* descriptions = Control<QComboBox>(dialog, cmd::kExtDescription);
        extensions->lineEdit()->setText("log");
        descriptions->lineEdit()->setText("Log Files");
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
    });
    app->Frame()->Execute(cmd::kFileExtensions);

    FilterList filter;
    int index = 0;
    OpenDlog::SetHook([&](FileDialogData& data, int&) {
        filter = data.filter;
        index = data.filter_index;
        OpenDlog shown(nullptr, data);
        EXPECT_EQ(shown.nameFilters(),
                  QStringList({"Text Files (*.TXT *.txt)", "All Files (*)", "Log Files (*.log *.LOG)"}));
        EXPECT_EQ(shown.selectedNameFilter(), "Log Files (*.log *.LOG)");
        return false;
    });
    app->Frame()->Execute(cmd::kFileOpen);
    EXPECT_EQ(filter, (FilterList{{"Text Files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}, {"Log Files (*.log)", "*.log"}}));
    EXPECT_EQ(index, 3);  // the dialog counts its filters from 1

    // A file type chosen in File Open is the preferred one the next time.
    OpenDlog::SetHook([&](FileDialogData& data, int&) {
        data.file_name = tree.Write("x.txt", "x");
        data.filter_index = 2;
        return true;
    });
    app->Frame()->Execute(cmd::kFileOpen);
    ExtDialog again(nullptr);
    EXPECT_EQ(again.DescriptionBox()->currentText(), "All Files");
}

} // namespace

namespace {

// A '|' in a description is part of it: every file type keeps its own
// patterns in File Open, those after it too.
TEST_F(SettingsInFrame, ADescriptionWithABarLeavesEveryFileTypeOfFileOpenInItsPlace)
{
    for (const char* typed : {"md|Notes | drafts", "log|Log Files"}) {
        const QString extension = QString::fromLatin1(typed).section(QLatin1Char('|'), 0, 0);
        const QString description = QString::fromLatin1(typed).section(QLatin1Char('|'), 1);
        WhenModal([=](QWidget* dialog) {
            Control<QComboBox>(dialog, cmd::kExtExtension)->lineEdit()->setText(extension);
            Control<QComboBox>(dialog, cmd::kExtDescription)->lineEdit()->setText(description);
            QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
        });
        app->Frame()->Execute(cmd::kFileExtensions);
    }
    QStringList filters;
    QString chosen;
    OpenDlog::SetHook([&](FileDialogData& data, int&) {
        OpenDlog shown(nullptr, data);
        filters = shown.nameFilters();
        chosen = shown.selectedNameFilter();
        return false;
    });
    app->Frame()->Execute(cmd::kFileOpen);
    EXPECT_EQ(filters, QStringList({"Text Files (*.TXT *.txt)", "All Files (*)", "Notes | drafts (*.md *.MD)",
                                    "Log Files (*.log *.LOG)"}));
    EXPECT_EQ(chosen, "Log Files (*.log *.LOG)");
}

} // namespace
