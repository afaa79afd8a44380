#include "ToolpathCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "Arrangement.h"
#include "CommandGuard.h"
#include "Context.h"
#include "Controls.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "MainWindow.h"
#include "ProblemsWindow.h"
#include "ProgramDialect.h"
#include "ProgramFollow.h"
#include "ProgramIcon.h"
#include "ReadingAids.h"
#include "StatePanel.h"
#include "StateText.h"
#include "StateWords.h"
#include "SyncScroll.h"
#include "TextBridge.h"
#include "ToolpathView.h"
#include "ToolpathWindow.h"

namespace qm {
namespace {

constexpr int kPanelWidth = 400;
constexpr std::array<const char*, 3> kDialects = {"rs274ngc", "fanuc", "none"};

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& key = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    if (!key.isEmpty())
        item->setShortcut(key);
    return item;
}

// Tool numbers as colour indexes, in the order the program first uses them.
std::vector<std::uint8_t> ToolColours(const interp::FollowResult& result) {
    std::vector<std::uint8_t> colours(result.Moves().size());
    std::vector<int> seen;
    std::size_t move = 0;
    for (std::uint32_t line = 1; line <= result.LineCount() && move < colours.size(); ++line) {
        const std::uint32_t end = result.MovesUpTo(line);
        if (end == move)
            continue;
        const int tool = result.StateAfter(line).toolInSpindle;
        auto at = std::find(seen.begin(), seen.end(), tool);
        if (at == seen.end())
            at = seen.insert(seen.end(), tool);
        std::fill(colours.begin() + std::ptrdiff_t(move), colours.begin() + std::ptrdiff_t(end),
                  std::uint8_t((at - seen.begin()) % 256));
        move = end;
    }
    return colours;
}

std::array<double, 3> Xyz(const interp::Axes& at) {
    return {at[interp::kX], at[interp::kY], at[interp::kZ]};
}

// Why the path shown is not the whole program's, or nothing when it is.
QString FollowNote(const interp::FollowResult& result, std::uint32_t lines) {
    for (const interp::Problem& problem : result.Problems()) {
        if (problem.stopped)
            return QStringLiteral("Followed to line %1 of %2: %3")
                .arg(problem.line)
                .arg(lines)
                .arg(QString::fromStdString(problem.reason));
    }
    return {};
}

}  // namespace

ToolpathCommands::ToolpathCommands(Context& context, MainWindow& window)
    : QObject(&window),
      context_(context),
      window_(window),
      view_(ReadViewSettings(context.settings)),
      follow_(new ProgramFollow(context, this)),
      panel_(new StatePanel(&window)),
      problems_(new ProblemsWindow(&window)) {
    window.addDockWidget(Qt::RightDockWidgetArea, panel_);
    if (view_.panelPlace.isEmpty()) {
        // Room for the comments, once the window has its size, leaving the texts two thirds.
        QTimer::singleShot(0, this, [this] {
            window_.resizeDocks({panel_}, {std::min(kPanelWidth, window_.width() / 3)},
                                Qt::Horizontal);
            QTimer::singleShot(
                0, this, [this] { ReapplyArrangement(context_); });  // the texts' room changed
        });
    } else {
        window.restoreState(view_.panelPlace);
    }
    panel_->setVisible(view_.showState);
    CreateMenuItems();
    ConnectSignals();
    if (view_.showToolpath)
        ShowToolpathWindow(true);
}

// The main window is going too: its docks' place was saved when they last moved.
ToolpathCommands::~ToolpathCommands() {
    if (placeUnsaved_)
        qm::SaveViewSettings(context_.settings, view_);
}

