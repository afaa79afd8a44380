#include "Dialect.h"

namespace qm::interp {

std::optional<Dialect> DialectNamed(std::string_view name) {
    if (name == "rs274ngc")
        return Dialect::Rs274ngc;
    if (name == "fanuc")
        return Dialect::Fanuc;
    return std::nullopt;
}

std::string_view DialectName(Dialect dialect) {
    return dialect == Dialect::Fanuc ? "fanuc" : "rs274ngc";
}

}  // namespace qm::interp
