#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Process.h"
#include "TempFolder.h"

namespace qm::test {

using ::testing::HasSubstr;

inline const std::string kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";
inline const std::string kShujikuSjis = "\x8E\xE5\x8E\xB2";  // 主軸
inline const std::string kShujikuUtf8 = "\xE4\xB8\xBB\xE8\xBB\xB8";

inline std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// A shell prefix under which any single allocation above `megabytes` fails as a shortage of
// memory does (see AllocationLimit.h).
inline std::string AllocationsAbove(int megabytes) {
    return "LD_PRELOAD=" + Quoted(QM_MALLOC_NEW) +
           " ASAN_OPTIONS=verify_asan_link_order=0:allocator_may_return_null=1:max_allocation_size_"
           "mb=" +
           std::to_string(megabytes) + " ";
}

// Text repeated until it holds at least `bytes` bytes.
inline std::string Repeated(std::string_view piece, std::size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += piece;
    return text;
}

// Runs quillmark-convert in a folder of its own, with settings of its own (the converter reads
// the user's settings) and the dictionary Test.dic holding the given entries.
class ConverterFixture : public ::testing::Test {
  protected:
    explicit ConverterFixture(const std::string& entries) {
        ::setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
        WriteBytes(dictionary_, kHeader + entries);
    }

    ProcessResult Run(std::vector<std::string> args, std::string_view input = {}) {
        args.insert(args.begin(), QM_CONVERTER);
        return RunProcess(args, input);
    }
    // A bash command line run in the test's folder; `convert` stands for the converter, which
    // nothing may keep waiting.
    ProcessResult Shell(const std::string& script) {
        return RunProcess({"/bin/bash", "-c",
                           "cd " + Quoted(folder_.path().string()) +
                               " && convert() { timeout 120 " + Quoted(QM_CONVERTER) +
                               " \"$@\"; }; " + script});
    }
    std::string File(std::string_view name) const { return folder_.File(name); }
    // Writes a file of the test's folder and gives its path.
    std::string Program(std::string_view name, std::string_view text) {
        WriteBytes(File(name), text);
        return File(name);
    }
    void WriteSettings(const std::string& lines) {
        std::filesystem::create_directories(File("config/Quillmark"));
        WriteBytes(File("config/Quillmark/Quillmark.ini"), "[Settings]\n" + lines);
    }
    // The hidden (temporary) files left in a folder.
    static std::vector<std::string> LeftBehind(const std::string& folder) {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename().string().starts_with("."))
                left.push_back(entry.path().filename().string());
        }
        return left;
    }

    TempFolder folder_;
    std::string dictionary_ = folder_.File("Test.dic");
};

}  // namespace qm::test
