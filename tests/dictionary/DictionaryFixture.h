#pragma once

#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include "Context.h"
#include "DictionaryCommands.h"
#include "DictionarySlots.h"
#include "WindowFixture.h"
#include "WordDelete.h"
#include "WordRegistration.h"

namespace qm::test {

// A started main window with the dictionary commands connected; modal dialogs stay open without
// waiting (scripted services), so a test can work them and close them. Kestrel.dic holds G00 ->
// RAPID.
class DictionaryFixture : public WindowFixture {
  protected:
    // kestrel: other contents for Kestrel.dic, the dictionary start-up loads.
    explicit DictionaryFixture(std::string_view kestrel = {}) {
        if (!kestrel.empty())
            WriteBytes(folder_.File("Kestrel.dic"), kestrel);
        window_.StartUp(QString());
    }

    void LoadKestrel(std::string_view records) {
        WriteDic("Kestrel.dic", records);
        LoadDictionary(window_.context());
    }
    std::string FileText(std::string_view name) const { return ReadBytes(folder_.File(name)); }
    // The table in order, "word=comment" separated by blanks.
    std::string Table() const {
        std::string all;
        for (int i = 0; i <= state_.Dictionary.LastIndex; ++i) {
            const DictionaryEntry& e = state_.Dictionary.entries[i];
            all += (all.empty() ? "" : " ") + e.word + "=" + e.comment;
        }
        return all;
    }
    // The text each control shows: label, button, option or text box.
    static void ExpectTexts(std::initializer_list<std::pair<QObject*, QString>> controls) {
        for (const auto& [control, text] : controls) {
            EXPECT_EQ(control->property("text").toString(), text)
                << control->objectName().toStdString();
        }
    }
    void FillTable() {
        for (int i = state_.Dictionary.LastIndex + 1; i < kDictionarySlots; ++i) {
            state_.Dictionary.entries[i] = {0, "W" + std::to_string(i), "c"};
        }
        state_.Dictionary.LastIndex = kDictionarySlots - 1;
    }
    // Word Registration (opened unless it is open): both boxes typed, the comment after
    // something typed and erased, and ADD pressed.
    void Register(const char* word, const char* comment) {
        Form2& form = commands_.form2();
        if (!form.isVisible())
            controls_.MenuDicWord->trigger();
        form.Text1->setText(QString::fromUtf8(word));
        form.Text2->setText("typed");
        form.Text2->setText(QString::fromUtf8(comment));
        form.Command1->click();
    }
    // Word Delete of the word.
    void Delete(const char* word) {
        if (!commands_.form3().isVisible())
            controls_.MenuDicDelete->trigger();
        commands_.form3().Text1->setText(word);
        commands_.form3().Command1->click();
    }
    static void PressEnter(QWidget* widget) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
    }

    DictionaryCommands& commands_ = ConnectDictionaryCommands(window_.context(), window_);
};

}  // namespace qm::test