void ToolpathCommands::CreateMenuItems() {
    QMenu* display = context_.controls.MenuDisplay;
    display->addSeparator()->setObjectName("MnuDisplayMotionBar");
    MenuDisplayState = MenuItem(display, "MenuDisplayState", QStringLiteral("State in Effect(&E)"),
                                QKeySequence(QStringLiteral("Ctrl+E")));
    MenuDisplayState->setCheckable(true);
    MenuDisplayState->setChecked(view_.showState);
    MenuDisplayToolpath = MenuItem(display, "MenuDisplayToolpath", QStringLiteral("Toolpath(&T)"),
                                   QKeySequence(QStringLiteral("Ctrl+T")));
    MenuDisplayToolpath->setCheckable(true);
    MenuDisplayToolpath->setChecked(view_.showToolpath);
    MenuDisplayProblems =
        MenuItem(display, "MenuDisplayProblems", QStringLiteral("Program Problems(&P)\u2026"));
    MenuDisplayNextMove =
        MenuItem(display, "MenuDisplayNextMove", QStringLiteral("Next Moving Line(&M)"),
                 QKeySequence(Qt::Key_F8));
    MenuDisplayPreviousMove =
        MenuItem(display, "MenuDisplayPreviousMove", QStringLiteral("Previous Moving Line(&L)"),
                 QKeySequence(Qt::SHIFT | Qt::Key_F8));
    MenuDisplayDialect = display->addMenu(QStringLiteral("Dialect(&D)"));
    MenuDisplayDialect->setObjectName("MenuDisplayDialect");
    auto* group = new QActionGroup(this);
    const std::array<QString, 3> captions = {QStringLiteral("&RS274NGC (LinuxCNC)"),
                                             QStringLiteral("&Fanuc (Custom Macro B)"),
                                             QStringLiteral("&None: data, not followed")};
    for (std::size_t i = 0; i < kDialects.size(); ++i) {
        QAction* item = MenuItem(MenuDisplayDialect, "MenuDisplayDialectItem", captions[i]);
        item->setCheckable(true);
        item->setData(QString::fromLatin1(kDialects[i]));
        group->addAction(item);
        MenuDisplayDialectItem[i] = item;
    }
}

void ToolpathCommands::ConnectSignals() {
    Services& services = context_.services;
    Controls& controls = context_.controls;
    const auto on = [this, &services](QAction* item, auto command) {
        connect(item, &QAction::triggered, this,
                Guarded(services, [this, command] { (this->*command)(); }));
    };
    on(MenuDisplayState, &ToolpathCommands::MenuDisplayState_Click);
    on(MenuDisplayToolpath, &ToolpathCommands::MenuDisplayToolpath_Click);
    on(MenuDisplayProblems, &ToolpathCommands::MenuDisplayProblems_Click);
    connect(MenuDisplayNextMove, &QAction::triggered, this, [this] { StepMovingLine(+1); });
    connect(MenuDisplayPreviousMove, &QAction::triggered, this, [this] { StepMovingLine(-1); });
    for (QAction* item : MenuDisplayDialectItem) {
        connect(item, &QAction::triggered, this, Guarded(services, [this, item] {
                    MenuDisplayDialect_Click(item->data().toString().toStdString());
                }));
    }
    connect(controls.MenuDisplay, &QMenu::aboutToShow, this, [this] { ShowDialect(); });
    connect(&controls, &Controls::SourceEdited, follow_, &ProgramFollow::Schedule);
    connect(&controls, &Controls::ProgramOpened, follow_, &ProgramFollow::ScheduleAtOnce);
    connect(&controls, &Controls::Converted, this,
            [this] { ShowCurrentLine(); });  // the dictionary may be new
    connect(&controls, &Controls::DocumentCreated, this, [this](DocumentWindow* window) {
        auto* source = qobject_cast<SourceWindow*>(window);
        if (source == nullptr)
            return;
        connect(&source->Text1(), &QsciScintilla::cursorPositionChanged, this,
                [this](int line, int) {
                    line_ = std::uint32_t(line) + 1;
                    ShowCurrentLine();
                });
    });
    connect(follow_, &ProgramFollow::followed, this, [this] { Followed(); });
    connect(problems_, &ProblemsWindow::lineChosen, this, &ToolpathCommands::GoToLine);
    const auto savePlace = [this] { SaveViewSettings(); };
    connect(panel_, &QDockWidget::dockLocationChanged, this, savePlace);
    connect(panel_, &QDockWidget::topLevelChanged, this, savePlace);
}

void ToolpathCommands::MenuDisplayState_Click() {
    view_.showState = !panel_->isVisible();
    panel_->setVisible(view_.showState);
    MenuDisplayState->setChecked(view_.showState);
    if (view_.showState)
        ShowCurrentLine();
    SaveViewSettings();
}

void ToolpathCommands::MenuDisplayToolpath_Click() {
    ShowToolpathWindow(toolpathWindow() == nullptr);
    MenuDisplayToolpath->setChecked(view_.showToolpath);
}

