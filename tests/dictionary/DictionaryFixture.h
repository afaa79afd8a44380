#pragma once

#include <QDialog>
#include <QVariant>

#include "WindowFixture.h"
#include "Context.h"
#include "DictionaryCommands.h"
#include "DictionarySlots.h"

namespace qm::test {

// A started main window with the dictionary commands connected; modal dialogs stay open without
// waiting (scripted services), so a test can work them and close them. Kestrel.dic holds G00 -> RAPID.
class DictionaryFixture : public WindowFixture {
protected:
    // kestrel: other contents for Kestrel.dic, the dictionary start-up loads.
    explicit DictionaryFixture(std::string_view kestrel = {}) {
        if (!kestrel.empty()) WriteBytes(folder_.File("Kestrel.dic"), kestrel);
        window_.StartUp(QString());
    }

    // A dictionary file in the program folder: the header and the given record lines.
    QString WriteDic(std::string_view name, std::string_view records) {
        WriteBytes(folder_.File(name), std::string(kHeader) + std::string(records));
        return Path(name);
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
            EXPECT_EQ(control->property("text").toString(), text) << control->objectName().toStdString();
        }
    }
    void FillTable() {
        for (int i = state_.Dictionary.LastIndex + 1; i < kDictionarySlots; ++i) {
            state_.Dictionary.entries[i] = {0, "W" + std::to_string(i), "c"};
        }
        state_.Dictionary.LastIndex = kDictionarySlots - 1;
    }
    Context& context() { return window_.context(); }

    DictionaryCommands& commands_ = ConnectDictionaryCommands(window_.context(), window_);
};

}  // namespace qm::test
