#pragma once

#include <functional>
#include <utility>

#include <QString>

namespace qm {

class Services;

// Runs a command so that a failure nobody could foresee — memory running out, a file-system
// error, a conversion stopped for growing without end — ends the command with a message instead
// of ending the program: the texts in both windows stay as they are and can still be saved.
// Returns false when the command failed so; note, when given, ends the message.
bool RunGuarded(Services& services, const std::function<void()>& command,
                const QString& note = QString());

// A slot without arguments that runs command guarded, for connecting to a signal.
template <typename Command>
auto Guarded(Services& services, Command command) {
    return [&services, command = std::move(command)] { RunGuarded(services, command); };
}

}  // namespace qm
