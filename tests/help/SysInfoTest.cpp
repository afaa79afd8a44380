// StartSysInfo's outcomes through the scripted services, and GetKeyValue's contract.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "Registry.h"
#include "ScriptedServices.h"
#include "SysInfo.h"
#include "TempFolder.h"

namespace qm {
namespace {

const QString kUnavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
const QString kMsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// A registry holding the given values, keyed by key path and value name.
class FakeRegistry : public Registry {
  public:
    std::map<std::pair<QString, QString>, RegistryValue> values;
    std::optional<RegistryValue> Query(RegistryRoot, const QString& keyPath,
                                       const QString& valueName) const override {
        const auto found = values.find({keyPath, valueName});
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
};

// StartSysInfo in a folder holding the given programs, with the given registry values.
TEST(SysInfo, StartsTheRegisteredOrFirstExecutableProgramElseShowsTheMessage) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, bool>> programs;  // name, executable
        bool pathRegistered, folderRegistered, startFails;
        const char* started;  // a name in the folder, or a whole path; null: none
    };
    // clang-format off
    const Case cases[] = {
        {"first executable on the path",
         {{"hardinfo2", false}, {"kinfocenter", true}, {"gnome-system-monitor", true}},
         false, false, false, "kinfocenter"},
        {"a program that cannot start", {{"hardinfo", true}}, false, false, true, "hardinfo"},
        {"no program", {}, false, false, false, nullptr},
        {"a registered path, started unchecked; the folder not tried",
         {{"MSINFO32.EXE", true}, {"hardinfo", true}}, true, true, false, "/nowhere/msinfo32"},
        {"a registered folder without the program; the path not tried",
         {{"hardinfo", true}}, false, true, false, nullptr},
        {"a registered folder holding the program",
         {{"MSINFO32.EXE", true}}, false, true, false, "MSINFO32.EXE"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const QString path = QString::fromStdString(folder.path().string());
        for (const auto& [name, executable] : c.programs) {
            test::WriteBytes(folder.File(name), "#!/bin/sh\n");
            std::filesystem::permissions(folder.File(name),
                                         executable ? std::filesystem::perms::owner_all
                                                    : std::filesystem::perms::owner_read);
        }
        FakeRegistry registry;
        if (c.pathRegistered) {
            registry.values[{kMsinfoKey, QStringLiteral("PATH")}] =
                QStringLiteral("/nowhere/msinfo32");
        }
        if (c.folderRegistered)
            registry.values[{kLocationKey, QStringLiteral("MSINFO")}] = path;
        ScriptedServices services;
        if (c.startFails)
            services.nextTaskId = 0;
        StartSysInfo(services, registry, {QStringLiteral("/nonexistent-folder"), path});
        std::vector<QStringList> started;
        if (c.started != nullptr)
            started.push_back({c.started[0] == '/' ? QString(c.started) : path + "/" + c.started});
        EXPECT_EQ(services.programsStarted, started);
        const bool told = c.started == nullptr || c.startFails;
        ASSERT_EQ(services.messages.size(), told ? 1u : 0u);
        if (told) {  // the one message, under the program's title
            EXPECT_TRUE(services.messages[0].prompt == kUnavailable &&
                        services.messages[0].title.isEmpty() &&
                        services.messages[0].buttons == MsgButtons::Ok);
        }
    }
}

TEST(GetKeyValue, FoundTextNumbersOtherTypesAndNothing) {
    const struct {
        const char* name;
        std::optional<RegistryValue> stored;
        bool found;
        QString value;
    } cases[] = {
        {"Text", QString::fromUtf16(u"C:\\Tools\0rest", 13), true, QStringLiteral("C:\\Tools")},
        {"Long", QString(1500, QLatin1Char('a')), true, QString(1024, QLatin1Char('a'))},
        {"Number", std::uint32_t{4096}, true, QStringLiteral("4096")},
        {"Bytes", RegistryOther{}, true, QString()},
        {"None", std::nullopt, false, QString()},
    };
    QString value;
    for (const auto& c : cases) {
        FakeRegistry registry;
        if (c.stored)
            registry.values[{QStringLiteral("K"), c.name}] = *c.stored;
        value = QStringLiteral("stale");
        EXPECT_EQ(
            GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), c.name, value),
            c.found)
            << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
    value = QStringLiteral("stale");
    EXPECT_FALSE(GetKeyValue(PlatformRegistry(), RegistryRoot::LocalMachine, kMsinfoKey,
                             QStringLiteral("PATH"), value));
    EXPECT_TRUE(value.isEmpty());
}

}  // namespace
}  // namespace qm
