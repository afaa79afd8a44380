#include "ConvertedWindow.h"

#include <QVBoxLayout>

#include <Qsci/qsciscintilla.h>

namespace qm {

ConvertedWindow::ConvertedWindow(QWidget* parent) : QWidget(parent), text1_(new QsciScintilla(this)) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("After"));
    text1_->setObjectName("Text1");
    text1_->setUtf8(true);
    text1_->setEolMode(QsciScintilla::EolWindows);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text1_);
}

}  // namespace qm
