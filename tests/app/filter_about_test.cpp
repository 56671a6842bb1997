// The About box, the File Open dialog and the check for a display.
#include "app/about_dlg.h"
#include "app/display_check.h"
#include "app/open_dlog.h"
#include "app/tw_app.h"
#include "support/temp_tree.h"

#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QLabel>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(AboutDlg, ShowsVersionWithThisPlatformAndTheLegalNotice)
{
    AboutDlg dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "About Tarnwick");
    EXPECT_EQ(dialog.VersionField()->text(), "Version 1.3 [Linux]");
    EXPECT_FALSE(dialog.LegalField()->text().isEmpty());
    EXPECT_EQ(dialog.SpecialBuildField()->text(), "");
}

TEST(AboutDlg, MissingValuesLeaveTheFieldsAtTheirFirstTexts)
{
    VersionRecord special;
    special.values = {{"ProductName", "Tarnwick"}, {"ProductVersion", "2.0"}, {"SpecialBuild", "beta"}};
    AboutDlg with_special(nullptr, special);
    EXPECT_EQ(with_special.VersionField()->text(), "Version 2.0 [Linux]");
    EXPECT_EQ(with_special.SpecialBuildField()->text(), "beta");
    EXPECT_EQ(with_special.LegalField()->text(), "");

    VersionRecord nameless;
    nameless.values = {{"ProductVersion", "2.0"}, {"LegalCopyright", "(c) us"}};
    AboutDlg without_name(nullptr, nameless);
    EXPECT_EQ(without_name.VersionField()->text(), "Version");
    EXPECT_EQ(without_name.LegalField()->text(), "(c) us");

    VersionRecord untranslated = special;
    untranslated.has_translation = false;
    for (const std::optional<VersionRecord>& record : {std::optional(untranslated), std::optional<VersionRecord>()}) {
        AboutDlg empty(nullptr, record);
        EXPECT_EQ(empty.VersionField()->text(), "Version");
        EXPECT_EQ(empty.LegalField()->text(), "");
        EXPECT_EQ(empty.SpecialBuildField()->text(), "");
    }
}

// Sets or clears an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(DisplayCheck, NoDisplayIsReportedAndANamedPlatformIsTrusted)
{
    ScopedEnv platform("QT_QPA_PLATFORM", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    std::string why;
    {
        ScopedEnv display("DISPLAY", nullptr);
        EXPECT_FALSE(DisplayAvailable(why));
        EXPECT_NE(why.find("DISPLAY"), std::string::npos);
    }
    {
        ScopedEnv display("DISPLAY", ":4711");
        EXPECT_FALSE(DisplayAvailable(why));
    }
    {
        ScopedEnv display("DISPLAY", "far.example:0");  // remote: Qt decides
        EXPECT_TRUE(DisplayAvailable(why));
    }
    {
        ScopedEnv display("DISPLAY", nullptr), xcb("QT_QPA_PLATFORM", "xcb");
        EXPECT_FALSE(DisplayAvailable(why));  // Qt would abort
    }
    {
        ScopedEnv way("QT_QPA_PLATFORM", "wayland");
        EXPECT_FALSE(DisplayAvailable(why));
    }
    ScopedEnv named("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(DisplayAvailable(why));
}

} // namespace

namespace {

// A file name typed in full opens whatever the filter lists; a name that
// names no file is still refused.
TEST(OpenDlog, ATypedExistingFileOpensWhateverTheFilter)
{
    TempTree tree;
    const std::string bin = tree.Write("bin.dat", "\x01\x02");
    tree.Write("a.txt", "text\n");
    FileDialogData data;
    data.filter = {{"Text files (*.TXT)", "*.TXT"}, {"All Files (*.*)", "*.*"}};
    data.filter_index = 1;
    OpenDlog dialog(nullptr, data);
    dialog.setDirectory(QString::fromStdString(tree.root()));
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* open = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
    ASSERT_TRUE(name && open);
    // Open follows the typed name once the directory listing has arrived
    // (a.txt is listed): disabled for a missing file, enabled for one that
    // exists.
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex directory = model->index(QString::fromStdString(tree.root()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(directory) >= 1; }));
    QTest::keyClicks(name, "none.dat");
    EXPECT_FALSE(open->isEnabled());
    name->clear();
    QTest::keyClicks(name, "bin.dat");
    EXPECT_TRUE(open->isEnabled());
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialog.selectedFiles().size(), 1);
    EXPECT_EQ(dialog.selectedFiles().front().toStdString(), bin);
}

} // namespace
