#include "AppState.h"

namespace qm {

int DictionarySlotIndex(const QString& fileTypeKey) {
    for (std::size_t i = 0; i < kDictionarySlotKeys.size(); ++i) {
        if (fileTypeKey == QLatin1String(kDictionarySlotKeys[i].fileTypeKey)) return int(i);
    }
    return -1;
}

}  // namespace qm
