#pragma once

#include <QWidget>

class QsciScintilla;

namespace qm {

// Form1, the converted window: shows the converted program. Its caption names the dictionary.
class ConvertedWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConvertedWindow(QWidget* parent = nullptr);

    QsciScintilla& Text1() { return *text1_; }

private:
    QsciScintilla* text1_;
};

}  // namespace qm
