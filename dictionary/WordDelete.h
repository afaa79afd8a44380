#pragma once

#include "WordDialog.h"

namespace qm {

// Form3, Word Delete: removes the word typed, with its comment, from the dictionary and writes
// the dictionary file at once, without asking. Modal.
class Form3 : public WordDialog {
    Q_OBJECT
public:
    Form3(Context& context, QWidget& mainWindow);

    // Prepares an opening: the busy pointer on the main window, the caption naming the
    // dictionary, the number of words, an empty word box.
    void Open();

    void Text1_Change();
    void Text1_KeyEnter();
    void Command1_Click();  // Delete
    void Command2_Click() override;  // Close

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label3;
    QLabel* Label5;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    void ShowCount();

    int matched_ = -1;  // the entry Text1 last matched; valid while Delete is enabled
};

}  // namespace qm
