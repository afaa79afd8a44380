#include "Convert.h"

#include "ProperCase.h"

namespace qm {

namespace {

// What the plain algorithm may still spend: every scan and every replacement of a line costs
// the line's length. Unlimited unless a caller sets it.
thread_local std::size_t* workLeft = nullptr;
struct WorkExhausted {};

void Charge(std::size_t bytes) {
    if (workLeft == nullptr) return;
    if (*workLeft < bytes) throw WorkExhausted{};
    *workLeft -= bytes;
}

void Replace(std::string& line, std::size_t p, std::size_t wordSize, const std::string& insert,
             std::vector<bool>* inserted) {
    Charge(line.size() + insert.size());
    line.replace(p, wordSize, insert);
    if (inserted) {
        inserted->erase(inserted->begin() + p, inserted->begin() + p + wordSize);
        inserted->insert(inserted->begin() + p, insert.size(), true);
    }
}

// The never-ending form: every occurrence of the line as it stands, left to right, the search
// going on behind each inserted comment.
void ReplaceBehind(std::string& line, const std::string& word, const std::string& insert,
                   std::vector<bool>* inserted) {
    for (std::size_t p = line.find(word); p != std::string::npos;
         p = line.find(word, p + insert.size())) {
        Replace(line, p, word.size(), insert, inserted);
    }
}

// Returns false, with the line as it was, when the entry turns out never to end.
bool ReplaceFromStart(std::string& line, const std::string& word, const std::string& insert,
                      std::vector<bool>* inserted) {
    const std::string before = line;
    const std::vector<bool> insertedBefore = inserted ? *inserted : std::vector<bool>();
    std::size_t replacements = 0;
    for (std::size_t p = line.find(word); p != std::string::npos; p = line.find(word)) {
        if (++replacements > before.size()) {
            line = before;
            if (inserted) *inserted = insertedBefore;
            return false;
        }
        Replace(line, p, word.size(), insert, inserted);
    }
    return true;
}

}  // namespace

bool InsertHoldsWord(std::string_view word, std::string_view insert) {
    return !word.empty() && insert.find(word) != std::string_view::npos;
}

std::vector<std::string> EntryInserts(const DictionaryTable& table, bool SpaceAdd) {
    std::vector<std::string> inserts;
    inserts.reserve(table.LastIndex + 1);
    for (int i = 0; i <= table.LastIndex; ++i) {
        inserts.push_back((SpaceAdd ? " " : "") + ProperCase(table.entries[i].comment));
    }
    return inserts;
}

void ConvertLineReference(std::string& line, const DictionaryTable& table,
                          const std::vector<std::string>& inserts, std::vector<bool>* inserted) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty()) continue;
        Charge(line.size());
        if (line.find(word) == std::string::npos) continue;
        if (InsertHoldsWord(word, inserts[i]) ||
            !ReplaceFromStart(line, word, inserts[i], inserted)) {
            ReplaceBehind(line, word, inserts[i], inserted);
        }
    }
}

std::string ConvertReference(std::string_view source, const DictionaryTable& table, bool SpaceAdd) {
    const std::vector<std::string> inserts = EntryInserts(table, SpaceAdd);
    std::string text(source);
    text += "\r\n";
    std::string result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        std::string line = text.substr(start, lineFeed + 1 - start);
        ConvertLineReference(line, table, inserts);
        result += line;
        start = lineFeed + 1;
    }
    return result;
}

std::optional<std::string> ConvertReferenceWithin(std::string_view source, const DictionaryTable& table,
                                                  bool SpaceAdd, std::size_t workBytes) {
    std::size_t left = workBytes;
    workLeft = &left;
    struct Unset {
        ~Unset() { workLeft = nullptr; }
    } unset;
    try {
        return ConvertReference(source, table, SpaceAdd);
    } catch (const WorkExhausted&) {
        return std::nullopt;
    }
}

}  // namespace qm
