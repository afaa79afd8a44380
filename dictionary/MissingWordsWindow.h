#pragma once

#include <functional>
#include <string>

#include "WordDialog.h"

class QTreeView;

namespace qm {

class MissingWordsModel;

// Missing Words: the code words of the program in the source window that the current dictionary
// lacks, as the last conversion found them, with their count and first line. Modeless; follows
// every conversion while it is open. Double-click or Enter on a word shows its first line in
// both document windows; Register… hands the word to word registration.
class MissingWordsWindow : public WordDialog {
    Q_OBJECT
  public:
    // registerWord opens word registration for a word.
    MissingWordsWindow(Context& context, QWidget& mainWindow,
                       std::function<void(const std::string&)> registerWord);

    // Shows the window, filled from the last conversion, or brings it to the front.
    void Open();
    // Fills the list from the last conversion, keeping the chosen word, or else its row.
    void Refresh();
    // Moves the source and the converted window to the first line of the word in row.
    void GoToFirstLine(int row);

    void Command1_Click();           // Register…
    void Command2_Click() override;  // Close

    int CurrentRow() const;
    void SetCurrentRow(int row);
    const MissingWordsModel& model() const { return *model_; }

    QLabel* Label1;
    QTreeView* List1;
    QPushButton* Command1;
    QPushButton* Command2;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowCurrentState();

    std::function<void(const std::string&)> registerWord_;
    MissingWordsModel* model_;
};

}  // namespace qm
