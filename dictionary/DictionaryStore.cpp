#include "DictionaryStore.h"

#include "AppState.h"
#include "Context.h"
#include "DictionaryFile.h"
#include "DictionarySlots.h"
#include "FileStamp.h"
#include "Services.h"

namespace qm {
namespace {

// True when the table holds what the file holds now, read again if need be.
bool ReadAgainIfChanged(Context& context) {
    AppState& state = context.state;
    if (StampFile(EnginePath(state.DicFileName)) == state.DictionaryStamp)
        return true;
    if (LoadDictionary(context) != DictionaryLoad::Loaded) {
        context.services.Message(
            QStringLiteral("The dictionary %1 was changed on disk and can no longer be read; it "
                           "was not saved.")
                .arg(state.DicFileName));
        return false;
    }
    context.services.Message(
        QStringLiteral("The dictionary %1 was changed on disk by another program since it was "
                       "read. It was read again, and your change is made to what it holds now.")
            .arg(state.DicFileName));
    return true;
}

// The way out of a Shift-JIS dictionary that cannot take a character: the same dictionary in
// UTF-8, written whole or not at all, its Japanese comments kept. Programs and peers that read
// only Shift-JIS would no longer read it, so the user decides.
bool OfferUtf8(Context& context, const Status& refusal) {
    const QString prompt =
        FromEngineText(refusal.message()) +
        QStringLiteral("\r\nConvert the dictionary to UTF-8, which can hold it, and save it? Its Japanese "
                       "comments are kept, but programs that read only Shift-JIS cannot read it then.");
    return context.services.MsgBox({prompt, MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Second,
                                    QStringLiteral("Convert to UTF-8")}) == MsgResult::Yes;
}

}  // namespace

bool RequireLoadedDictionary(Context& context) {
    if (context.state.DictionaryLoaded)
        return true;
    context.services.Message(
        QStringLiteral("No dictionary is loaded. Select or create a dictionary first."));
    return false;
}

bool WriteDictionary(Context& context) {
    if (!RequireLoadedDictionary(context))
        return false;
    AppState& state = context.state;
    const std::string path = EnginePath(state.DicFileName);
    Status saved = SaveDictionary(path, state.Dictionary);
    if (!saved.ok() && NeedsUtf8ToSave(state.Dictionary)) {
        if (!OfferUtf8(context, saved)) {
            context.services.Message(
                QStringLiteral("The dictionary was not saved; it is read again from the file."));
            LoadDictionary(context);
            return false;
        }
        state.Dictionary.encoding = {Encoding::Utf8, false};
        saved = SaveDictionary(path, state.Dictionary);
    }
    if (saved.ok()) {
        state.DictionaryStamp = StampFile(path);
        return true;
    }
    context.services.Message(
        FromEngineText(saved.message()) +
        QStringLiteral("\r\nThe dictionary was not saved; it is read again from the file."));
    LoadDictionary(context);
    return false;
}

bool ChangeDictionary(Context& context, const std::function<bool(DictionaryTable&)>& change) {
    if (!RequireLoadedDictionary(context))
        return false;
    FileLock lock;
    if (Status locked = lock.Lock(EnginePath(context.state.DicFileName)); !locked.ok()) {
        context.services.Message(FromEngineText(locked.message()) +
                                 QStringLiteral("\r\nThe dictionary was not saved."));
        return false;
    }
    return ReadAgainIfChanged(context) && change(context.state.Dictionary) &&
           WriteDictionary(context);
}

}  // namespace qm
