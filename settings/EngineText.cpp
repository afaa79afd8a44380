#include "EngineText.h"

#include <QFile>

namespace qm {

std::string EnginePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromEngineText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace qm
