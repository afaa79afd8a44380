#pragma once

#include <QMainWindow>

#include <array>
#include <functional>

#include "Context.h"
#include "Controls.h"
#include "DocumentWindows.h"
#include "Settings.h"

class QMdiArea;
class QToolBar;

namespace qm {

class ReadingAids;
class StatusPanels;

// The main window: a multi-document frame holding the source and converted windows, with the
// menus, toolbar and status bar that run every command.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Quillmark Eng Ver.2.38";

    MainWindow(AppState& state, SettingsStore& settings, Services& services, QString programFolder);
    ~MainWindow() override;

    // Start-up, before the window is first shown: placement, settings, dictionary, recent lists,
    // the program named by the command line's argument text, Caps Lock.
    void StartUp(const QString& argumentText);
    // Writes the settings back.
    void SaveData();
    // The exit sequence. Returns false when the user chose to stay (unsaved source, Cancel).
    bool MenuFileEnd_Click();
    // The end forced from outside (a signal, the desktop session ending), when nothing may
    // ask: the settings are written and Caps Lock is put back as it was at start; unsaved
    // text stays unsaved.
    void EndWithoutAsking();
    // What a forced end leaves behind, done without ending: the desktop session may end the
    // program at any moment after it asked for the program's data.
    void LeaveKeyboardAndSettings();
    // Runs the command of a toolbar button, by its key.
    void tbToolBar_ButtonClick(const QString& key);
    // Waits, letting other events run.
    void Pause(double PauseTime);

    Context& context() { return context_; }
    Controls& controls() { return *controls_; }
    QMdiArea& mdiArea() { return *mdiArea_; }
    QToolBar& toolBar() { return *tbToolBar_; }
    StatusPanels& statusPanels() { return *statusPanels_; }
    ReadingAids& readingAids() { return *readingAids_; }

    // Ends the program; replaced in tests.
    std::function<void()> endProgram;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateMenuBar();
    void CreateToolBar();
    void ConnectCommands();
    void ConnectDocumentWindows();
    void RestoreRecentItems(const char* keyPrefix, const std::array<QAction*, 5>& items);
    void PlaceWindow(const WindowTwips& twips);
    WindowTwips CurrentTwips() const;
    double PixelsPerTwip() const;
    bool InsertToggleOn() const;

    QString programFolder_;
    Controls* controls_;
    QMdiArea* mdiArea_;
    QToolBar* tbToolBar_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    ReadingAids* readingAids_ = nullptr;
    DocumentWindows documents_;
    Context context_;
    bool ended_ = false;
    bool capsLockAtStart_ = false;
};

// The program path in the command line's argument text: the text between the first double
// quote and the next, or after a lone first quote; the whole text when it has no quote.
QString CommandLinePath(const QString& argumentText);

}  // namespace qm
