#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace qm {

// The machine-wide configuration registry, as far as the program reads it. This platform has
// none: PlatformRegistry answers every question with "not found". Tests give their own.
enum class RegistryRoot { LocalMachine };

// A value as stored: text, a 32-bit number, or anything else (raw bytes, lists ...).
struct RegistryOther {};
using RegistryValue = std::variant<QString, std::uint32_t, RegistryOther>;

class Registry {
public:
    virtual ~Registry() = default;
    // The named value under keyPath, or nothing when the key or the value does not exist.
    virtual std::optional<RegistryValue> Query(RegistryRoot root, const QString& keyPath,
                                               const QString& valueName) const = 0;
};

class PlatformRegistry : public Registry {
public:
    std::optional<RegistryValue> Query(RegistryRoot, const QString&, const QString&) const override {
        return std::nullopt;
    }
};

// Reads a value. Not found: KeyVal becomes empty, false. Text: KeyVal is the text up to its first
// zero character and at most 1024 characters, true. A number: its decimal text, true. Any other
// type: KeyVal stays empty, true.
bool GetKeyValue(const Registry& registry, RegistryRoot KeyRoot, const QString& KeyName,
                 const QString& SubKeyRef, QString& KeyVal);

}  // namespace qm
