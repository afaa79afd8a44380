#include "Registry.h"

#include <algorithm>

namespace qm {

namespace {

constexpr qsizetype kValueBufferSize = 1024;

}  // namespace

bool GetKeyValue(const Registry& registry, RegistryRoot KeyRoot, const QString& KeyName,
                 const QString& SubKeyRef, QString& KeyVal) {
    KeyVal.clear();
    const std::optional<RegistryValue> value = registry.Query(KeyRoot, KeyName, SubKeyRef);
    if (!value) return false;
    if (const QString* text = std::get_if<QString>(&*value)) {
        const qsizetype zero = text->indexOf(QChar(u'\0'));
        KeyVal = text->left(zero < 0 ? kValueBufferSize : std::min(zero, kValueBufferSize));
    } else if (const std::uint32_t* number = std::get_if<std::uint32_t>(&*value)) {
        KeyVal = QString::number(*number);
    }
    return true;
}

}  // namespace qm
