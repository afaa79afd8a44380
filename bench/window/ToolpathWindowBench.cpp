// quillmark-toolpath-window-bench: the toolpath window and the "In effect" panel with a large
// program, in a real X server (make bench runs it under xvfb-run, with Mesa's software
// renderer).
//
//   quillmark-toolpath-window-bench [--lines N]     (default: 1,000,000 lines)
//
// With a generated CAM-like program it prints: the time from File Open completing to the
// path drawn; frames per second while orbiting and while panning; a cursor move to the moves
// highlighted and the panel updated; a click on a move to both text windows on its line; a
// one-line edit, from the real-time tick, to the path and panel updated; and the memory the
// path adds per move (the interpreter's result and the view's buffers, from the process's
// resident size).
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <Qsci/qsciscintilla.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "AppState.h"
#include "CamProgram.h"
#include "DocumentWindow.h"
#include "FollowResult.h"
#include "MainWindow.h"
#include "MemoryArenas.h"
#include "ProgramDocuments.h"
#include "ProgramFollow.h"
#include "ScriptedServices.h"
#include "SettingsStore.h"
#include "StatePanel.h"
#include "ToolpathCommands.h"
#include "ToolpathView.h"
#include "ToolpathWindow.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Draws the view now and waits until the GPU (here Mesa) has finished the frame.
void Draw(qm::ToolpathView& view) {
    view.DrawNow();
}

void Goal(bool met, const char* what) {
    std::printf("  [%s] %s\n", met ? " met " : "MISSED", what);
}

