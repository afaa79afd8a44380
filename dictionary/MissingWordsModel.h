#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "CodeWords.h"

namespace qm {

// The rows of the Missing Words list: word, count and first line, in the order given.
class MissingWordsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetWords(std::vector<CodeWordTally> words);
    const CodeWordTally& At(int row) const { return words_[std::size_t(row)]; }
    // The row of word, or -1.
    int RowOf(const std::string& word) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<CodeWordTally> words_;
};

}  // namespace qm
