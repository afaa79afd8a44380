#pragma once

#include <QColor>

class QPalette;

namespace qm {

// The colours of the reading aids, chosen for the desktop's light or dark theme so that every
// coloured text stays readable on its paper.
struct ReadingTheme {
    bool dark = false;
    QColor paper, text;
    QColor currentLine;  // background of the line with the caret
    QColor lineNumbers, lineNumberPaper;
    QColor insertedComment;  // background of the comments the dictionary inserted
    // Source window: G codes, M codes, other address words, NC comments, # variables.
    QColor gCode, mCode, address, comment, variable;

    static ReadingTheme For(const QPalette& palette);
};

// The contrast ratio of two colours (1 to 21), as readability guidelines measure it.
double ContrastRatio(const QColor& a, const QColor& b);

}  // namespace qm
