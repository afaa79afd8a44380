#pragma once

#include <QPointer>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace qm {

class ConvertedWindow;
class DocumentWindow;
class SourceWindow;

// The document windows of the main window's MDI area, each created and shown the first time
// any code uses it, and created afresh after the user closed it.
class DocumentWindows {
public:
    explicit DocumentWindows(QMdiArea& area) : area_(area) {}

    // The converted window Form1 and the source window OriginalFile, created on first use.
    ConvertedWindow& Form1();
    SourceWindow& OriginalFile();
    bool HasForm1() const { return !form1_.isNull(); }
    bool HasOriginalFile() const { return !originalFile_.isNull(); }

    QMdiArea& area() { return area_; }

    // Called for each window when it is created, in its frame, before it shows.
    std::function<void(DocumentWindow&, QMdiSubWindow&)> onCreated;
    std::function<void(SourceWindow&)> onSourceCreated;
    // Called for each window once it shows, the first time and after it was closed.
    std::function<void(DocumentWindow&)> onShown;

private:
    void Show(DocumentWindow& window);

    QMdiArea& area_;
    QPointer<ConvertedWindow> form1_;
    QPointer<SourceWindow> originalFile_;
};

}  // namespace qm
