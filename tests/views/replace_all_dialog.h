#pragma once
// Replace All as a user runs it: the Replace dialog of a text view, filled
// in and pressed with the caret at the top of the document, searching down.

#include "framework/find_replace_dialog.h"
#include "views/text_view.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

struct ReplaceAllAsked {
    std::string find;
    std::string replace;
    bool match_case = false;
    bool whole_words = false;
};

inline void ReplaceAllFromTheTop(TextView& view, const ReplaceAllAsked& asked)
{
    view.MoveCaretTo({0, 0});
    view.CmReplace();
    FindReplaceDialog* dialog = view.Dialog();
    ASSERT_NE(dialog, nullptr);
    dialog->findField()->setText(QString::fromStdString(asked.find));
    dialog->replaceField()->setText(QString::fromStdString(asked.replace));
    dialog->matchCaseBox()->setChecked(asked.match_case);
    dialog->wholeWordBox()->setChecked(asked.whole_words);
    dialog->downButton()->setChecked(true);
    QTest::mouseClick(dialog->replaceAllButton(), Qt::LeftButton);
}
