#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Process.h"
#include "TempFolder.h"

namespace qm::test {

inline const std::string kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";

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
    std::string File(std::string_view name) const { return folder_.File(name); }

    TempFolder folder_;
    std::string dictionary_ = folder_.File("Test.dic");
};

}  // namespace qm::test
