#pragma once

#include <filesystem>

namespace qm {

// The program folder, which holds the default dictionaries, the samples and the manual. In the
// build tree they lie beside the executables; installed, the executables are in <prefix>/bin and
// the data in <prefix>/share/quillmark. Given the folder of the running executable: that folder
// when it holds the first default dictionary, else <folder>/../share/quillmark when that
// exists, else the executable's folder itself.
std::filesystem::path ProgramFolderFor(const std::filesystem::path& executableFolder);

}  // namespace qm
