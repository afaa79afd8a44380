#pragma once

#include <string>

#include "WordDialog.h"

namespace qm {

// Form2, Word Registration: adds a word with its comment to the dictionary, or replaces the
// comment of a word already there, and writes the dictionary file at once. Modal.
class Form2 : public WordDialog {
    Q_OBJECT
public:
    Form2(Context& context, QWidget& mainWindow);

    // Prepares an opening: the busy pointer on the main window, the caption naming the
    // dictionary, the number of words, and the word selected in the active document window.
    void Open();
    // The same with the given word in place of the selection.
    void Open(const std::string& word);

    void Text1_Change();
    void Text2_Change();
    void Text1_KeyEnter();
    void Text2_KeyEnter();
    void Command1_Click();  // ADD
    void Command2_Click() override;  // Close

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* Command1;
    QPushButton* Command2;

signals:
    // ADD has written a word to the dictionary file and read the file again.
    void wordAdded();

private:
    // Puts word and comment into the table; false when the user or the table said no.
    bool Register(const std::string& word, const std::string& comment);
    void ShowCount();
};

}  // namespace qm
