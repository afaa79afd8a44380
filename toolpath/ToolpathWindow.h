#pragma once

#include <QWidget>

class QAction;
class QLabel;

namespace qm {

class Services;
class ToolpathView;

// The toolpath window, a document window beside the two text windows: the view of the path,
// a line under it saying how far the program could be followed, and the view's context menu.
class ToolpathWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Toolpath";

    ToolpathWindow(Services& services, QWidget* parent = nullptr);

    ToolpathView& view() { return *view_; }
    void SetNote(const QString& note);
    QString Note() const;

    // Writes the view as PNG or SVG (by the name's ending) to a file the user chooses.
    void SavePicture_Click();

    QAction* ViewFit;
    QAction* ViewTop;
    QAction* ViewFront;
    QAction* ViewRight;
    QAction* ViewIsometric;
    QAction* ColourByTool;
    QAction* PreviousMove;
    QAction* NextMove;
    QAction* SavePicture;

  signals:
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QAction* Action(const QString& caption, const QKeySequence& key = {});
    void ShowContextMenu(const QPoint& at);

    Services& services_;
    ToolpathView* view_;
    QLabel* note_;
};

// The picture's bytes for a file name: SVG for ".svg", PNG otherwise.
QByteArray PictureBytes(ToolpathView& view, const QString& path);

}  // namespace qm
