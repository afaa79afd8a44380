#pragma once

#include <optional>
#include <string_view>

#include "IncrementalConvert.h"

namespace qm {

struct Context;

// Converts source into the program's conversion state on a worker thread; a conversion that
// runs long shows its progress and can be cancelled. Nothing when it was cancelled (or another
// conversion is still running): the previous result stays. Throws what the conversion throws,
// such as ConversionTooLarge.
std::optional<IncrementalConverter::Change> UpdateConversion(Context& context, std::string_view source);

// Whether a conversion is running: its progress dialog lets timers and other events run, and
// nothing may touch the conversion state or start another meanwhile.
bool ConversionRunning();

}  // namespace qm
