#pragma once

#include <QHash>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

namespace qm {

// The per-user settings: text values under the application "Quillmark", section "Settings",
// kept in an INI file ($XDG_CONFIG_HOME/Quillmark/Quillmark.ini by default).
//
// Keys are matched without regard to letter case: a value written as "SUBdic" is read as
// "SUBDic", a hand-edited file may spell keys any way, and a write replaces the value under the
// spelling the file already has, so the file never holds two spellings of one key. Every write
// reaches the disk at once; the file is replaced whole, never left cut.
class SettingsStore {
public:
    static constexpr const char* kApplicationName = "Quillmark";
    static constexpr const char* kSection = "Settings";

    // The store in the user's configuration folder.
    SettingsStore();
    // A store kept in the given INI file (for tests and tools).
    explicit SettingsStore(const QString& iniFile);
    virtual ~SettingsStore();

    // The stored text, or defaultValue when the key has no value. Never writes.
    virtual QString GetSetting(const QString& key, const QString& defaultValue) const;
    // Stores the text under the key at once.
    virtual void SaveSetting(const QString& key, const QString& value);

    // The file the values are kept in.
    QString fileName() const;

    // Empty, or why the file was skipped: one that is not a plain file (a named pipe, which
    // would keep the program waiting for a writer, a folder, a device) is neither read nor
    // written, and the values live only as long as the store.
    const QString& problem() const { return problem_; }

    // The default INI file of the current user.
    static QString DefaultFileName();

private:
    // The key as the file spells it, or key itself when the file has no such key.
    QString StoredSpelling(const QString& key) const;

    std::unique_ptr<QSettings> settings_;  // null when the file was skipped
    // The file's spelling of each key, by the key in lower case; made at the second look for a
    // key the file does not spell as asked, so that a file of many keys is not gone through again
    // for every key the window reads.
    mutable std::optional<QHash<QString, QString>> spellings_;
    mutable bool lookedThrough_ = false;
    QHash<QString, QString> unkept_;       // then the values, by their key in lower case
    QString problem_;
};

}  // namespace qm
