#pragma once

#include <QString>

class QAction;

namespace qm {

// A path as captions and menus show it: as it is when shorter than 60 characters, otherwise its
// first 20 and last 25 characters around ".....", so that a deep path does not widen the
// window or the menu beyond the screen.
QString ShortenedPath(const QString& path);

// The recent-program and recent-dictionary menu items show the shortened path and keep the
// whole one. A free item shows, and yields, its placeholder ("RecentFile1", "DicFile1").
void SetRecentItemPath(QAction& item, const QString& path);
QString RecentItemPath(const QAction& item);

}  // namespace qm
