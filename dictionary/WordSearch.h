#pragma once

#include "WordDialog.h"

class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;
class QRadioButton;

namespace qm {

// Form4, Word Search: lists the entries whose comments hold the search texts, rebuilt at every
// change, and copies the selected part of the list. Reads the dictionary only. Modal.
class Form4 : public WordDialog {
    Q_OBJECT
public:
    Form4(Context& context, QWidget& mainWindow);

    // Prepares an opening: the caption naming the dictionary, "G-code" and "AND", empty boxes.
    void Open();

    void SearchWords();
    void Command1_Click();  // Copy
    void Command2_Click() override;  // Close

    // The list as built, lines ending in CR LF.
    const QString& ResultList() const { return list_; }

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label3;
    QLineEdit* Text3;
    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QRadioButton* Option5;
    QRadioButton* Option6;
    QLabel* Label2;
    QPlainTextEdit* Text2;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    QRadioButton* NewOption(QWidget* parent, QButtonGroup* group, const char* name, const QString& caption);
    void Arrange();
    char ScopePrefix() const;

    QString list_;
};

}  // namespace qm
