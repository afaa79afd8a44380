#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "Arrangement.h"
#include "CommandGuard.h"
#include "ConvertCommands.h"
#include "DictionarySlots.h"
#include "DocumentWindow.h"
#include "EditCommands.h"
#include "InstalledFont.h"
#include "MenuKeys.h"
#include "MissingWordsNote.h"
#include "ProgramDocuments.h"
#include "ProgramIcon.h"
#include "ProgramOnDisk.h"
#include "RecentItems.h"
#include "ReadingAids.h"
#include "Services.h"
#include "StatusPanels.h"
#include "TextContextMenu.h"
#include "ToolBarIcons.h"

namespace qm {

QString CommandLinePath(const QString& argumentText) {
    const qsizetype open = argumentText.indexOf(QLatin1Char('"'));
    if (open < 0) return argumentText;
    const QString rest = argumentText.mid(open + 1);
    const qsizetype close = rest.indexOf(QLatin1Char('"'));
    return close < 0 ? rest : rest.left(close);
}

MainWindow::MainWindow(AppState& state, SettingsStore& settings, Services& services, QString programFolder)
    : endProgram([] { QApplication::exit(0); }),
      programFolder_(std::move(programFolder)),
      controls_(new Controls(this)),
      mdiArea_(new QMdiArea(this)),
      documents_(*mdiArea_),
      context_{state, settings, services, documents_, *controls_} {
    setObjectName("MainWindow");
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(ProgramIcon());
    setCentralWidget(mdiArea_);
    CreateMenuBar();
    CreateToolBar();
    statusPanels_ = new StatusPanels(*statusBar(), services, [this] { return InsertToggleOn(); });
    ConnectCommands();
    ConnectDocumentWindows();
    readingAids_ = new ReadingAids(*this, context_);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState now) {
        if (now == Qt::ApplicationActive) RunGuarded(context_.services, [this] { OfferToReadChangedProgram(context_); });
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateMenuBar() {
    for (QMenu* menu : controls_->MenuBar()) menuBar()->addMenu(menu);
}

void MainWindow::CreateToolBar() {
    tbToolBar_ = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar_->setObjectName("tbToolBar");
    tbToolBar_->setMovable(false);
    const auto button = [this](const char* key, int picture) {
        QAction* action = tbToolBar_->addAction(ToolBarIcon(picture), QString::fromLatin1(key));
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(key));
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(QString::fromLatin1(key)); });
    };
    button("New", 1);
    button("Open", 2);
    button("Save", 3);
    tbToolBar_->addSeparator();
    button("Print", 4);
    tbToolBar_->addSeparator();
    button("Cut", 5);
    button("Copy", 6);
    button("Paste", 7);
    tbToolBar_->addSeparator();
    button("Word Search", 8);
    tbToolBar_->addSeparator();
    button("Excel", 9);
}

void MainWindow::tbToolBar_ButtonClick(const QString& key) {
    const std::pair<const char*, QAction*> routes[] = {
        {"New", controls_->MenuFileNew},    {"Open", controls_->MenuFileOpen}, {"Save", controls_->MenuFileSave},
        {"Print", controls_->MenuFilePrint}, {"Cut", controls_->MenuEditCut},   {"Copy", controls_->MenuEditCopy},
        {"Paste", controls_->MenuEditPaste}, {"Word Search", controls_->MenuDicFund},
        {"Excel", controls_->MenuFileExcel}};
    for (const auto& [routeKey, item] : routes) {
        if (key == QLatin1String(routeKey)) {
            item->trigger();
            return;
        }
    }
}

