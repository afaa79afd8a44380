#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QScreen>

#include "AppState.h"
#include "DictionarySlots.h"
#include "Services.h"

namespace qm {

MainWindow::MainWindow(AppState& state, SettingsStore& settings, Services& services, QString programFolder)
    : programFolder_(std::move(programFolder)),
      mdiArea_(new QMdiArea(this)),
      documents_(*mdiArea_),
      context_{state, settings, services, documents_} {
    setWindowTitle(QString::fromLatin1(kCaption));
    setCentralWidget(mdiArea_);
    for (int n = 1; n <= 5; ++n) {
        mnuFileRecentFile_[n - 1] = new QAction(QStringLiteral("RecentFile%1").arg(n), this);
        mnuDicFile_[n - 1] = new QAction(QStringLiteral("DicFile%1").arg(n), this);
        mnuFileRecentFile_[n - 1]->setVisible(false);
        mnuDicFile_[n - 1]->setVisible(false);
    }
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

void MainWindow::StartUp() {
    AppState& state = context_.state;
    PlaceWindow(ReadMainWindowTwips(context_.settings));
    ReadSettings(context_.settings, state, programFolder_);
    state.ProgramFileName = QStringLiteral("New.min");
    LoadDictionary(context_);
    state.RealTimeConvert = 1;
    state.ArrangeOnFirstResize = true;
}

void MainWindow::SaveData() {
    SaveDataWindow window;
    if (!isMinimized()) window.placement = CurrentTwips();
    for (int i = 0; i < 5; ++i) {
        window.recentFileItems[i] = mnuFileRecentFile_[i]->text();
        window.recentDictionaryItems[i] = mnuDicFile_[i]->text();
    }
    qm::SaveData(context_.settings, context_.state, window);
}

void MainWindow::MenuFileEnd_Click() {
    if (ending_) return;
    ending_ = true;
    SaveData();
    if (context_.services.CapsLockOn()) context_.services.PressKey(kVkCapital);
    QApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    MenuFileEnd_Click();
    event->accept();
}

}  // namespace qm
