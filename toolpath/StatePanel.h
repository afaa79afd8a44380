#pragma once

#include <QDockWidget>

class QPlainTextEdit;

namespace qm {

// The "In effect" panel: the state in effect at the source window's current line, as the
// converter's --state prints it, in the screen's fixed-pitch font.
class StatePanel : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "In effect";

    explicit StatePanel(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;

  private:
    QPlainTextEdit* text_;
};

}  // namespace qm