void ToolpathCommands::MenuDisplayProblems_Click() {
    if (const interp::FollowResult* result = follow_->Result())
        problems_->SetProblems(result->Problems());
    problems_->show();
    problems_->raise();
    problems_->activateWindow();
}

void ToolpathCommands::MenuDisplayDialect_Click(const std::string& dialect) {
    SaveDialectForType(context_.settings, context_.state.FileTypeKey.toStdString(), dialect);
    ShowDialect();
    follow_->FollowNow();
}

void ToolpathCommands::ShowDialect() {
    const std::string type = context_.state.FileTypeKey.toStdString();
    const std::string dialect = DialectForType(context_.settings, type);
    for (QAction* item : MenuDisplayDialectItem)
        item->setChecked(item->data().toString().toStdString() == dialect);
    MenuDisplayDialect->setToolTip(
        QStringLiteral("How %1 files are read")
            .arg(type.empty() ? QStringLiteral("untyped") : QString::fromStdString(type)));
}

ToolpathWindow* ToolpathCommands::toolpathWindow() const {
    return toolpathFrame_ && toolpathFrame_->isVisible() ? toolpath_.data() : nullptr;
}

ToolpathWindow& ToolpathCommands::MakeToolpathWindow() {
    if (toolpath_)
        return *toolpath_;
    toolpath_ = new ToolpathWindow(context_.services);
    toolpathFrame_ = context_.documents.area().addSubWindow(toolpath_);
    toolpathFrame_->setAttribute(Qt::WA_DeleteOnClose, false);
    toolpathFrame_->setWindowIcon(ProgramIcon());
    toolpath_->ColourByTool->setChecked(view_.colourByTool);
    ToolpathView& view = toolpath_->view();
    connect(&view, &ToolpathView::lineClicked, this, &ToolpathCommands::GoToLine);
    connect(&view, &ToolpathView::stepRequested, this, &ToolpathCommands::StepMovingLine);
    connect(toolpath_->ColourByTool, &QAction::toggled, this, [this](bool on) {
        view_.colourByTool = on;
        SaveViewSettings();
        ShowPath();
    });
    // Closed by its frame's button: hidden, so that showing it again is at once.
    connect(toolpath_, &ToolpathWindow::closing, this, [this] {
        view_.showToolpath = false;
        MenuDisplayToolpath->setChecked(false);
        SaveViewSettings();
    });
    toolpathFrame_->installEventFilter(this);
    return *toolpath_;
}

void ToolpathCommands::ShowToolpathWindow(bool shown) {
    view_.showToolpath = shown;
    if (shown) {
        MakeToolpathWindow();
        if (!view_.toolpathGeometry.isEmpty())
            toolpathFrame_->setGeometry(view_.toolpathGeometry);
        toolpathFrame_->show();
        ReapplyArrangement(context_);
        ShowPath();
        ShowCurrentLine();
    } else if (toolpathFrame_) {
        toolpathFrame_->hide();
        ReapplyArrangement(context_);
    }
    SaveViewSettings();
}

bool ToolpathCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolpathFrame_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        toolpathFrame_->isVisible()) {
        // Each save rewrites the settings file and waits for the disk, and a frame dragged
        // or laid out anew moves many times: its place goes with the next save, or at the end.
        view_.toolpathGeometry = toolpathFrame_->geometry();
        placeUnsaved_ = true;
    }
    return QObject::eventFilter(watched, event);
}

void ToolpathCommands::SaveViewSettings() {
    placeUnsaved_ = false;
    view_.panelPlace = window_.saveState();
    qm::SaveViewSettings(context_.settings, view_);
}

void ToolpathCommands::Followed() {
    const interp::FollowResult* result = follow_->Result();
    problems_->SetProblems(result != nullptr ? result->Problems() : std::vector<interp::Problem>());
    ShowPath();
    ShowCurrentLine();
}