void MainWindow::ConnectCommands() {
    Controls& c = *controls_;
    Services& services = context_.services;
    const auto on = [this, &services](QAction* item, void (*command)(Context&)) {
        connect(item, &QAction::triggered, this, Guarded(services, [this, command] { command(context_); }));
    };
    // Checkable items: Qt flips the mark before the command runs; the command decides the mark.
    const auto onToggle = [this, &services](QAction* item, void (*command)(Context&)) {
        connect(item, &QAction::triggered, this, Guarded(services, [this, item, command] {
            item->setChecked(!item->isChecked());
            command(context_);
        }));
    };
    on(c.MenuFileNew, MenuFileNew_Click);
    on(c.MenuFileOpen, MenuFileOpen_Click);
    for (QAction* item : c.mnuFileRecentFile) {
        connect(item, &QAction::triggered, this,
                Guarded(services, [this, item] { mnuFileRecentFile_Click(context_, item->data().toInt()); }));
    }
    connect(c.MenuFileEnd, &QAction::triggered, this, [this] { MenuFileEnd_Click(); });
    on(c.MenuEditCut, MenuEditCut_Click);
    on(c.MenuEditCopy, MenuEditCopy_Click);
    on(c.MenuEditPaste, MenuEditPaste_Click);
    on(c.MenuEditAll, MenuEditAll_Click);
    on(c.MenuEditAllCopy, MenuEditAllCopy_Click);
    onToggle(c.MenuDisplayCascade, MenuDisplayCascade_Click);
    onToggle(c.MenuDisplayVertical, MenuDisplayVertical_Click);
    onToggle(c.MenuDisplayHorizontal, MenuDisplayHorizontal_Click);
    on(c.MenuRunStart, MenuRunStart_Click);
    onToggle(c.MenuRunLine, MenuRunLine_Click);
    onToggle(c.MenuRunOptionSpace, MenuRunOptionSpace_Click);
    onToggle(c.MenuRunOptionBig, MenuRunOptionBig_Click);
    onToggle(c.MenuRunOptionCaps, MenuRunOptionCaps_Click);
    connect(c.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(context_); });
    connect(&c, &Controls::Converted, this,
            [this] { statusPanels_->Panel(1).setText(MissingWordsNote(context_.state.MissingWords.size())); });
}

void MainWindow::ConnectDocumentWindows() {
    documents_.onCreated = [this](DocumentWindow& window, QMdiSubWindow& frame) {
        const AppState& state = context_.state;
        window.Text1().setFont(InstalledOrFixedFont(state.ScreenFontName, state.ScreenFontSize, 0));
        connect(&window, &DocumentWindow::contextMenuRequested, this, [this, &window](const QPoint& at) {
            NewTextContextMenu(window.Text1(), *controls_->MenuEdit)->popup(at);
        });
        const auto menus = controls_->MenuBar();
        const QList<QKeySequence> menuKeys = MenuShortcuts(QList<QMenu*>(menus.begin(), menus.end()));
        FreeKeysForMenus(window.Text1(), menuKeys);
        FreeKeysForMenus(frame, menuKeys);
        frame.setWindowIcon(ProgramIcon());
        // A converted window made again after the user closed it names the dictionary in use.
        if (qobject_cast<ConvertedWindow*>(&window) != nullptr && state.DictionaryLoaded) {
            window.setWindowTitle(ConvertedCaption(state.LoadedDicFileName, state.DicPathName));
        }
        readingAids_->Attach(window);
        emit controls_->DocumentCreated(&window);
    };
    // A window made again takes its place in the arrangement, once it has its frame's size.
    documents_.onShown = [this](DocumentWindow&) {
        ReapplyArrangement(context_);
        QTimer::singleShot(0, this, [this] { ReapplyArrangement(context_); });
    };
    documents_.onSourceCreated = [this](SourceWindow& window) {
        connect(&window, &SourceWindow::textChanging, this, [this] { Text1_Change(context_); });
        window.mayClose = [this] { return SourceWindowClosing(context_); };
        connect(&window, &DocumentWindow::resized, this, [this] {
            if (!context_.state.ArrangeOnFirstResize) return;
            context_.state.ArrangeOnFirstResize = false;
            // Tiling inside the window's own resize would leave its layout behind: tile next.
            QTimer::singleShot(0, this, [this] { MenuDisplayVertical_Click(context_); });
        });
    };
}

bool MainWindow::InsertToggleOn() const {
    auto* text = qobject_cast<QsciScintilla*>(QApplication::focusWidget());
    return text != nullptr && text->overwriteMode();
}

double MainWindow::PixelsPerTwip() const {
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return dpi / 1440.0;
}

