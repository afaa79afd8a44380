#pragma once

#include <QString>

#include <string>

namespace qm {

// Paths as the engine takes them (the file system's bytes) and back.
std::string EnginePath(const QString& path);
QString FromEngineText(const std::string& text);

}  // namespace qm
