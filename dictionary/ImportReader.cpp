#include "ImportReader.h"

#include <utility>

namespace qm {

ImportReader::ImportReader(std::string text, std::string source)
    : text_(std::move(text)), source_(std::move(source)), records_(text_, source_) {}

bool ImportReader::Next(DictionaryEntry& entry) {
    if (!error_.ok() || !records_.Next(entry)) return false;
    for (const std::string* field : {&entry.word, &entry.comment}) {
        if (field->find_first_of("\"\r") != std::string::npos) {
            error_ = Status::Fail(source_ + ", line " + std::to_string(line()) + ": the field \"" + *field +
                                  "\" holds a double quote or a carriage return, which a dictionary cannot hold.");
            return false;
        }
    }
    return true;
}

}  // namespace qm
