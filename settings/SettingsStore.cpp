#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qm {

SettingsStore::SettingsStore() : SettingsStore(DefaultFileName()) {}

SettingsStore::SettingsStore(const QString& iniFile) {
    const QFileInfo file(iniFile);
    if (file.exists() && !file.isFile()) {
        problem_ = QStringLiteral("The settings file %1 is not a plain file; it was skipped, and settings "
                                  "are not kept this time.")
                       .arg(iniFile);
        return;
    }
    settings_ = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    settings_->beginGroup(kSection);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::DefaultFileName() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("%1/%1.ini").arg(kApplicationName));
}

QString SettingsStore::fileName() const { return settings_ ? settings_->fileName() : QString(); }

QString SettingsStore::StoredSpelling(const QString& key) const {
    if (settings_->contains(key)) return key;
    if (!spellings_ && !lookedThrough_) {  // a single look goes through the keys as they are
        lookedThrough_ = true;
        const QStringList keys = settings_->childKeys();
        for (const QString& stored : keys) {
            if (stored.compare(key, Qt::CaseInsensitive) == 0) return stored;
        }
        return key;
    }
    if (!spellings_) {
        spellings_.emplace();
        const QStringList keys = settings_->childKeys();
        for (const QString& stored : keys) {
            const QString lower = stored.toLower();
            if (!spellings_->contains(lower)) spellings_->insert(lower, stored);  // the first of twins
        }
    }
    return spellings_->value(key.toLower(), key);
}

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const {
    if (!settings_) return unkept_.value(key.toLower(), defaultValue);
    const QVariant value = settings_->value(StoredSpelling(key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited value with unquoted commas reads as a list: take it back as written.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString& key, const QString& value) {
    if (!settings_) {
        unkept_.insert(key.toLower(), value);
        return;
    }
    const QString spelling = StoredSpelling(key);
    settings_->setValue(spelling, value);
    if (spellings_) spellings_->insert(key.toLower(), spelling);
    settings_->sync();
}

}  // namespace qm
