#include "ProgramFollow.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "AppState.h"
#include "Context.h"
#include "ConversionProgress.h"
#include "ConvertCommands.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "FollowSession.h"
#include "LineFeeds.h"
#include "ProgramDialect.h"
#include "Services.h"
#include "SettingsStore.h"
#include "SubprogramFiles.h"
#include "TextBridge.h"
#include "TextCodec.h"

namespace qm {
namespace {

std::uint32_t LineFeeds(std::string_view text) {
    return std::uint32_t(interp::CountLineFeeds(text));
}

// Lines in [from, to) of a text, where from is a line's start and to another's or the end.
std::uint32_t LinesIn(std::string_view text, std::size_t from, std::size_t to) {
    const std::uint32_t feeds = LineFeeds(text.substr(from, to - from));
    return feeds + (to == text.size() && to > from && text[to - 1] != '\n' ? 1 : 0);
}

// Whole blocks are compared with memcmp, which is many times quicker than a byte at a time;
// only the block that differs is then searched byte by byte.
constexpr std::size_t kCompareBlock = 4096;

// How many bytes a and b have alike from their starts, up to `most`.
std::size_t SameFromStart(const char* a, const char* b, std::size_t most) {
    std::size_t same = 0;
    while (same + kCompareBlock <= most && std::memcmp(a + same, b + same, kCompareBlock) == 0)
        same += kCompareBlock;
    while (same < most && a[same] == b[same])
        ++same;
    return same;
}

// How many bytes the texts ending at aEnd and bEnd have alike from their ends, up to `most`.
std::size_t SameFromEnd(const char* aEnd, const char* bEnd, std::size_t most) {
    std::size_t same = 0;
    while (same + kCompareBlock <= most &&
           std::memcmp(aEnd - same - kCompareBlock, bEnd - same - kCompareBlock, kCompareBlock) ==
               0)
        same += kCompareBlock;
    while (same < most && aEnd[-1 - std::ptrdiff_t(same)] == bEnd[-1 - std::ptrdiff_t(same)])
        ++same;
    return same;
}

}  // namespace

LineChange ChangedLines(std::string_view before, std::string_view after) {
    if (before == after)
        return {};
    const std::size_t shorter = std::min(before.size(), after.size());
    const std::size_t same = SameFromStart(before.data(), after.data(), shorter);
    const std::size_t sameEnd =
        SameFromEnd(before.data() + before.size(), after.data() + after.size(), shorter - same);
    // Back to the start of the first changed line; on past the first line feed of the part both
    // texts end in alike, so that the end falls between two lines in both.
    const std::size_t lineStart =
        same == 0 ? 0 : before.rfind('\n', same - 1) + 1;  // npos + 1 is 0
    const std::size_t feed = before.find('\n', before.size() - sameEnd);
    const std::size_t oldEnd = feed == std::string_view::npos ? before.size() : feed + 1;
    LineChange change;
    change.first = LineFeeds(before.substr(0, lineStart)) + 1;
    change.removed = LinesIn(before, lineStart, oldEnd);
    change.from = lineStart;
    change.to = oldEnd + after.size() - before.size();
    return change;
}

ProgramFollow::ProgramFollow(Context& context, QObject* parent)
    : QObject(parent), context_(context) {
    wait_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, [this] { FollowNow(); });
}

ProgramFollow::~ProgramFollow() = default;

void ProgramFollow::Schedule() {
    wait_.start(kRealTimeDelayMs);
}

void ProgramFollow::ScheduleAtOnce() {
    wait_.start(0);
}

const interp::FollowResult* ProgramFollow::Result() const {
    return session_ && followedOnce_ && !busy_ ? &session_->Result() : nullptr;
}

interp::FollowSession::MoveChange ProgramFollow::LastMoveChange() const {
    return session_ ? session_->LastMoveChange() : interp::FollowSession::MoveChange{};
}

std::uint32_t ProgramFollow::LinesFollowedLast() const {
    return session_ ? session_->LinesFollowedLast() : 0;
}

// The session for the program as it now is: a new one when its type reads another dialect or
// it lies in another folder, whose subprogram files it may call.
bool ProgramFollow::PrepareSession() {
    const QString path = context_.state.ProgramFileName;
    const std::optional<interp::Dialect> dialect = interp::DialectNamed(
        DialectForType(context_.settings, context_.state.FileTypeKey.toStdString()));
    const QFileInfo file(path);
    const QString folder = file.isAbsolute() ? file.absolutePath() : QString();
    if (session_ && dialect == dialect_ && folder == folder_)
        return true;
    dialect_ = dialect;
    folder_ = folder;
    session_.reset();
    files_.reset();
    followedOnce_ = false;
    if (!dialect_)
        return false;
    if (!folder_.isEmpty()) {
        files_ = std::make_unique<interp::FolderSubprograms>(
            folder_.toStdString(),
            [](const std::string& bytes) { return DecodeText(bytes, DetectEncoding(bytes)); });
    }
    session_ = std::make_unique<interp::FollowSession>(*dialect_, files_.get());
    return true;
}

bool ProgramFollow::FollowNow() {
    if (busy_ || ConversionRunning()) {
        Schedule();  // the other task's progress lets timers run: try again once it is done
        return false;
    }
    wait_.stop();
    if (!context_.documents.HasOriginalFile())
        return false;  // closed: its text is gone
    const bool hadSession = session_ != nullptr;
    if (!PrepareSession()) {
        if (hadSession)
            emit followed();  // a data file now: what was shown goes
        return false;
    }
    const std::string_view text = EditorView(context_.documents.OriginalFile().Text1());
    const auto followWhole = [&] {
        std::string whole = interp::FollowSession::WithRoomForEdits(text);
        const std::uint32_t lines = LinesIn(text, 0, text.size());
        const bool done =
            RunFollow([&] { return session_->Follow(std::move(whole)); }, std::size_t(lines) + 1);
        if (done)
            textLines_ = lines;
        return done;
    };
    bool done = false;
    if (!followedOnce_) {
        done = followWhole();
    } else {
        const LineChange change = ChangedLines(session_->Text(), text);
        if (change.removed == 0 && change.from == change.to)
            return true;  // nothing changed
        const std::string lines(text.substr(change.from, change.to - change.from));
        const std::uint32_t linesAfter =
            textLines_ - change.removed + LinesIn(text, change.from, change.to);
        done = RunFollow([&] { return session_->Replace(change.first, change.removed, lines); },
                         std::size_t(linesAfter) + 1);
        if (done)
            textLines_ = linesAfter;
        // The text followed is always the text shown; should a change ever be misread, the
        // whole text is followed rather than a wrong path shown.
        if (done && session_->Text() != text)
            done = followWhole();
    }
    if (!done)
        return false;
    ++followCount_;
    followedOnce_ = true;
    emit followed();
    return true;
}

bool ProgramFollow::RunFollow(const std::function<bool()>& work, std::size_t lines) {
    TaskProgress progress;
    session_->SetKeepGoing([&progress, lines](std::uint32_t followed) {
        progress.permille = int(std::min<std::size_t>(
            1000, std::size_t(followed) * 1000 / std::max<std::size_t>(lines, 1)));
        return !progress.cancelled;
    });
    busy_ = true;
    bool done = false;
    try {
        context_.services.RunWithProgress(QStringLiteral("Following the program..."), progress,
                                          [&] { done = work(); });
    } catch (...) {
        busy_ = false;
        session_->SetKeepGoing(nullptr);
        throw;
    }
    busy_ = false;
    session_->SetKeepGoing(nullptr);
    return done;
}

}  // namespace qm
