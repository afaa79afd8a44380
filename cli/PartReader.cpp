#include "PartReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm::cli {

bool PartReader::Next(std::string_view& part, bool& last) {
    buffer_.erase(0, consumed_);
    cut_ = false;
    std::size_t searched = 0;  // bytes known to hold no LF
    for (;;) {
        if (!Fill()) return false;
        if (ended_) return Hand(buffer_.size(), true, part, last);
        const void* lineFeed = ::memrchr(buffer_.data() + searched, '\n', buffer_.size() - searched);
        if (lineFeed != nullptr) {
            return Hand(std::size_t(static_cast<const char*>(lineFeed) - buffer_.data()) + 1, false, part, last);
        }
        // A line longer than a part: cut where no word can reach across, or read on.
        if (const std::size_t end = LastCutByte(); end > 0) {
            cut_ = true;
            return Hand(end, false, part, last);
        }
        searched = buffer_.size();
        capacity_ *= 2;
    }
}

// One past the buffer's last cut byte; 0 when it holds none.
std::size_t PartReader::LastCutByte() const {
    if (cutBytes_ == nullptr) return 0;
    for (std::size_t end = buffer_.size(); end > 0; --end) {
        if ((*cutBytes_)[static_cast<unsigned char>(buffer_[end - 1])]) return end;
    }
    return 0;
}

bool PartReader::Rewind() {
    buffer_.clear();
    consumed_ = 0;
    ended_ = false;
    cut_ = false;
    return ::lseek(fd_, 0, SEEK_SET) == 0;
}

bool PartReader::Hand(std::size_t bytes, bool last, std::string_view& part, bool& isLast) {
    consumed_ = bytes;
    part = std::string_view(buffer_).substr(0, bytes);
    isLast = last;
    return true;
}

// Reads until the buffer holds capacity_ bytes or the file ends.
bool PartReader::Fill() {
    std::size_t have = buffer_.size();
    buffer_.resize(capacity_);
    while (have < capacity_ && !ended_) {
        const ssize_t got = ::read(fd_, buffer_.data() + have, capacity_ - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            buffer_.resize(have);
            return false;
        }
        ended_ = got == 0;
        have += std::size_t(got);
    }
    buffer_.resize(have);
    return true;
}

}  // namespace qm::cli
