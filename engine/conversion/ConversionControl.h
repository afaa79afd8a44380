#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>

namespace qm {

// What a caller may ask of a conversion besides its result.
struct ConversionControl {
    // The most bytes the result may have; 0: DefaultResultLimit of the input's size. A
    // conversion that would pass it throws ConversionTooLarge instead of eating all memory.
    std::size_t resultLimit = 0;
    // Called now and then with the input bytes converted so far and their total; returning
    // false cancels the conversion, which then throws ConversionCancelled. Called from the
    // converting threads, never by two at once.
    std::function<bool(std::size_t done, std::size_t total)> progress;
};

// Far above any real program: 64 times the input plus 1 GiB.
std::size_t DefaultResultLimit(std::size_t inputBytes);

// A conversion stopped because its result grew past the limit; the message names the
// dictionary entry that most likely grows without end.
class ConversionTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A conversion stopped because its progress callback asked so.
class ConversionCancelled : public std::runtime_error {
public:
    ConversionCancelled() : std::runtime_error("The conversion was cancelled.") {}
};

}  // namespace qm
