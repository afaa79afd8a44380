#include "StatePanel.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace qm {

StatePanel::StatePanel(QWidget* parent)
    : QDockWidget(QString::fromUtf8(kCaption), parent), text_(new QPlainTextEdit(this)) {
    setObjectName("StatePanel");
    setAllowedAreas(Qt::AllDockWidgetAreas);
    text_->setObjectName("StateText");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setAccessibleName(QString::fromUtf8(kCaption));
    setWidget(text_);
}

void StatePanel::SetText(const QString& text) {
    if (text_->toPlainText() != text) text_->setPlainText(text);
}

QString StatePanel::Text() const { return text_->toPlainText(); }

}  // namespace qm
