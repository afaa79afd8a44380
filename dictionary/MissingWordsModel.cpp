#include "MissingWordsModel.h"

#include <algorithm>

namespace qm {
namespace {

enum Column { kWord, kCount, kFirstLine, kColumns };

}  // namespace

void MissingWordsModel::SetWords(std::vector<CodeWordTally> words) {
    beginResetModel();
    words_ = std::move(words);
    endResetModel();
}

int MissingWordsModel::RowOf(const std::string& word) const {
    const auto found = std::find_if(words_.begin(), words_.end(),
                                    [&](const CodeWordTally& tally) { return tally.word == word; });
    return found == words_.end() ? -1 : int(found - words_.begin());
}

int MissingWordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(words_.size());
}

int MissingWordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant MissingWordsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CodeWordTally& tally = At(index.row());
    if (role == Qt::TextAlignmentRole && index.column() != kWord) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
        case kWord:
            return QString::fromStdString(tally.word);  // code words are plain ASCII
        case kCount:
            return QString::number(tally.count);
        case kFirstLine:
            return QString::number(tally.firstLine);
        default:
            return {};
    }
}

QVariant MissingWordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case kWord:
            return QStringLiteral("Word");
        case kCount:
            return QStringLiteral("Count");
        case kFirstLine:
            return QStringLiteral("First line");
        default:
            return {};
    }
}

}  // namespace qm
