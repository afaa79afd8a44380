#include "ProgramDialect.h"

#include "SettingsStore.h"

namespace qm {

std::string_view DefaultDialectFor(std::string_view key) {
    if (key == "TOP" || key == "LDR" || key == "LPD") return kDialectNone;
    if (key.empty() || key == "NC" || key == "NGC" || key == "GCODE" || key == "TAP") return kDialectRs274ngc;
    return kDialectFanuc;
}

QString DialectKey(std::string_view key) {
    return QStringLiteral("Dialect") + (key.empty() ? QStringLiteral("NON") : QString::fromUtf8(key.data(), qsizetype(key.size())));
}

std::string DialectForType(const SettingsStore& store, std::string_view key) {
    const std::string fallback(DefaultDialectFor(key));
    const std::string stored = store.GetSetting(DialectKey(key), QString::fromStdString(fallback)).toStdString();
    if (stored == kDialectRs274ngc || stored == kDialectFanuc || stored == kDialectNone) return stored;
    return fallback;
}

void SaveDialectForType(SettingsStore& store, std::string_view key, std::string_view dialect) {
    store.SaveSetting(DialectKey(key), QString::fromUtf8(dialect.data(), qsizetype(dialect.size())));
}

}  // namespace qm
