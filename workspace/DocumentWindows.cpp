#include "DocumentWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "ConvertedWindow.h"

namespace qm {

ConvertedWindow& DocumentWindows::Form1() {
    if (form1_.isNull()) {
        form1_ = new ConvertedWindow;
        QMdiSubWindow* frame = area_.addSubWindow(form1_);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        form1_->show();
    }
    return *form1_;
}

}  // namespace qm
