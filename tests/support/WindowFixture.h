#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>

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
    // A dictionary file in the program folder: the header and the given record lines.
    QString WriteDic(std::string_view name, std::string_view records) {
        WriteBytes(folder_.File(name), std::string(kHeader) + std::string(records));
        return Path(name);
    }
    QString Folder() const { return QString::fromStdString(folder_.path().string()); }
    Context& context() { return window_.context(); }
    QsciScintilla& Source() { return context().documents.OriginalFile().Text1(); }
    QsciScintilla& Converted() { return context().documents.Form1().Text1(); }
    std::string SourceText() { return EditorText(Source()); }
    std::string ConvertedText() { return EditorText(Converted()); }
    static long CaretLine(QsciScintilla& editor) {
        int line = 0, column = 0;
        editor.getCursorPosition(&line, &column);
        return line;
    }
    static long FirstLine(QsciScintilla& editor) {
        return editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    }
    void TypeIntoSource(const char* text) {
        Source().SendScintilla(QsciScintillaBase::SCI_ADDTEXT, std::strlen(text), text);
    }
    // The frame of the main window's MDI area that holds the document, or null.
    QMdiSubWindow* FrameOf(const QWidget& document) {
        for (QMdiSubWindow* frame : window_.mdiArea().subWindowList()) {
            if (frame->widget() == &document)
                return frame;
        }
        return nullptr;
    }
    // Closes the document's frame as its close button does.
    void CloseFrameOf(const QWidget& document) {
        FrameOf(document)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Lets events run for about ms milliseconds.
    static void RunEvents(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    static constexpr const char* kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";
    TempFolder folder_;
    AppState state_;
    SettingsStore settings_{Path("Quillmark.ini")};
    ScriptedServices services_;
    MainWindow window_{state_, settings_, services_, Folder()};
    Controls& controls_ = window_.controls();
    int ended_ = 0;
};

}  // namespace qm::test
