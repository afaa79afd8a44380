#include "Arrangement.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

#include "Context.h"
#include "Controls.h"
#include "DocumentWindows.h"

namespace qm {
namespace {

// The windows to tile, the source window first and the converted window second.
QList<QMdiSubWindow*> TiledWindows(QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    }
    const auto rank = [](QMdiSubWindow* window) {
        const QString name =
            window->widget() != nullptr ? window->widget()->objectName() : QString();
        return name == QLatin1String("OriginalFile") ? 0 : name == QLatin1String("Form1") ? 1 : 2;
    };
    std::stable_sort(windows.begin(), windows.end(),
                     [&](QMdiSubWindow* a, QMdiSubWindow* b) { return rank(a) < rank(b); });
    return windows;
}

void Tile(QMdiArea& area, bool sideBySide) {
    const QList<QMdiSubWindow*> windows = TiledWindows(area);
    if (windows.isEmpty())
        return;
    const QRect client = area.viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        if (sideBySide) {
            const int left = client.width() * i / count, right = client.width() * (i + 1) / count;
            windows[i]->setGeometry(left, 0, right - left, client.height());
        } else {
            const int top = client.height() * i / count, bottom = client.height() * (i + 1) / count;
            windows[i]->setGeometry(0, top, client.width(), bottom - top);
        }
    }
}

// Each window offset down and to the right from the one before by a title bar's height, all as
// large as the client area leaves room for the offsets, and never below three quarters of it.
// (The area's own cascade sizes each window to its size hint, a few lines of text.)
void Cascade(QMdiArea& area) {
    const QList<QMdiSubWindow*> windows = TiledWindows(area);
    if (windows.isEmpty())
        return;
    const QRect client = area.viewport()->rect();
    const int step = qMax(16, windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight,
                                                                    nullptr, windows.first()));
    const int count = int(windows.size());
    const int width = qMax(client.width() * 3 / 4, client.width() - step * (count - 1));
    const int height = qMax(client.height() * 3 / 4, client.height() - step * (count - 1));
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(step * i, step * i, width, height);
        windows[i]->raise();
    }
    // The window being worked in stays in front: left below the others, a click on its title
    // would not bring it up again, as it is already the active one.
    if (QMdiSubWindow* active = area.activeSubWindow();
        active != nullptr && windows.contains(active))
        active->raise();
}

void CheckOnly(Context& context, QAction* chosen) {
    const Controls& controls = context.controls;
    for (QAction* item : {controls.MenuDisplayCascade, controls.MenuDisplayVertical,
                          controls.MenuDisplayHorizontal}) {
        item->setChecked(item == chosen);
    }
}

}  // namespace

void MenuDisplayCascade_Click(Context& context) {
    Cascade(context.documents.area());
    CheckOnly(context, context.controls.MenuDisplayCascade);
}

void MenuDisplayVertical_Click(Context& context) {
    Tile(context.documents.area(), true);
    CheckOnly(context, context.controls.MenuDisplayVertical);
}

void MenuDisplayHorizontal_Click(Context& context) {
    Tile(context.documents.area(), false);
    CheckOnly(context, context.controls.MenuDisplayHorizontal);
}

void ReapplyArrangement(Context& context) {
    const Controls& controls = context.controls;
    if (controls.MenuDisplayVertical->isChecked())
        MenuDisplayVertical_Click(context);
    if (controls.MenuDisplayHorizontal->isChecked())
        MenuDisplayHorizontal_Click(context);
    if (controls.MenuDisplayCascade->isChecked())
        MenuDisplayCascade_Click(context);
}

}  // namespace qm
