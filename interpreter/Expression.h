#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Dialect.h"
#include "ValueSource.h"

namespace qm::interp {

// A block that cannot be read: the reason goes to the problems at the block's line.
struct ReadFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The parameter a "#" names: a number, or an upper-case name (#<name>).
struct ParameterRef {
    int number = 0;
    std::string name;
};

// Reads values from a block's text, with blanks removed and letters in upper case, at pos:
// numbers, parameters, [expressions] with the operators and functions of the dialect.
class ExpressionReader {
  public:
    ExpressionReader(std::string_view text, std::size_t& pos, const ValueSource& values,
                     Dialect dialect)
        : text_(text), pos_(pos), values_(values), dialect_(dialect) {}

    double RealValue();        // a word's value: number, #n, [expression] or function
    double Expression();       // operators without brackets (a Macro B right-hand side)
    ParameterRef Parameter();  // what follows a "#"
    double ReadParameter(const ParameterRef& ref) const;

  private:
    double Binary(int level);
    double Unary();
    double Bracketed();
    double Function(std::string_view name);
    double Number();
    bool Take(std::string_view word);
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    [[noreturn]] void Fail(const std::string& reason) const { throw ReadFailure(reason); }

    std::string_view text_;
    std::size_t& pos_;
    const ValueSource& values_;
    Dialect dialect_;
};

}  // namespace qm::interp
