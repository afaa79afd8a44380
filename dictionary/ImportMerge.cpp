#include "ImportMerge.h"

#include "WordLookup.h"

namespace qm {

MergeOutcome MergeRecord(DictionaryTable& table, const DictionaryEntry& imported) {
    const int found = FindWord(table, imported.word);
    if (found >= 0) {
        const bool same = table.entries[found].comment == imported.comment;
        return {same ? MergeStep::Same : MergeStep::Differs, found};
    }
    if (!table.Append(imported)) return {MergeStep::Full, -1};
    return {MergeStep::Added, table.LastIndex};
}

}  // namespace qm
