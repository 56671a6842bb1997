#include "dialog_fixture.h"

#include "settings/profile.h"

#include <QTest>

std::string DialogTest::Stored(const char* section, const char* key)
{
    return profile::ReadString(section, key, "(missing)", 255, ini.path());
}

std::vector<QString> DialogTest::FocusOrder(QWidget& dialog, int steps)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    if (!QTest::qWaitForWindowActive(&dialog)) return {};
    std::vector<QString> order;
    for (int i = 0; i < steps; ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();  // a list's own field
        order.push_back(focus ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return order;
}
