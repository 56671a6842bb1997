#pragma once
// Shared set-up of the settings-dialog tests: a settings file of the
// test's own, and a way to act on a modal dialog from inside its loop.

#include "support/temp_tree.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class DialogTest : public ::testing::Test {
protected:
    explicit DialogTest(std::string_view settings = {}) : ini(settings) {}

    // Runs `act` on the next modal dialog, from inside its event loop.
    static void WhenModal(std::function<void(QWidget*)> act)
    {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(modal);
        });
    }

    template <class W = QWidget>
    static W* Control(const QWidget* dialog, int id)
    {
        return dialog->findChild<W*>(QStringLiteral("id%1").arg(id));
    }

    // Shows `dialog` and presses Tab `steps` - 1 times: the ids of the
    // controls that had the focus, the first one first. Empty when the
    // platform gives no focus.
    static std::vector<QString> FocusOrder(QWidget& dialog, int steps);

    std::string Stored(const char* section, const char* key);

    ScopedSettingsFile ini;
};
