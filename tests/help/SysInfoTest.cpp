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
    std::optional<RegistryValue> Query(RegistryRoot, const QString& keyPath, const QString& valueName) const override {
        const auto found = values.find({keyPath, valueName});
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
};

class SysInfoTest : public ::testing::Test {
protected:
    QString MakeProgram(const char* name, bool executable) {
        const std::string path = folder_.File(name);
        test::WriteBytes(path, "#!/bin/sh\n");
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read);
        return QString::fromStdString(path);
    }
    QStringList Folders() const { return {QStringLiteral("/nonexistent-folder"), QString::fromStdString(folder_.path().string())}; }
    void ExpectUnavailableMessage() {
        ASSERT_EQ(services_.messages.size(), 1u);
        EXPECT_EQ(services_.messages[0].prompt, kUnavailable);
        EXPECT_TRUE(services_.messages[0].title.isEmpty());  // the program title
        EXPECT_EQ(services_.messages[0].buttons, MsgButtons::Ok);
    }

    test::TempFolder folder_;
    ScriptedServices services_;
    PlatformRegistry noRegistry_;
};

TEST_F(SysInfoTest, TheFirstExecutableProgramOnThePathIsStarted) {
    MakeProgram("hardinfo2", false);  // present, but not executable
    const QString program = MakeProgram("kinfocenter", true);
    MakeProgram("gnome-system-monitor", true);
    StartSysInfo(services_, noRegistry_, Folders());
    ASSERT_EQ(services_.programsStarted.size(), 1u);
    EXPECT_EQ(services_.programsStarted[0], QStringList{program});
    EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SysInfoTest, AProgramThatCannotStartEndsInTheMessage) {
    MakeProgram("hardinfo", true);
    services_.nextTaskId = 0;  // the start fails
    StartSysInfo(services_, noRegistry_, Folders());
    EXPECT_EQ(services_.programsStarted.size(), 1u);
    ExpectUnavailableMessage();
}

TEST_F(SysInfoTest, NoProgramEndsInTheMessage) {
    StartSysInfo(services_, noRegistry_, Folders());
    EXPECT_TRUE(services_.programsStarted.empty());
    ExpectUnavailableMessage();
}

TEST_F(SysInfoTest, ARegisteredPathIsStartedUncheckedAndTheSecondLookUpIsNotTried) {
    FakeRegistry registry;
    registry.values[{kMsinfoKey, QStringLiteral("PATH")}] = QStringLiteral("/nowhere/msinfo32");
    registry.values[{kLocationKey, QStringLiteral("MSINFO")}] = QString::fromStdString(folder_.path().string());
    MakeProgram("MSINFO32.EXE", true);
    MakeProgram("hardinfo", true);
    StartSysInfo(services_, registry, Folders());
    ASSERT_EQ(services_.programsStarted.size(), 1u);
    EXPECT_EQ(services_.programsStarted[0], QStringList{QStringLiteral("/nowhere/msinfo32")});
}

TEST_F(SysInfoTest, ARegisteredFolderMustHoldTheProgram) {
    FakeRegistry registry;
    registry.values[{kLocationKey, QStringLiteral("MSINFO")}] = QString::fromStdString(folder_.path().string());
    MakeProgram("hardinfo", true);  // not looked for: the registry answered
    StartSysInfo(services_, registry, Folders());
    EXPECT_TRUE(services_.programsStarted.empty());
    ExpectUnavailableMessage();

    services_.messages.clear();
    const QString program = MakeProgram("MSINFO32.EXE", true);
    StartSysInfo(services_, registry, Folders());
    ASSERT_EQ(services_.programsStarted.size(), 1u);
    EXPECT_EQ(services_.programsStarted[0], QStringList{program});
    EXPECT_TRUE(services_.messages.empty());
}

TEST(GetKeyValue, FoundTextNumbersOtherTypesAndNothing) {
    FakeRegistry registry;
    registry.values[{QStringLiteral("K"), QStringLiteral("Text")}] = QString::fromUtf16(u"C:\\Tools\0rest", 13);
    registry.values[{QStringLiteral("K"), QStringLiteral("Long")}] = QString(1500, QLatin1Char('a'));
    registry.values[{QStringLiteral("K"), QStringLiteral("Number")}] = std::uint32_t{4096};
    registry.values[{QStringLiteral("K"), QStringLiteral("Bytes")}] = RegistryOther{};

    QString value = QStringLiteral("stale");
    EXPECT_TRUE(GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("Text"), value));
    EXPECT_EQ(value, QStringLiteral("C:\\Tools"));
    EXPECT_TRUE(GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("Long"), value));
    EXPECT_EQ(value.size(), 1024);
    EXPECT_TRUE(GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("Number"), value));
    EXPECT_EQ(value, QStringLiteral("4096"));
    value = QStringLiteral("stale");
    EXPECT_TRUE(GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("Bytes"), value));
    EXPECT_TRUE(value.isEmpty());
    value = QStringLiteral("stale");
    EXPECT_FALSE(GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("None"), value));
    EXPECT_TRUE(value.isEmpty());
    value = QStringLiteral("stale");
    EXPECT_FALSE(GetKeyValue(PlatformRegistry(), RegistryRoot::LocalMachine, kMsinfoKey, QStringLiteral("PATH"), value));
    EXPECT_TRUE(value.isEmpty());
}

}  // namespace
}  // namespace qm
