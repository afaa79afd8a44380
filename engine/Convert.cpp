#include "Convert.h"

#include <vector>

#include "ProperCase.h"

namespace qm {

std::string ConvertReference(std::string_view source, const DictionaryTable& table, bool SpaceAdd) {
    std::vector<std::string> inserts;  // per entry: the text that takes the word's place
    for (int i = 0; i <= table.LastIndex; ++i) {
        inserts.push_back((SpaceAdd ? " " : "") + ProperCase(table.entries[i].comment));
    }
    std::string text(source);
    text += "\r\n";
    std::string result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        std::string line = text.substr(start, lineFeed + 1 - start);
        for (int i = 0; i <= table.LastIndex; ++i) {
            const std::string& word = table.entries[i].word;
            if (word.empty()) continue;
            for (std::size_t p = line.find(word); p != std::string::npos;
                 p = line.find(word, p + inserts[i].size())) {
                line.replace(p, word.size(), inserts[i]);
            }
        }
        result += line;
        start = lineFeed + 1;
    }
    return result;
}

}  // namespace qm
