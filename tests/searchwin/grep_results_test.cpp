// What the Grep window's list shows of each hit and what a user takes out
// of it: the text column read from the files, a file changed since the
// run, Copy and Save Results in "path:number:text" form, and the filter.

#include "framework/byte_text.h"
#include "resources/strings.h"
#include "searchwin/grep_dlog.h"
#include "searchwin/hit_preview.h"
#include "settings/profile.h"
#include "support/temp_tree.h"
#include "search_window_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SavingGrepWindow : public GrepDlog {
public:
    std::optional<std::string> save_to;

protected:
    std::optional<std::string> ChooseSaveFile() override { return save_to; }
};

class GrepResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.Write("a.txt", "\tone hit\r\nnone\ntwo hit hit\n");
        tree.Write("b.txt", std::string("caf\xe9 hit\0x\n", 11));
        SetField(w.PatternBox(), "hit");
        SetField(w.PathBox(), root + "/*.txt");
        w.ShowLinesCheck()->setChecked(true);
        w.GoButton()->click();
    }
    std::string Cell(int row, int column) const
    {
        return w.Results()->data(w.Results()->index(row, column), Qt::DisplayRole).toString().toStdString();
    }
    void Select(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = w.ResultsView()->selectionModel();
        selection->clear();
        for (int row : rows)
            selection->select(w.Results()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ScopedSettingsFile ini;
    TempTree tree, scratch;
    std::string root = std::filesystem::canonical(tree.root()).string();
    SavingGrepWindow w;
};

TEST_F(GrepResults, TheTextColumnShowsEachHitsLineAndAChangedFileSaysSo)
{
    ASSERT_EQ(w.Results()->rowCount(), 3);
    EXPECT_EQ(w.Results()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Text");
    EXPECT_EQ(Cell(0, 2), "    one hit");  // the tab expanded, the line end dropped
    EXPECT_EQ(Cell(1, 1), "3 (2)");        // a line with two matches says so
    EXPECT_EQ(Cell(2, 2), "caf\xc3\xa9 hit x");  // Latin-1 shown as its character, NUL as a blank
    tree.Write("a.txt", "other text\n");
    EXPECT_EQ(Cell(0, 2), strings::Text(strings::kHitFileChanged));
    EXPECT_EQ(Cell(2, 2), "caf\xc3\xa9 hit x");
}

TEST_F(GrepResults, CopyAndSaveWriteGrepsFormWithTheLinesBytes)
{
    const std::string a = root + "/a.txt", b = root + "/b.txt";
    Select({0, 2});
    QTest::keyClick(w.ResultsView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(bytetext::FromMimeData(QApplication::clipboard()->mimeData()),
              a + ":1:\tone hit\n" + b + ":1:" + std::string("caf\xe9 hit\0x", 10) + "\n");

    w.save_to = scratch.Path("results.txt");
    EXPECT_TRUE(w.SaveResults());
    EXPECT_EQ(scratch.Read("results.txt"), a + ":1:\tone hit\n" + a + ":3:two hit hit\n" + b + ":1:" +
                                               std::string("caf\xe9 hit\0x", 10) + "\n");
    w.save_to.reset();  // cancelled
    EXPECT_FALSE(w.SaveResults());
}

TEST_F(GrepResults, TheFilterShowsOnlyRowsWhosePathOrTextHoldsIt)
{
    w.FilterField()->setText("TWO");
    ASSERT_EQ(w.Results()->rowCount(), 1);
    EXPECT_EQ(w.Results()->Record(0).number, 3);
    EXPECT_EQ(Cell(0, 2), "two hit hit");
    w.GoButton()->click();  // a new run's rows pass the filter as they come
    ASSERT_EQ(w.Results()->rowCount(), 1);
    EXPECT_EQ(w.Results()->Record(0).number, 3);
    w.FilterField()->setText("b.txt");
    ASSERT_EQ(w.Results()->rowCount(), 1);
    EXPECT_EQ(w.Results()->Record(0).path, root + "/b.txt");
    // Saving writes the rows shown.
    w.save_to = scratch.Path("shown.txt");
    EXPECT_TRUE(w.SaveResults());
    EXPECT_EQ(scratch.Read("shown.txt"), root + "/b.txt:1:" + std::string("caf\xe9 hit\0x", 10) + "\n");
    w.FilterField()->clear();
    EXPECT_EQ(w.Results()->rowCount(), 3);
}

TEST_F(GrepResults, ThePreviewShowsTheHitWithItsContextAndTheSpinBoxIsStored)
{
    w.ResultsView()->setCurrentIndex(w.Results()->index(1, 0));
    const auto lines = [](std::initializer_list<const char*> texts) {
        QString text;
        for (const char* t : texts) text += (text.isEmpty() ? "" : "\n") + QString::fromUtf8(t);
        return text.toStdString();
    };
    // Two lines each side by default, clipped at the file's start and end.
    EXPECT_EQ(w.Preview()->toPlainText().toStdString(),
              lines({"     1      one hit", "     2  none", "     3  two hit hit"}));
    w.ContextBox()->setValue(0);
    EXPECT_EQ(w.Preview()->toPlainText().toStdString(), lines({"     3  two hit hit"}));
    w.GoButton()->click();  // the value goes to the settings with the run
    EXPECT_EQ(profile::ReadString("GrepOpts", "context", "", 16, ini.path()), "0");
    GrepDlog second;
    EXPECT_EQ(second.ContextBox()->value(), 0);
    EXPECT_EQ(second.ContextBox()->maximum(), 9);

    w.ResultsView()->setCurrentIndex(w.Results()->index(0, 0));
    tree.Write("a.txt", "other\n");
    w.ResultsView()->setCurrentIndex(w.Results()->index(1, 0));
    EXPECT_EQ(w.Preview()->toPlainText().toStdString(), strings::Text(strings::kHitFileChanged));
}

} // namespace
