#pragma once

#include <string>
#include <utility>

namespace qm {

// The outcome of an operation that can fail. A failure carries a message written for the
// user: it names the file, line or character concerned and what is wrong.
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Fail(std::string message) {
        Status status;
        status.failed_ = true;
        status.message_ = std::move(message);
        return status;
    }

    bool ok() const { return !failed_; }
    const std::string& message() const { return message_; }

private:
    bool failed_ = false;
    std::string message_;
};

}  // namespace qm