void MainWindow::PlaceWindow(const WindowTwips& twips) {
    const double scale = PixelsPerTwip();
    move(qRound(twips.left * scale), qRound(twips.top * scale));
    resize(qMax(1, qRound(twips.width * scale)), qMax(1, qRound(twips.height * scale)));
}

// Position as the frame's top-left corner, size as the window's own area, the same measures
// PlaceWindow sets, so that a window reopens exactly where and as large as it was.
WindowTwips MainWindow::CurrentTwips() const {
    const double scale = PixelsPerTwip();
    return {float(pos().x() / scale), float(pos().y() / scale), float(width() / scale),
            float(height() / scale)};
}

// Items whose key holds a path show it; the others keep their placeholder and stay hidden.
void MainWindow::RestoreRecentItems(const char* keyPrefix, const std::array<QAction*, 5>& items) {
    for (int n = 1; n <= 5; ++n) {
        const QString path = context_.settings.GetSetting(QStringLiteral("%1%2").arg(QLatin1String(keyPrefix)).arg(n), QString());
        if (path.isEmpty()) continue;
        SetRecentItemPath(*items[n - 1], path);
        items[n - 1]->setVisible(true);
    }
}

void MainWindow::StartUp(const QString& argumentText) {
    AppState& state = context_.state;
    PlaceWindow(ReadMainWindowTwips(context_.settings));
    ReadSettings(context_.settings, state, programFolder_);
    if (!context_.settings.problem().isEmpty()) context_.services.Message(context_.settings.problem());
    state.ProgramFileName = QStringLiteral("New.min");
    LoadDictionary(context_);
    controls_->MenuRunLine->setChecked(true);
    state.RealTimeConvert = 1;
    state.ArrangeOnFirstResize = true;
    RestoreRecentItems("RecentFile", controls_->mnuFileRecentFile);
    RestoreRecentItems("DicFile", controls_->mnuDicFile);
    controls_->MenuRunOptionSpace->setChecked(state.SpaceAdd);
    controls_->MenuRunOptionBig->setChecked(state.TopBig);
    controls_->MenuRunOptionCaps->setChecked(state.CapsLock);
    if (!argumentText.isEmpty()) {
        const QString path = CommandLinePath(argumentText);
        RunGuarded(context_.services, [&] {
            SelectDictionaryForFile(context_, path);
            OpenProgramFile(context_, path);
        });
        state.SourceChanged = 0;
        context_.services.SetBusy(false);
        AddRecentFile(context_, path);
    }
    capsLockAtStart_ = context_.services.CapsLockOn();
    if (state.CapsLock && !capsLockAtStart_) context_.services.PressKey(kVkCapital);
}

void MainWindow::SaveData() {
    SaveDataWindow window;
    if (!isMinimized()) window.placement = CurrentTwips();
    for (int i = 0; i < 5; ++i) {
        window.recentFileItems[i] = RecentItemPath(*controls_->mnuFileRecentFile[i]);
        window.recentDictionaryItems[i] = RecentItemPath(*controls_->mnuDicFile[i]);
    }
    qm::SaveData(context_.settings, context_.state, window);
}

bool MainWindow::MenuFileEnd_Click() {
    if (ended_) return true;
    if (!OfferToSaveSource(context_)) return false;
    ended_ = true;
    SaveData();
    if (context_.state.CapsLock && context_.services.CapsLockOn()) context_.services.PressKey(kVkCapital);
    endProgram();
    return true;
}

void MainWindow::EndWithoutAsking() {
    if (ended_) return;
    ended_ = true;
    LeaveKeyboardAndSettings();
    endProgram();
}

void MainWindow::LeaveKeyboardAndSettings() {
    SaveData();
    Services& services = context_.services;
    if (context_.state.CapsLock && services.CapsLockOn() != capsLockAtStart_) services.PressKey(kVkCapital);
}

void MainWindow::Pause(double PauseTime) { context_.services.Pause(PauseTime); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (MenuFileEnd_Click()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMinimized()) ReapplyArrangement(context_);
}

}  // namespace qm
