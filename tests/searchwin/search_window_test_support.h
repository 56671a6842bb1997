#pragma once
// Helpers of the Grep and Line Count window tests: fill the fields, press
// a button, read the list back.

#include "searchwin/result_list_model.h"
#include "searchwin/search_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

inline void SetField(QComboBox* box, const std::string& text)
{
    box->setEditText(QString::fromLatin1(text.data(), static_cast<int>(text.size())));
}

inline std::string FieldText(const QComboBox* box)
{
    return box->currentText().toStdString();
}

inline std::vector<std::string> ListedLines(const SearchWindow& w)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < w.Results()->LineCount(); ++i) lines.emplace_back(w.Results()->Line(i));
    return lines;
}

inline std::vector<std::string> BoxItems(const QComboBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
}

// Runs `step` inside the first event pump of the run that `go` starts.
inline void DuringRun(const std::function<void()>& step, const std::function<void()>& go)
{
    QTimer::singleShot(0, step);
    go();
}
