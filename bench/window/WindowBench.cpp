// quillmark-window-bench: how the desktop window keeps up with large programs, run offscreen.
//
//   quillmark-window-bench [--lines N ...]     (default: 100000 and 1000000 lines)
//
// For each program size, with the 10,001-entry benchmark dictionary, it prints the time from
// File Open to both windows filled, the time from the real-time tick after a one-character edit
// in the middle to the converted window updated, the time of a whole conversion after the
// dictionary changed, the time to scroll one page in either window with the other following,
// and the process's peak memory. Before those, a line of 100 and one of 300 KB full of words:
// marking its comments against converting it, and opening it. Each time includes painting both windows (source colours and
// marked comments), as a user would see them.
#include <sys/resource.h>

#include <QApplication>

#include <Qsci/qsciscintilla.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "AppState.h"
#include "CommentSpans.h"
#include "FastConvert.h"
#include "ConvertCommands.h"
#include "DictionaryFile.h"
#include "FileAccess.h"
#include "MainWindow.h"
#include "MemoryArenas.h"
#include "NcWorkload.h"
#include "ProgramDocuments.h"
#include "ReadingAids.h"
#include "SyncScroll.h"
#include "ScriptedServices.h"
#include "TextBridge.h"
#include "DocumentWindow.h"

namespace fs = std::filesystem;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Lets both windows paint what changed, as the event loop would before the user sees it.
void Paint(qm::Context& context) {
    QCoreApplication::processEvents();
    for (QsciScintilla* editor :
         {&context.documents.OriginalFile().Text1(), &context.documents.Form1().Text1()}) {
        editor->viewport()->repaint();
    }
}

long FirstLine(QsciScintilla& editor) {
    return editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
}

// Pages down `pages` times from the middle in one window; prints the mean and the worst time
// until both windows show the new page.
void MeasurePaging(qm::MainWindow& window, QsciScintilla& leader, QsciScintilla& follower,
                   const char* name) {
    constexpr int pages = 20;
    qm::Context& context = window.context();
    window.readingAids().sync().Lead(leader);
    leader.SendScintilla(
        QsciScintillaBase::SCI_GOTOLINE,
        static_cast<unsigned long>(leader.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) / 2));
    Paint(context);
    double total = 0, worst = 0;
    bool followed = true;
    for (int i = 0; i < pages; ++i) {
        const auto start = std::chrono::steady_clock::now();
        leader.SendScintilla(QsciScintillaBase::SCI_PAGEDOWN);
        Paint(context);
        const double seconds = SecondsSince(start);
        followed = followed && FirstLine(follower) == FirstLine(leader);
        total += seconds;
        worst = std::max(worst, seconds);
    }
    std::printf("  one page in the %-9s window, mean / worst %6.1f / %5.1f ms%s\n", name,
                total / pages * 1e3, worst * 1e3,
                followed ? "" : "  (THE OTHER WINDOW DID NOT FOLLOW)");
}

void Measure(std::size_t lines, const fs::path& folder) {
    const std::string program = (folder / ("P" + std::to_string(lines) + ".MIN")).string();
    const std::string text = qm::bench::MakeNcProgram(lines, 7);
    if (!qm::WriteFileSafely(program, text).ok()) return;
    std::printf("Program of %zu lines, %.1f MB, 10001-entry dictionary:\n", lines, double(text.size()) / 1e6);

    qm::AppState state;
    qm::SettingsStore settings(QString::fromStdString((folder / "Quillmark.ini").string()));
    qm::ScriptedServices services;
    qm::MainWindow window(state, settings, services, QString::fromStdString(folder.string()));
    window.endProgram = [] {};
    window.StartUp(QString());
    window.resize(1200, 800);
    window.show();
    qm::Context& context = window.context();
    Paint(context);

    services.AnswerFileDialog(QString::fromStdString(program));
    auto start = std::chrono::steady_clock::now();
    qm::MenuFileOpen_Click(context);
    Paint(context);
    std::printf("  File Open to both windows filled    %8.3f s\n", SecondsSince(start));

    QsciScintilla& source = context.documents.OriginalFile().Text1();
    const long middle = source.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 2;
    source.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(middle), "1");
    start = std::chrono::steady_clock::now();
    qm::Timer1_Timer(context);
    Paint(context);
    std::printf("  one-character edit, tick to shown   %8.3f s\n", SecondsSince(start));

    state.Dictionary.entries[0].comment += " changed";
    start = std::chrono::steady_clock::now();
    qm::ConvertProgram(context);
    Paint(context);
    std::printf("  whole conversion after a dictionary change %8.3f s\n", SecondsSince(start));
    QsciScintilla& converted = context.documents.Form1().Text1();
    MeasurePaging(window, source, converted, "source");
    MeasurePaging(window, converted, source, "converted");
    std::printf("  peak memory of the process          %8.0f MB\n\n", PeakMegabytes());
}

// Seconds the fastest of three runs of work takes.
template <typename Work>
double BestOfThree(Work&& work) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

// One long line full of words ("G1 G1 ..."): marking the comments of the line on screen against
// converting it, and File Open to both windows painted.
void MeasureLongLine(std::size_t bytes, const fs::path& folder, const qm::DictionaryTable& dictionary) {
    std::string line;
    while (line.size() < bytes) line += "G1 ";
    const qm::CompiledDictionary compiled(dictionary);
    std::string converted;
    const double converting = BestOfThree([&] { converted = compiled.Convert(line, false); });
    qm::CommentSpanFinder finder;
    finder.Use(dictionary, false);
    bool marked = false;
    const double marking = BestOfThree([&] { marked = finder.Spans(line, converted).has_value(); });
    std::printf("Line of %zu KB of \"G1 \": converting %.4f s, marking its comments %.4f s (%.1f times)%s\n",
                bytes / 1000, converting, marking, marking / converting, marked ? "" : "  (NOT MARKED)");

    const std::string program = (folder / "LONGLINE.MIN").string();
    if (!qm::WriteFileSafely(program, line).ok()) return;
    qm::AppState state;
    qm::SettingsStore settings(QString::fromStdString((folder / "Quillmark.ini").string()));
    qm::ScriptedServices services;
    qm::MainWindow window(state, settings, services, QString::fromStdString(folder.string()));
    window.endProgram = [] {};
    window.StartUp(QString());
    window.resize(1200, 800);
    window.show();
    qm::Context& context = window.context();
    Paint(context);
    services.AnswerFileDialog(QString::fromStdString(program));
    const auto start = std::chrono::steady_clock::now();
    qm::MenuFileOpen_Click(context);
    Paint(context);
    std::printf("  File Open to both windows painted  %8.3f s\n\n", SecondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
    qm::KeepOneMemoryArena();  // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::size_t> sizes;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--lines") sizes.push_back(std::stoul(argv[++i]));
    }
    if (sizes.empty()) sizes = {100'000, 1'000'000};

    const fs::path folder = fs::temp_directory_path() / ("quillmark-window-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    qm::DictionaryTable dictionary = qm::bench::MakeNcDictionary(10001, 11);
    for (const char* name : {"Kestrel.dic", "Kestrel-ENG.dic"}) {
        if (qm::Status saved = qm::SaveDictionary((folder / name).string(), dictionary); !saved.ok()) {
            std::fprintf(stderr, "%s\n", saved.message().c_str());
            return 1;
        }
    }
    for (std::size_t bytes : {100'000, 300'000}) MeasureLongLine(bytes, folder, dictionary);
    for (std::size_t lines : sizes) Measure(lines, folder);
    fs::remove_all(folder);
    return 0;
}
