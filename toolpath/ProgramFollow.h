#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <string_view>

#include "Dialect.h"
#include "FollowResult.h"
#include "FollowSession.h"

namespace qm {

struct Context;
namespace interp {
class FolderSubprograms;
}  // namespace interp

// Where two texts differ, in whole lines: lines first .. first + removed - 1 of the old text
// became the bytes [from, to) of the new one.
//   old "G0 X1\nG1 X2\nM2\n", new "G0 X1\nG1 X3\nM2\n" -> first 2, removed 1, "G1 X3\n".
struct LineChange {
    std::uint32_t first = 1;
    std::uint32_t removed = 0;
    std::size_t from = 0, to = 0;
};
LineChange ChangedLines(std::string_view before, std::string_view after);

// The source program, followed as its controller would and kept followed while it is edited:
// 300 ms after the last change, like the conversion, only the changed part is followed again
// where the interpreter can (from the start only when the state before the change differs).
// The work runs on the worker thread with the progress and Cancel of long tasks; a cancelled
// follow leaves the last complete result in place.
class ProgramFollow : public QObject {
    Q_OBJECT
  public:
    ProgramFollow(Context& context, QObject* parent = nullptr);
    ~ProgramFollow() override;

    // The text changed: follows it again once the typing has paused.
    void Schedule();
    // A program was opened: followed as soon as the window has shown it, before anything
    // else waits for the typing to pause.
    void ScheduleAtOnce();
    // Follows the source window's text now. True when the result is then that text's.
    bool FollowNow();

    // The last complete result; nothing before the first, or for a data file.
    const interp::FollowResult* Result() const;
    // The dialect the program is read in; nothing for a data file, which is not followed.
    std::optional<interp::Dialect> Dialect() const { return dialect_; }
    // While a follow runs, the result may not be read: the worker is changing it.
    bool Busy() const { return busy_; }
    // How many lines the last follow ran (the part followed again after an edit).
    std::uint32_t LinesFollowedLast() const;
    // Counts the complete follows, so that one who saw the result of the one before knows the
    // last one changed it only by LastMoveChange.
    std::uint64_t FollowCount() const { return followCount_; }
    interp::FollowSession::MoveChange LastMoveChange() const;
    // How many lines the text followed last has.
    std::uint32_t TextLines() const { return textLines_; }

  signals:
    // A new complete result is in place.
    void followed();

  private:
    bool PrepareSession();
    bool RunFollow(const std::function<bool()>& work, std::size_t lines);

    Context& context_;
    QTimer wait_;
    std::optional<interp::Dialect> dialect_;
    QString folder_;
    std::unique_ptr<interp::FolderSubprograms> files_;
    std::unique_ptr<interp::FollowSession> session_;
    bool followedOnce_ = false;
    bool busy_ = false;
    std::uint32_t textLines_ = 0;
    std::uint64_t followCount_ = 0;
};

}  // namespace qm
