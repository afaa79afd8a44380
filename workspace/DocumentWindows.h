#pragma once

#include <QPointer>

class QMdiArea;
class QMdiSubWindow;

namespace qm {

class ConvertedWindow;

// The document windows of the main window's MDI area, each created and shown the first time
// any code uses it, and living until the user closes it.
class DocumentWindows {
public:
    explicit DocumentWindows(QMdiArea& area) : area_(area) {}

    // The converted window, created on first use.
    ConvertedWindow& Form1();
    bool HasForm1() const { return !form1_.isNull(); }

private:
    QMdiArea& area_;
    QPointer<ConvertedWindow> form1_;
};

}  // namespace qm
