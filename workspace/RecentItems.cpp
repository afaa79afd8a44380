#include "RecentItems.h"

#include <QAction>

namespace qm {
namespace {

constexpr const char* kPathProperty = "recentPath";

}  // namespace

QString ShortenedPath(const QString& path) {
    if (path.size() < 60) return path;
    return path.left(20) + QStringLiteral(".....") + path.right(25);
}

void SetRecentItemPath(QAction& item, const QString& path) {
    QString shown = ShortenedPath(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a path's "&" is no shortcut mark
    item.setText(shown);
    item.setToolTip(path);
    item.setProperty(kPathProperty, path);
}

QString RecentItemPath(const QAction& item) {
    const QVariant path = item.property(kPathProperty);
    return path.isValid() ? path.toString() : item.text();
}

}  // namespace qm
