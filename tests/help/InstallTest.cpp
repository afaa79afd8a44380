// Installing into a temporary prefix: every file in its place, and the installed converter finds
// its program folder with the default dictionaries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramFolder.h"
#include "Process.h"
#include "TempFolder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    for (std::size_t start = 0, end; start <= folders.size(); start = end + 1) {
        end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        if (fs::exists(fs::path(folders.substr(start, end - start)) / program)) return true;
    }
    return false;
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = new test::TempFolder;
        install_ = new test::ProcessResult(
            test::RunProcess({QM_CMAKE, "--install", QM_BINARY_DIR, "--prefix", prefix_->path().string()}));
    }
    static void TearDownTestSuite() {
        delete install_;
        delete prefix_;
    }
    static fs::path Installed(const std::string& relative) { return prefix_->path() / relative; }
    // The installed converter, with a settings folder of its own.
    static test::ProcessResult Convert(std::vector<std::string> arguments) {
        std::vector<std::string> argv = {"/usr/bin/env", "HOME=" + home_.path().string(),
                                         "XDG_CONFIG_HOME=" + home_.path().string(),
                                         Installed("bin/quillmark-convert").string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return test::RunProcess(argv);
    }

    static inline test::TempFolder* prefix_ = nullptr;
    static inline test::ProcessResult* install_ = nullptr;
    static inline test::TempFolder home_;
};

TEST_F(InstallTest, EveryFileIsInItsPlace) {
    ASSERT_EQ(install_->exitCode, 0) << install_->out << install_->err;
    for (const char* file :
         {"bin/quillmark", "bin/quillmark-convert", "share/quillmark/Kestrel.dic", "share/quillmark/Kestrel-ENG.dic",
          "share/quillmark/Merlin.dic", "share/quillmark/TOP-FILE-ENG.DIC", "share/quillmark/Harrier-ENG.dic",
          "share/quillmark/Loader parameter ENG.dic", "share/quillmark/SAMPLE.MIN", "share/quillmark/SAMPLE.TOP",
          "share/quillmark/SAMPLE.LDR", "share/quillmark/SAMPLE.LPD", "share/quillmark/Quillmark.html",
          "share/quillmark/quillmark-main.png", "share/quillmark/quillmark-reading.png", "share/quillmark/quillmark-about.png",
          "share/applications/quillmark.desktop", "share/mime/packages/quillmark.xml",
          "share/icons/hicolor/scalable/apps/quillmark.svg", "share/man/man1/quillmark-convert.1"}) {
        EXPECT_TRUE(fs::is_regular_file(Installed(file))) << file;
    }
    const auto perms = fs::status(Installed("bin/quillmark-convert")).permissions();
    EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none);
}

TEST_F(InstallTest, TheInstalledConverterFindsItsDefaultDictionaries) {
    ASSERT_EQ(install_->exitCode, 0) << install_->err;
    const fs::path data = Installed("share/quillmark");
    const test::ProcessResult parameters = Convert({(data / "SAMPLE.LPD").string()});
    EXPECT_EQ(parameters.exitCode, 0) << parameters.err;
    EXPECT_NE(parameters.out.find("\r\nLoader Type P2\r\n"), std::string::npos) << parameters.out;
    const test::ProcessResult offsets = Convert({(data / "SAMPLE.TOP").string()});
    EXPECT_EQ(offsets.exitCode, 0) << offsets.err;
    EXPECT_NE(offsets.out.find("\r\nSet Tool Length P1 R125.032\r\n"), std::string::npos) << offsets.out;
    const test::ProcessResult usage = Convert({"--help"});
    EXPECT_NE(usage.out.find(fs::canonical(data).string()), std::string::npos) << usage.out;
}

TEST_F(InstallTest, TheDesktopEntryIsValid) {
    if (!OnPath("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    ASSERT_EQ(install_->exitCode, 0) << install_->err;
    const test::ProcessResult result =
        test::RunProcess({"/usr/bin/env", "desktop-file-validate", Installed("share/applications/quillmark.desktop").string()});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(result.out + result.err, "");  // no warnings either
}

TEST(ProgramFolderFor, BesideTheExecutableElseTheSharedDataFolder) {
    test::TempFolder root;
    const fs::path bin = root.path() / "bin";
    const fs::path shared = root.path() / "share" / "quillmark";
    fs::create_directories(bin);
    EXPECT_EQ(ProgramFolderFor(bin), bin);  // neither: the executable's folder
    fs::create_directories(shared);
    EXPECT_EQ(ProgramFolderFor(bin), shared);
    test::WriteBytes((bin / "Kestrel.dic").string(), "x");
    EXPECT_EQ(ProgramFolderFor(bin), bin);  // the build tree
}

}  // namespace
}  // namespace qm