void ToolpathCommands::ShowPath() {
    ToolpathWindow* window = toolpathWindow();
    if (window == nullptr || follow_->Busy())
        return;
    const interp::FollowResult* result = follow_->Result();
    ToolpathView& view = window->view();
    if (result == nullptr) {
        view.SetPath({}, interp::Axes{});
        shownFollow_ = 0;
        view.SetProblemMarks({});
        window->SetNote(follow_->Dialect()
                            ? QString()
                            : QStringLiteral("Files of this type hold data and are not followed; "
                                             "Display > Dialect reads them as a program."));
        return;
    }
    std::vector<std::uint8_t> tools =
        view_.colourByTool ? ToolColours(*result) : std::vector<std::uint8_t>();
    // The view shows the follow before this one: only the moves it changed are drawn anew.
    const interp::FollowSession::MoveChange change = follow_->LastMoveChange();
    if (shownFollow_ != 0 && shownFollow_ + 1 == follow_->FollowCount() &&
        shownByTool_ == view_.colourByTool)
        view.UpdatePath(result->Moves(), interp::Axes{}, std::move(tools),
                        {change.first, change.removed, change.added});
    else
        view.SetPath(result->Moves(), interp::Axes{}, std::move(tools));
    shownFollow_ = follow_->FollowCount();
    shownByTool_ = view_.colourByTool;
    std::vector<std::array<double, 3>> marks;
    for (const interp::Problem& problem : result->Problems()) {
        if (problem.source.empty())
            marks.push_back(Xyz(result->PositionAfter(problem.line)));
    }
    view.SetProblemMarks(std::move(marks));
    const bool inches = result->StateAfter(result->LineCount()).inches;
    view.SetUnits(inches ? QStringLiteral("in") : QStringLiteral("mm"), inches ? 1 / 25.4 : 1.0);
    window->SetNote(FollowNote(*result, follow_->TextLines()));
}

std::string ToolpathCommands::CommentOf(const std::string& code) const {
    const DictionaryTable& table = context_.state.Dictionary;
    for (const std::string& spelling : interp::SpellingsOf(code)) {
        for (int i = 0; i <= table.LastIndex; ++i) {
            const DictionaryEntry& entry = table.entries[std::size_t(i)];
            if (entry.word == spelling)
                return entry.comment;
        }
    }
    return {};
}

void ToolpathCommands::ShowCurrentLine() {
    if (follow_->Busy())
        return;  // shown again once the follow is done
    const interp::FollowResult* result = follow_->Result();
    if (result == nullptr) {
        panel_->SetText(follow_->Dialect()
                            ? QString()
                            : QStringLiteral("Files of this type hold data and are not followed."));
        return;
    }
    const std::uint32_t line = line_;
    if (view_.showState) {
        const std::string text =
            interp::StateText(*result, line, *follow_->Dialect(),
                              [this](const std::string& code) { return CommentOf(code); });
        const std::string_view dialect = interp::DialectName(*follow_->Dialect());
        panel_->SetText(QStringLiteral("Line %1 (%2)\n")
                            .arg(line)
                            .arg(QLatin1String(dialect.data(), qsizetype(dialect.size()))) +
                        ToQString(text));
    }
    if (ToolpathWindow* window = toolpathWindow()) {
        const bool followed = line >= 1 && line <= result->LineCount();
        window->view().Highlight(
            result->MovesUpTo(line - 1), result->MovesUpTo(line),
            followed ? std::optional(Xyz(result->PositionAfter(line))) : std::nullopt);
    }
}

void ToolpathCommands::GoToLine(std::uint32_t line) {
    DocumentWindows& documents = context_.documents;
    if (line == 0 || !documents.HasOriginalFile())
        return;
    QsciScintilla& source = documents.OriginalFile().Text1();
    const int index = std::min(int(line), source.lines()) - 1;
    for (QsciScintilla* editor :
         {&source, documents.HasForm1() ? &documents.Form1().Text1() : nullptr}) {
        if (editor == nullptr || index >= editor->lines())
            continue;
        editor->setCursorPosition(index, 0);
        editor->ensureLineVisible(index);
    }
    window_.readingAids().sync().Lead(source);
    line_ = std::uint32_t(index) + 1;  // at once, not when the editor next updates its window
    ShowCurrentLine();
}

void ToolpathCommands::StepMovingLine(int direction) {
    const interp::FollowResult* result = follow_->Result();
    if (result == nullptr)
        return;
    const std::uint32_t count = result->LineCount();
    const auto moves = [result](std::uint32_t line) {
        return result->MovesUpTo(line) != result->MovesUpTo(line - 1);
    };
    for (std::uint32_t line = line_ + direction; line >= 1 && line <= count; line += direction) {
        if (moves(line)) {
            GoToLine(line);
            return;
        }
    }
}

}  // namespace qm
