#pragma once

#include <QAction>
#include <QPrinter>

#include "OutputCommands.h"
#include "Process.h"
#include "WindowFixture.h"

namespace qm::test {

// The main window with its output commands, holding the program "G00\r\nM30" converted to
// "Rapid\r\nM30\r\n".
class OutputFixture : public WindowFixture {
  protected:
    void SetUp() override {
        window_.StartUp(QString());
        SetEditorText(context().documents.OriginalFile().Text1(), "G00\r\nM30");
        controls_.MenuRunStart->trigger();
    }
    Context& context() { return window_.context(); }
    QPrinter& printer() { return output_->printer(); }
    QStringList Prompts() const {
        QStringList prompts;
        for (const MessageBoxRequest& request : services_.messages)
            prompts << request.prompt;
        return prompts;
    }
    // File > Save: the source, when it was edited, to `source` (empty: not saved), then the
    // conversion to `converted`.
    void Save(const QString& source, const QString& converted) {
        if (state_.SourceChanged == 1) {
            services_.AnswerMessage(source.isEmpty() ? MsgResult::No : MsgResult::Yes);
            if (!source.isEmpty())
                services_.AnswerFileDialog(source);
        }
        services_.AnswerMessage(MsgResult::Yes);
        services_.AnswerFileDialog(converted);
        controls_.MenuFileSave->trigger();
    }
    // The text of a PDF file as it is laid out on its pages.
    std::string PdfText(std::string_view name) const {
        const ProcessResult pdf =
            RunProcess({"/usr/bin/pdftotext", "-layout", folder_.File(name), "-"});
        EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
        return pdf.out;
    }

    OutputCommands* output_ = new OutputCommands(window_.context(), window_);
};

}  // namespace qm::test
