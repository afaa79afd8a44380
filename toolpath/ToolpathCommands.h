#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <string>

#include "ViewSettings.h"

class QAction;
class QMenu;
class QMdiSubWindow;

namespace qm {

struct Context;
class MainWindow;
class ProblemsWindow;
class ProgramFollow;
class StatePanel;
class ToolpathWindow;

// What the program does, beside its text: the "In effect" panel for the source window's
// current line, the toolpath window tied both ways to the text windows, the program's
// problems, and the dialect each file type is read in. Everything follows the cursor at once
// and the text 300 ms after typing. It adds its items to the Display menu.
class ToolpathCommands : public QObject {
    Q_OBJECT
  public:
    ToolpathCommands(Context& context, MainWindow& window);
    ~ToolpathCommands() override;

    // Display menu.
    QAction* MenuDisplayState;
    QAction* MenuDisplayToolpath;
    QAction* MenuDisplayProblems;
    QAction* MenuDisplayPreviousMove;
    QAction* MenuDisplayNextMove;
    QMenu* MenuDisplayDialect;
    std::array<QAction*, 3> MenuDisplayDialectItem;  // rs274ngc, fanuc, none

    void MenuDisplayState_Click();
    void MenuDisplayToolpath_Click();
    void MenuDisplayProblems_Click();
    void MenuDisplayDialect_Click(const std::string& dialect);
    // Moves the text windows to the next (+1) or previous (-1) line that moves the tool.
    void StepMovingLine(int direction);
    // Puts both text windows on a 1-based line, as a click on the path does.
    void GoToLine(std::uint32_t line);

    ProgramFollow& follow() { return *follow_; }
    StatePanel& panel() { return *panel_; }
    ProblemsWindow& problems() { return *problems_; }
    // The toolpath window, while it is shown; null otherwise.
    ToolpathWindow* toolpathWindow() const;
    std::uint32_t CurrentLine() const { return line_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateMenuItems();
    void ConnectSignals();
    void Followed();
    void ShowCurrentLine();
    void ShowPath();
    void ShowDialect();
    void ShowToolpathWindow(bool shown);
    ToolpathWindow& MakeToolpathWindow();
    void SaveViewSettings();
    std::string CommentOf(const std::string& code) const;

    Context& context_;
    MainWindow& window_;
    ViewSettings view_;
    ProgramFollow* follow_;
    StatePanel* panel_;
    ProblemsWindow* problems_;
    QPointer<ToolpathWindow> toolpath_;
    QPointer<QMdiSubWindow> toolpathFrame_;
    bool placeUnsaved_ = false;  // the toolpath frame moved since the settings were saved
    std::uint32_t line_ = 1;
    std::uint64_t shownFollow_ = 0;  // the follow whose path the view shows; 0: none
    bool shownByTool_ = false;
};

}  // namespace qm
