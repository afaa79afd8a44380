#pragma once

#include <QMainWindow>

#include <array>

#include "Context.h"
#include "DocumentWindows.h"
#include "Settings.h"

class QAction;
class QMdiArea;

namespace qm {

// The main window: a multi-document frame holding the source and converted windows.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Quillmark Eng Ver.2.38";

    MainWindow(AppState& state, SettingsStore& settings, Services& services, QString programFolder);

    // Start-up: places the window, reads the settings and loads the dictionary.
    void StartUp();
    // Writes the settings back.
    void SaveData();
    // The exit sequence: settings, Caps Lock off, and the program ends.
    void MenuFileEnd_Click();

    Context& context() { return context_; }
    QMdiArea& mdiArea() { return *mdiArea_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceWindow(const WindowTwips& twips);
    WindowTwips CurrentTwips() const;
    double PixelsPerTwip() const;

    QString programFolder_;
    QMdiArea* mdiArea_;
    DocumentWindows documents_;
    Context context_;
    std::array<QAction*, 5> mnuFileRecentFile_{};
    std::array<QAction*, 5> mnuDicFile_{};
    bool ending_ = false;
};

}  // namespace qm
