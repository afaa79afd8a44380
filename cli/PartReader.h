#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qm::cli {

// Large enough that reading and working through a part each cost far more than their calls;
// small enough that the buffers stay in memory already touched.
inline constexpr std::size_t kPartBytes = std::size_t(4) << 20;

// Reads a plain file a part of about kPartBytes at a time, each part but the last ending right
// after an LF. A line longer than a part is cut right after the last cut byte of the part, when
// there is one (CutAfter); otherwise it makes a longer part. The file is read as it is, so a
// file that grows while it is read is read to where it ends then.
class PartReader {
public:
    explicit PartReader(int fd) : fd_(fd) {}

    // The bytes a long line may be cut after (an ASCII byte, so that no character is cut in
    // two), or null for none.
    void CutAfter(const std::array<bool, 256>* cutBytes) { cutBytes_ = cutBytes; }

    // The next part, valid until the next call; last when it runs to the end of the file. False
    // on a read error, which errno tells.
    bool Next(std::string_view& part, bool& last);
    // Whether the part handed out last ends inside a line (after a cut byte).
    bool Cut() const { return cut_; }
    // Back to the start of the file, to read it again.
    bool Rewind();

private:
    bool Hand(std::size_t bytes, bool last, std::string_view& part, bool& isLast);
    bool Fill();
    std::size_t LastCutByte() const;

    const int fd_;
    std::string buffer_;
    std::size_t consumed_ = 0, capacity_ = kPartBytes;
    bool ended_ = false;
    const std::array<bool, 256>* cutBytes_ = nullptr;
    bool cut_ = false;
};

}  // namespace qm::cli
