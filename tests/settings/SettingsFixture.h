#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "SettingsStore.h"
#include "TempFolder.h"

namespace qm::test {

// A store that remembers every write in order.
class RecordingStore : public SettingsStore {
  public:
    using SettingsStore::SettingsStore;
    void SaveSetting(const QString& key, const QString& value) override {
        writes.emplace_back(key, value);
        SettingsStore::SaveSetting(key, value);
    }
    QStringList Keys() const {
        QStringList keys;
        for (const auto& write : writes)
            keys << write.first;
        return keys;
    }
    std::vector<std::pair<QString, QString>> writes;
};

// A settings file in a folder of its own, and a store on it.
class SettingsFixture : public ::testing::Test {
  protected:
    std::string Ini() const { return folder_.File("Quillmark.ini"); }

    TempFolder folder_;
    QString file_ = QString::fromStdString(Ini());
    RecordingStore store_{file_};
};

}  // namespace qm::test
