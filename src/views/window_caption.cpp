#include "views/window_caption.h"

#include "docs/lines_doc.h"
#include "framework/byte_text.h"
#include "resources/strings.h"

#include <QMdiSubWindow>

namespace {

int untitled_counter = 1;

QMdiSubWindow* HoldingChild(QWidget* view)
{
    for (QWidget* w = view->parentWidget(); w; w = w->parentWidget())
        if (auto* child = qobject_cast<QMdiSubWindow*>(w)) return child;
    return nullptr;
}

} // namespace

QString DocumentCaption(const LinesDoc* doc, bool deleted)
{
    if (doc && !doc->FileName().empty()) {
        const QString title = bytetext::ToQString(doc->GetTitle());
        return deleted
                   ? QString::fromLatin1(strings::Text(strings::kDeletedCaption)).replace(QLatin1String("%s"), title)
                   : title;
    }
    return QString("untitled%1").arg(untitled_counter++);
}

int NextUntitledNumber()
{
    return untitled_counter;
}

void SetCaption(QWidget* view, const QString& caption)
{
    view->setWindowTitle(caption);
    if (QMdiSubWindow* child = HoldingChild(view)) child->setWindowTitle(caption);
}

void CloseHoldingWindowLater(QWidget* view)
{
    QWidget* target = HoldingChild(view);
    if (!target) target = view;
    QMetaObject::invokeMethod(target, &QWidget::close, Qt::QueuedConnection);
}
