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

namespace {

// One line, insertOf(i) giving entry i's insert.
template <typename InsertOf>
void ConvertLine(std::string& line, const DictionaryTable& table, InsertOf&& insertOf, std::vector<bool>* inserted) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty()) continue;
        Charge(line.size());
        if (line.find(word) == std::string::npos) continue;
        const std::string& insert = insertOf(i);
        if (InsertHoldsWord(word, insert) || !ReplaceFromStart(line, word, insert, inserted)) {
            ReplaceBehind(line, word, insert, inserted);
        }
    }
}

template <typename InsertOf>
std::string ConvertText(std::string_view source, const DictionaryTable& table, InsertOf&& insertOf) {
    std::string text(source);
    text += "\r\n";
    std::string result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        std::string line = text.substr(start, lineFeed + 1 - start);
        ConvertLine(line, table, insertOf, nullptr);
        result += line;
        start = lineFeed + 1;
    }
    return result;
}

// Each entry's insert, made the first time a line holds its word: a short program needs few of
// the ten thousand a large dictionary has.
class InsertsOnDemand {
public:
    InsertsOnDemand(const DictionaryTable& table, bool spaceAdd)
        : table_(table), spaceAdd_(spaceAdd), inserts_(std::size_t(table.LastIndex + 1)), made_(inserts_.size()) {}

    const std::string& operator()(int i) {
        if (!made_[std::size_t(i)]) {
            inserts_[std::size_t(i)] = (spaceAdd_ ? " " : "") + ProperCase(table_.entries[i].comment);
            made_[std::size_t(i)] = true;
        }
        return inserts_[std::size_t(i)];
    }

private:
    const DictionaryTable& table_;
    const bool spaceAdd_;
    std::vector<std::string> inserts_;
    std::vector<bool> made_;
};

}  // namespace

void ConvertLineReference(std::string& line, const DictionaryTable& table,
                          const std::vector<std::string>& inserts, std::vector<bool>* inserted) {
    ConvertLine(line, table, [&](int i) -> const std::string& { return inserts[std::size_t(i)]; }, inserted);
}

std::string ConvertReference(std::string_view source, const DictionaryTable& table, bool SpaceAdd) {
    const std::vector<std::string> inserts = EntryInserts(table, SpaceAdd);
    return ConvertText(source, table, [&](int i) -> const std::string& { return inserts[std::size_t(i)]; });
}

std::optional<std::string> ConvertReferenceWithin(std::string_view source, const DictionaryTable& table,
                                                  bool SpaceAdd, std::size_t workBytes) {
    std::size_t left = workBytes;
    workLeft = &left;
    struct Unset {
        ~Unset() { workLeft = nullptr; }
    } unset;
    try {
        return ConvertText(source, table, InsertsOnDemand(table, SpaceAdd));
    } catch (const WorkExhausted&) {
        return std::nullopt;
    }
}

}  // namespace qm
