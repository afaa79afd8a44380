#include "DictionaryStore.h"

#include "AppState.h"
#include "Context.h"
#include "DictionaryFile.h"
#include "DictionarySlots.h"
#include "Services.h"

namespace qm {

bool RequireLoadedDictionary(Context& context) {
    if (context.state.DictionaryLoaded) return true;
    context.services.Message(QStringLiteral("No dictionary is loaded. Select or create a dictionary first."));
    return false;
}

bool WriteDictionary(Context& context) {
    if (!RequireLoadedDictionary(context)) return false;
    AppState& state = context.state;
    const Status saved = SaveDictionary(EnginePath(state.DicFileName), state.Dictionary);
    if (saved.ok()) return true;
    context.services.Message(FromEngineText(saved.message()) +
                             QStringLiteral("\r\nThe dictionary was not saved; it is read again from the file."));
    LoadDictionary(context);
    return false;
}

}  // namespace qm