// Frames per second over about two seconds: each frame a key that moves the camera, then
// the wait for the widget's frame to be rendered and swapped to the screen. The keys go one
// way and back by turns, so that the path stays in view: panned one way only it would leave
// the view within a second and the frames after would draw nothing.
double FramesPerSecond(qm::ToolpathView& view, Qt::KeyboardModifiers modifiers) {
    int frames = 0;
    QEventLoop frame;
    const QMetaObject::Connection counting =
        QObject::connect(&view, &qm::ToolpathView::frameSwapped, [&] {
            ++frames;
            frame.quit();
        });
    QTimer noFrame;  // no frame comes: stop measuring
    noFrame.setSingleShot(true);
    QObject::connect(&noFrame, &QTimer::timeout, &frame, &QEventLoop::quit);
    const auto start = Clock::now();
    while (MsSince(start) < 2000) {
        const int before = frames;
        QTest::keyClick(&view, frames % 2 == 0 ? Qt::Key_Left : Qt::Key_Right, modifiers);
        noFrame.start(5000);
        frame.exec();
        if (frames == before)
            break;
    }
    QObject::disconnect(counting);
    return frames * 1000.0 / MsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    qm::KeepOneMemoryArena();  // as the program does
    std::size_t lines = 1'000'000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--lines")
            lines = std::strtoul(argv[i + 1], nullptr, 10);
    }
    QApplication app(argc, argv);
    const fs::path folder =
        fs::temp_directory_path() / ("quillmark-toolpath-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path program = folder / "cam.ngc";
    std::ofstream(program, std::ios::binary) << qm::bench::MakeCamProgram(lines);

    qm::AppState state;
    qm::SettingsStore settings(QString::fromStdString((folder / "Quillmark.ini").string()));
    settings.SaveSetting(QStringLiteral("ShowToolpath"), QStringLiteral("True"));
    qm::ScriptedServices services;
    qm::MainWindow window(state, settings, services, QString::fromStdString(folder.string()));
    qm::ToolpathCommands commands(window.context(), window);
    window.resize(1400, 900);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "quillmark-toolpath-window-bench: the window did not show\n");
        return 1;
    }
    qm::ToolpathView& view = commands.toolpathWindow()->view();
    Draw(view);

    std::printf("quillmark-toolpath-window-bench: %zu-line CAM-like program\n", lines);
    state.FileTypeKey = QStringLiteral("NGC");
    qm::OpenProgramFile(window.context(), QString::fromStdString(program.string()));
    // The text is in its window; what follows is the path's own.
    const double before = ResidentMegabytes();
    // From File Open completing: the event loop follows the new program and draws its path.
    const auto opened = Clock::now();
    while (commands.follow().Result() == nullptr && MsSince(opened) < 60000)
        QCoreApplication::processEvents();
    Draw(view);
    const double shownMs = MsSince(opened);
    const std::size_t moves = commands.follow().Result()->Moves().size();
    ::malloc_trim(0);  // what following freed again is not the path's
    const double after = ResidentMegabytes();
    const double bytesPerMove = (after - before) * 1024 * 1024 / double(moves);

    const double orbitFps = FramesPerSecond(view, Qt::NoModifier);
    const std::int64_t orbitVertices = view.DrawnVertices();
    const double panFps = FramesPerSecond(view, Qt::ShiftModifier);

    QsciScintilla& source = window.context().documents.OriginalFile().Text1();
    const int middle = int(lines / 2);
    source.setCursorPosition(middle, 0);
    QCoreApplication::processEvents();
    // The reader steps down a line: the panel and the highlight follow at once.
    source.setFocus();
    auto start = Clock::now();
    QTest::keyClick(&source, Qt::Key_Down);
    QCoreApplication::processEvents();
    Draw(view);
    const double keyMs = MsSince(start);
    // From the editor telling of the moved cursor: what the panel and the view add.
    start = Clock::now();
    emit source.cursorPositionChanged(middle + 2, 0);
    Draw(view);
    const double cursorMs = MsSince(start);
    const bool panelFollowed =
        commands.panel().Text().startsWith(QStringLiteral("Line %1 ").arg(middle + 3));

    view.ShowStandardView(qm::ToolpathView::StandardView::Top);
    Draw(view);
    // A click at once after the camera moved: each click draws the ID picture round it.
    start = Clock::now();
    view.LineAt(QPoint(view.width() / 2, view.height() / 2));
    const double firstClickMs = MsSince(start);
    view.Orbit(0.5, 0);
    Draw(view);
    // A reader looks before clicking: whatever the view does once it stands still is done.
    QTest::qWait(500);
    double clickMs = -1;
    std::uint32_t clicked = 0;
    for (int y = view.height() / 4; y < view.height() * 3 / 4 && clicked == 0; y += 7) {
        for (int x = view.width() / 4; x < view.width() * 3 / 4 && clicked == 0; x += 7) {
            start = Clock::now();
            clicked = view.LineAt(QPoint(x, y));
            if (clicked != 0) {
                commands.GoToLine(clicked);
                QCoreApplication::processEvents();
                clickMs = MsSince(start);
            }
        }
    }
    int caretLine = 0, caretIndex = 0;
    source.getCursorPosition(&caretLine, &caretIndex);

    source.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, source.positionFromLineIndex(middle, 0),
                         "G1 X7 Y7\n");
    // The key stroke's own painting comes before the real-time tick (posted events only: the
    // tick's timer is not let run), and is not the edit's figure.
    QCoreApplication::sendPostedEvents();
    start = Clock::now();
    commands.follow().FollowNow();
    QCoreApplication::processEvents();
    Draw(view);
    const double editMs = MsSince(start);

    std::printf("  path shown after File Open   %8.1f ms   (%zu moves)\n", shownMs, moves);
    std::printf("  orbit                        %8.1f frames/s   (%lld vertices a frame)\n",
                orbitFps, static_cast<long long>(orbitVertices));
    std::printf("  pan                          %8.1f frames/s\n", panFps);
    std::printf(
        "  cursor move to highlight     %8.1f ms   (%.1f ms from the key, both text windows "
        "painted)\n",
        cursorMs, keyMs);
    std::printf(
        "  click to line                %8.1f ms   (line %u; %.1f ms at once after the camera "
        "moved)\n",
        clickMs, clicked, firstClickMs);
    std::printf("  one-line edit to path        %8.1f ms   (%u lines followed again)\n", editMs,
                commands.follow().LinesFollowedLast());
    std::printf("  memory added per move        %8.1f bytes\n", bytesPerMove);
    Goal(shownMs < 1000, "path shown within 1 s of File Open");
    Goal(orbitFps >= 30 && panFps >= 30, "orbit and pan at 30 frames/s or more");
    Goal(cursorMs < 16 && panelFollowed, "cursor move to highlight and panel under 16 ms");
    Goal(clickMs >= 0 && clickMs < 50 && std::uint32_t(caretLine + 1) == clicked,
         "click to line under 50 ms");
    Goal(editMs < 100, "one-line edit to path and panel under 100 ms");
    Goal(bytesPerMove < 200, "memory added by the path under 200 bytes per move");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
