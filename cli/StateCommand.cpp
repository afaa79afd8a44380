#include "StateCommand.h"

#include <cstdio>
#include <unordered_map>

#include "ConvertFiles.h"
#include "DictionaryFile.h"
#include "FileAccess.h"
#include "FollowCommands.h"
#include "StateText.h"
#include "StateWords.h"

namespace qm::cli {
namespace {

std::string CommentOf(const std::unordered_map<std::string, std::string>& comments,
                      const std::string& code) {
    for (const std::string& spelling : interp::SpellingsOf(code)) {
        const auto found = comments.find(spelling);
        if (found != comments.end())
            return found->second;
    }
    return {};
}

}  // namespace

int PrintState(const Options& options, const std::string& file, interp::Dialect dialect,
               const interp::FollowResult& result, const std::string& programFolder) {
    const std::string dictionaryPath =
        options.dictionary ? *options.dictionary
                           : DefaultDictionaryPath(file, programFolder, SettingsStore());
    DictionaryTable table;
    const Status status = LoadDictionaryFile(dictionaryPath, table, Readable::FilesAndPipes);
    if (!status.ok()) {
        std::fprintf(stderr, "quillmark-convert: %s\n", status.message().c_str());
        return kDictionaryRefused;
    }
    std::unordered_map<std::string, std::string> comments;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const DictionaryEntry& entry = table.entries[std::size_t(i)];
        if (!entry.word.empty())
            comments.emplace(entry.word, entry.comment);
    }
    const std::uint32_t line = *options.stateLine;
    if (line > result.LineCount()) {
        std::fprintf(stderr, "quillmark-convert: %s: line %u was not followed (%u lines were)\n",
                     file.c_str(), line, result.LineCount());
        return kProblemsFound;
    }
    const std::string text = interp::StateText(
        result, line, dialect, [&](const std::string& code) { return CommentOf(comments, code); });
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kSuccess;
}

}  // namespace qm::cli
