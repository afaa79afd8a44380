#include "DicFileOpen.h"

#include <QFileInfo>

#include "Services.h"

namespace qm {

std::optional<QString> DicFileOpen::ShowOpen(Services& services, const QString& folder) {
    return Remember(services.OpenFileDialog({QString::fromLatin1(kFilter), folder, fileName_, QString()}));
}

std::optional<QString> DicFileOpen::ShowSave(Services& services, const QString& folder) {
    fileName_.clear();
    return Remember(services.SaveFileDialog({QString::fromLatin1(kFilter), folder, QString(), QString()}));
}

std::optional<QString> DicFileOpen::Remember(std::optional<QString> chosen) {
    if (chosen) fileName_ = QFileInfo(*chosen).fileName();
    return chosen;
}

}  // namespace qm
