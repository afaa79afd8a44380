#include "DocumentWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "DocumentWindow.h"

namespace qm {

void DocumentWindows::Show(DocumentWindow& window) {
    QMdiSubWindow* frame = area_.addSubWindow(&window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    if (onCreated) onCreated(window, *frame);
    window.show();
    frame->show();  // a frame added to a shown area stays hidden until shown itself
    if (onShown) onShown(window);
}

ConvertedWindow& DocumentWindows::Form1() {
    if (form1_.isNull()) {
        form1_ = new ConvertedWindow;
        Show(*form1_);
    }
    return *form1_;
}

SourceWindow& DocumentWindows::OriginalFile() {
    if (originalFile_.isNull()) {
        originalFile_ = new SourceWindow;
        if (onSourceCreated) onSourceCreated(*originalFile_);
        Show(*originalFile_);
    }
    return *originalFile_;
}

}  // namespace qm
