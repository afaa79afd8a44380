#include "ConversionProgress.h"

#include "AppState.h"
#include "Context.h"
#include "ConversionControl.h"
#include "Services.h"

namespace qm {
namespace {

bool running = false;

}  // namespace

bool ConversionRunning() { return running; }

std::optional<IncrementalConverter::Change> UpdateConversion(Context& context, std::string_view source) {
    if (running) return std::nullopt;
    running = true;
    struct Done {
        ~Done() { running = false; }
    } done;

    AppState& state = context.state;
    TaskProgress progress;
    ConversionControl control;
    control.progress = [&progress](std::size_t converted, std::size_t total) {
        progress.permille = total == 0 ? 1000 : int(double(converted) / double(total) * 1000);
        return !progress.cancelled;
    };
    std::optional<IncrementalConverter::Change> change;
    try {
        context.services.RunWithProgress(QStringLiteral("Converting..."), progress, [&] {
            change = state.Conversion.Update(source, state.Dictionary, state.SpaceAdd, control);
        });
    } catch (const ConversionCancelled&) {
        return std::nullopt;
    }
    return change;
}

}  // namespace qm
