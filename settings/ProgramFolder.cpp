#include "ProgramFolder.h"

#include <system_error>

#include "FileType.h"

namespace qm {

std::filesystem::path ProgramFolderFor(const std::filesystem::path& executableFolder) {
    std::error_code error;
    if (std::filesystem::exists(executableFolder / kDefaultDicFileName, error)) return executableFolder;
    const std::filesystem::path shared = executableFolder.parent_path() / "share" / "quillmark";
    if (std::filesystem::is_directory(shared, error)) return shared;
    return executableFolder;
}

}  // namespace qm
