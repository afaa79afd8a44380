#include "WordSearch.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include "AppState.h"
#include "Context.h"
#include "SearchWords.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {

Form4::Form4(Context& context, QWidget& mainWindow)
    : WordDialog(context, mainWindow, "Form4", QStringLiteral("Word Search")),
      Label1(NewLabel("Label1", QStringLiteral("Search Character 1"))),
      Text1(NewTextBox("Text1")),
      Label3(NewLabel("Label3", QStringLiteral("Search Character 2"))),
      Text3(NewTextBox("Text3")),
      Frame1(new QGroupBox(QStringLiteral("Search"), this)),
      Label2(NewLabel("Label2", QStringLiteral("Find Word"))),
      Text2(new QPlainTextEdit(this)),
      Command1(NewButton("Command1", QStringLiteral("Copy"))),
      Command2(NewButton("Command2", QStringLiteral("Close"))) {
    setModal(true);
    Frame1->setObjectName("Frame1");
    auto* scope = new QButtonGroup(this);
    Option1 = NewOption(Frame1, scope, "Option1", QStringLiteral("G-code"));
    Option2 = NewOption(Frame1, scope, "Option2", QStringLiteral("M-code"));
    Option3 = NewOption(Frame1, scope, "Option3", QStringLiteral("System Var."));
    Option4 = NewOption(Frame1, scope, "Option4", QStringLiteral("All"));
    auto* mode = new QButtonGroup(this);
    Option5 = NewOption(this, mode, "Option5", QStringLiteral("AND"));
    Option6 = NewOption(this, mode, "Option6", QStringLiteral("OR"));
    Option6->setToolTip(QStringLiteral("”ねじ”と”ネジ”の様にどちらでも検索したい時に選択してください。"));
    Text2->setObjectName("Text2");
    Text2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1->setToolTip(QStringLiteral("コピーする所をマウスでドラッグした後押してください。"));
    Arrange();
    connect(Text1, &QLineEdit::textChanged, this, [this] { SearchWords(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { SearchWords(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

QRadioButton* Form4::NewOption(QWidget* parent, QButtonGroup* group, const char* name, const QString& caption) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    group->addButton(option);
    connect(option, &QRadioButton::clicked, this, [this] { SearchWords(); });
    return option;
}

void Form4::Arrange() {
    auto* scope = new QHBoxLayout(Frame1);
    for (QRadioButton* option : {Option1, Option2, Option3, Option4}) scope->addWidget(option);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1, 1, 3);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Text3, 1, 1, 1, 3);
    grid->addWidget(Frame1, 2, 0, 1, 2);
    grid->addWidget(Option5, 2, 2);
    grid->addWidget(Option6, 2, 3);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(Text2, 4, 0, 1, 4);
    grid->addWidget(Command1, 5, 2);
    grid->addWidget(Command2, 5, 3);
    Text2->setMinimumSize(480, 240);
}

void Form4::Open() {
    setWindowTitle(QStringLiteral("Word Sarch ") + context_.state.DicFileName);
    Option1->setChecked(true);
    Option5->setChecked(true);
    Text1->clear();
    Text3->clear();
    SearchWords();
    Text1->setFocus();
}

char Form4::ScopePrefix() const {
    if (Option1->isChecked()) return 'G';
    if (Option2->isChecked()) return 'M';
    if (Option3->isChecked()) return 'V';
    return 0;
}

void Form4::SearchWords() {
    const std::string text1 = FromQString(Text1->text());
    const std::string text3 = FromQString(Text3->text());
    const WordQuery query{text1, text3, ScopePrefix(), Option6->isChecked()};
    list_ = ToQString(qm::SearchWords(context_.state.Dictionary, query));
    Text2->setPlainText(list_);
}

void Form4::Command1_Click() {
    // The box holds paragraphs; the clipboard gets the lines as the list has them.
    QString selected = Text2->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    context_.services.ClipboardClear();
    context_.services.ClipboardSetText(selected);
}

void Form4::Command2_Click() {
    HideDialog();
    context_.services.SetBusy(false, &mainWindow_);
}

}  // namespace qm
