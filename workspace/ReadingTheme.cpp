#include "ReadingTheme.h"

#include <QPalette>

#include <cmath>

namespace qm {
namespace {

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

QColor Mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(float(a.redF() * (1 - share) + b.redF() * share),
                            float(a.greenF() * (1 - share) + b.greenF() * share),
                            float(a.blueF() * (1 - share) + b.blueF() * share));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ReadingTheme ReadingTheme::For(const QPalette& palette) {
    ReadingTheme theme;
    theme.paper = palette.color(QPalette::Active, QPalette::Base);
    theme.text = palette.color(QPalette::Active, QPalette::Text);
    theme.dark = Luminance(theme.paper) < Luminance(theme.text);
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    theme.currentLine = Mix(theme.paper, highlight, theme.dark ? 0.28 : 0.12);
    theme.lineNumberPaper = Mix(theme.paper, theme.text, 0.07);
    theme.lineNumbers = Mix(theme.paper, theme.text, theme.dark ? 0.62 : 0.55);
    if (theme.dark) {
        theme.insertedComment = QColor(0x2d, 0x4a, 0x33);
        theme.gCode = QColor(0x7c, 0xb7, 0xff);
        theme.mCode = QColor(0xe5, 0x9c, 0xf5);
        theme.address = QColor(0xe8, 0xc0, 0x7a);
        theme.comment = QColor(0x8f, 0xce, 0x8c);
        theme.variable = QColor(0xff, 0x9a, 0x80);
    } else {
        theme.insertedComment = QColor(0xdd, 0xf3, 0xdf);
        theme.gCode = QColor(0x0b, 0x4f, 0xc4);
        theme.mCode = QColor(0x8e, 0x22, 0xa6);
        theme.address = QColor(0x8a, 0x4b, 0x00);
        theme.comment = QColor(0x2e, 0x6b, 0x30);
        theme.variable = QColor(0xb3, 0x26, 0x1e);
    }
    return theme;
}

}  // namespace qm
