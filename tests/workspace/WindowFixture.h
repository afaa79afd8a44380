#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "DocumentWindow.h"
#include "MainWindow.h"
#include "ScriptedServices.h"
#include "TempFolder.h"
#include "TextBridge.h"

namespace qm::test {

// A main window over a temporary program folder holding Kestrel.dic (G00 -> Rapid), with
// scripted services and its own settings file.
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() {
        WriteBytes(folder_.File("Kestrel.dic"), std::string(kHeader) + "0,\"G00\",\"RAPID\"\r\n");
        window_.endProgram = [this] { ++ended_; };
    }

    QString Path(std::string_view name) const { return QString::fromStdString(folder_.File(name)); }
    std::string SourceText() { return EditorText(window_.context().documents.OriginalFile().Text1()); }
    std::string ConvertedText() { return EditorText(window_.context().documents.Form1().Text1()); }
    void TypeIntoSource(const char* text) {
        window_.context().documents.OriginalFile().Text1().SendScintilla(QsciScintillaBase::SCI_ADDTEXT,
                                                                         std::strlen(text), text);
    }
    // Lets events run for about ms milliseconds.
    static void RunEvents(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    static constexpr const char* kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";
    TempFolder folder_;
    AppState state_;
    SettingsStore settings_{Path("Quillmark.ini")};
    ScriptedServices services_;
    MainWindow window_{state_, settings_, services_, QString::fromStdString(folder_.path().string())};
    Controls& controls_ = window_.controls();
    int ended_ = 0;
};

}  // namespace qm::test
