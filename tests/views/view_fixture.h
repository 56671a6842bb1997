#pragma once
// Shared set-up of the view tests: a settings file and a directory of our
// own, message boxes answered by a script instead of shown, and helpers
// that open a view on a file and wait for its load.

#include "docs/lines_doc.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "support/temp_tree.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ViewTest : public ::testing::Test {
protected:
    explicit ViewTest(std::string_view settings = "[Options]\nauto_indent=1\n") : settings_(settings)
    {
        previous_hook_ = fw::SetMessageHook([this](const fw::MessageRequest& request) {
            messages.push_back(request.text.toStdString());
            if (answers.empty()) return int(fw::kIdOk);
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~ViewTest() override { fw::SetMessageHook(previous_hook_); }

    // Opens a view of type V on a file holding `bytes`, shown and loaded.
    template <class V>
    std::unique_ptr<V> Open(std::string_view bytes, std::string_view name = "file.txt")
    {
        return OpenPath<V>(tree.Write(name, bytes));
    }

    template <class V>
    std::unique_ptr<V> OpenPath(const std::string& path)
    {
        auto view = std::make_unique<V>(path);
        view->resize(640, 400);
        view->show();
        for (int i = 0; i < 20 && !view->Loaded(); ++i) PumpWaitingMessages();
        return view;
    }

    static std::vector<std::string> Lines(const LinesDoc& doc)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < doc.LineCount(); ++i) lines.emplace_back(doc.GetLine(i)->View());
        return lines;
    }

    // Runs `act` on the next modal dialog, from inside its event loop.
    static void WhenModal(std::function<void(QWidget*)> act)
    {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(modal);
        });
    }

    ScopedSettingsFile settings_;
    TempTree tree;
    std::vector<std::string> messages;
    std::deque<int> answers;

private:
    fw::MessageHook previous_hook_;
};

using Lines_t = std::vector<std::string>;
