#include "Expression.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <string>

namespace qm::interp {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

enum class Op {
    None,
    Power,
    Times,
    Divide,
    Mod,
    Plus,
    Minus,
    Eq,
    Ne,
    Gt,
    Ge,
    Lt,
    Le,
    And,
    Or,
    Xor
};

// Binding levels, loosest first: logic, comparison, sums, products, power.
int LevelOf(Op op) {
    switch (op) {
        case Op::And:
        case Op::Or:
        case Op::Xor:
            return 0;
        case Op::Eq:
        case Op::Ne:
        case Op::Gt:
        case Op::Ge:
        case Op::Lt:
        case Op::Le:
            return 1;
        case Op::Plus:
        case Op::Minus:
            return 2;
        case Op::Times:
        case Op::Divide:
        case Op::Mod:
            return 3;
        case Op::Power:
            return 4;
        case Op::None:
            break;
    }
    return -1;
}

double Apply(Op op, double a, double b) {
    switch (op) {
        case Op::Power:
            return std::pow(a, b);
        case Op::Times:
            return a * b;
        case Op::Divide:
            if (b == 0.0)
                throw ReadFailure("division by zero");
            return a / b;
        case Op::Mod: {
            if (b == 0.0)
                throw ReadFailure("division by zero");
            const double r = std::fmod(a, b);
            return r < 0 ? r + std::fabs(b) : r;  // the result has the divisor's sign range
        }
        case Op::Plus:
            return a + b;
        case Op::Minus:
            return a - b;
        case Op::Eq:
            return a == b;
        case Op::Ne:
            return a != b;
        case Op::Gt:
            return a > b;
        case Op::Ge:
            return a >= b;
        case Op::Lt:
            return a < b;
        case Op::Le:
            return a <= b;
        case Op::And:
            return a != 0.0 && b != 0.0;
        case Op::Or:
            return a != 0.0 || b != 0.0;
        case Op::Xor:
            return (a != 0.0) != (b != 0.0);
        case Op::None:
            break;
    }
    return 0;
}

// A letter as the C locale has it, without a call into the library for every value read.
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

double RoundHalfAway(double v) {
    return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
}

}  // namespace

bool ExpressionReader::Take(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word)
        return false;
    pos_ += word.size();
    return true;
}

double ExpressionReader::Number() {
    const std::size_t start = pos_;
    bool digits = false;
    // The digits as a whole number and the count of decimals: a value of up to 15 digits is
    // then one exact division, the same double strtod gives, at a fraction of its cost.
    std::uint64_t mantissa = 0;
    int significant = 0, decimals = 0;
    const char* const text = text_.data();
    const std::size_t size = text_.size();
    std::size_t at = pos_;
    while (at < size && text[at] == '0')
        ++at;  // leading zeros count for nothing
    digits = at > pos_;
    for (; at < size && unsigned(text[at] - '0') < 10; ++at, ++significant)
        mantissa = mantissa * 10 + std::uint64_t(text[at] - '0');
    if (at < size && text[at] == '.') {
        ++at;
        for (; at < size && unsigned(text[at] - '0') < 10; ++at, ++decimals) {
            if (mantissa != 0 || text[at] != '0')
                ++significant;
            mantissa = mantissa * 10 + std::uint64_t(text[at] - '0');
        }
    }
    digits = digits || significant > 0 || decimals > 0;
    pos_ = at;
    if (!digits) {
        pos_ = start;
        Fail(AtEnd() ? "a value is missing at the end of the block"
                     : std::string("a value is missing before '") + Peek() + "'");
    }
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (significant <= 15 && decimals <= 15)
        return double(mantissa) / kPowers[decimals];
    return std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
}

ParameterRef ExpressionReader::Parameter() {
    ParameterRef ref;
    if (Peek() == '<') {
        const std::size_t close = text_.find('>', pos_);
        if (close == std::string_view::npos)
            Fail("a parameter name has no closing '>'");
        ref.name = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
        if (ref.name.empty())
            Fail("a parameter name is empty");
        pos_ = close + 1;
        return ref;
    }
    const double number = RealValue();
    if (number != std::floor(number) || number < 0 || number > 1e6) {
        Fail("parameter number " + std::to_string(number) + " is not a whole number in range");
    }
    ref.number = int(number);
    return ref;
}

double ExpressionReader::ReadParameter(const ParameterRef& ref) const {
    if (ref.name.empty())
        return values_.Numbered(ref.number);
    if (const auto value = values_.Named(ref.name))
        return *value;
    Fail("parameter #<" + ref.name + "> is used before it is set");
}

double ExpressionReader::RealValue() {
    const char c = Peek();
    if (c == '[')
        return Bracketed();
    if (c == '#') {
        ++pos_;
        return ReadParameter(Parameter());
    }
    if (c == '-' || c == '+') {
        ++pos_;
        const double v = RealValue();
        return c == '-' ? -v : v;
    }
    if (IsLetter(c)) {
        std::size_t end = pos_;
        while (end < text_.size() && IsLetter(text_[end]))
            ++end;
        const std::string_view name = text_.substr(pos_, end - pos_);
        pos_ = end;
        return Function(name);
    }
    return Number();
}

double ExpressionReader::Bracketed() {
    if (!Take("["))
        Fail("'[' expected");
    const double v = Binary(0);
    if (dialect_ == Dialect::Fanuc && Peek() == ',')
        return v;  // ATAN[a,b] / POW[a,b]
    if (!Take("]"))
        Fail("an expression has no closing ']'");
    return v;
}

double ExpressionReader::Expression() {
    return Binary(0);
}

double ExpressionReader::Binary(int level) {
    double left = level > 4 ? Unary() : Binary(level + 1);
    for (;;) {
        const std::size_t before = pos_;
        Op op = Op::None;
        if (Take("**"))
            op = Op::Power;
        else if (Take("*"))
            op = Op::Times;
        else if (Take("/"))
            op = Op::Divide;
        else if (Take("MOD"))
            op = Op::Mod;
        else if (Take("+"))
            op = Op::Plus;
        else if (Take("-"))
            op = Op::Minus;
        else if (Take("EQ"))
            op = Op::Eq;
        else if (Take("NE"))
            op = Op::Ne;
        else if (Take("GT"))
            op = Op::Gt;
        else if (Take("GE"))
            op = Op::Ge;
        else if (Take("LT"))
            op = Op::Lt;
        else if (Take("LE"))
            op = Op::Le;
        else if (Take("AND"))
            op = Op::And;
        else if (Take("OR"))
            op = Op::Or;
        else if (Take("XOR"))
            op = Op::Xor;
        if (op == Op::None || LevelOf(op) != level) {
            pos_ = before;
            return left;
        }
        // Power binds right to left; every other operator left to right.
        const double right = op == Op::Power ? Binary(level) : Binary(level + 1);
        left = Apply(op, left, right);
    }
}

double ExpressionReader::Unary() {
    if (Take("-"))
        return -Unary();
    if (Take("+"))
        return Unary();
    return RealValue();
}

double ExpressionReader::Function(std::string_view name) {
    if (name == "EXISTS") {
        if (!Take("[#"))
            Fail("EXISTS needs a named parameter");
        const ParameterRef ref = Parameter();
        if (!Take("]"))
            Fail("EXISTS has no closing ']'");
        return !ref.name.empty() && values_.Named(ref.name).has_value();
    }
    if (name == "ATAN" || name == "POW") {
        const double a = Bracketed();
        double b = 0;
        if (dialect_ == Dialect::Fanuc && Take(",")) {
            b = Binary(0);
            if (!Take("]"))
                Fail(std::string(name) + " has no closing ']'");
        } else if (Take("/")) {
            b = Bracketed();
        } else {
            Fail(std::string(name) + " needs two values: " + std::string(name) + "[a]/[b]");
        }
        if (name == "POW")
            return std::pow(a, b);
        double degrees = std::atan2(a, b) / kDegree;
        if (dialect_ == Dialect::Fanuc && degrees < 0)
            degrees += 360.0;
        return degrees;
    }
    const double v = Bracketed();
    if (name == "ABS")
        return std::fabs(v);
    if (name == "ACOS" || name == "ASIN") {
        if (v < -1.0 || v > 1.0)
            Fail(std::string(name) + " of a value outside -1 to 1");
        return (name == "ACOS" ? std::acos(v) : std::asin(v)) / kDegree;
    }
    if (name == "COS")
        return std::cos(v * kDegree);
    if (name == "SIN")
        return std::sin(v * kDegree);
    if (name == "TAN")
        return std::tan(v * kDegree);
    if (name == "EXP")
        return std::exp(v);
    if (name == "FIX")
        return std::floor(v);
    if (name == "FUP")
        return std::ceil(v);
    if (name == "ROUND")
        return RoundHalfAway(v);
    if (name == "LN") {
        if (v <= 0.0)
            Fail("LN of a value not above zero");
        return std::log(v);
    }
    if (name == "SQRT") {
        if (v < 0.0)
            Fail("SQRT of a negative value");
        return std::sqrt(v);
    }
    if (dialect_ == Dialect::Fanuc && name == "BIN") {  // BCD to binary
        double result = 0, scale = 1;
        for (long bcd = long(v); bcd > 0; bcd >>= 4, scale *= 10)
            result += double(bcd & 15) * scale;
        return result;
    }
    if (dialect_ == Dialect::Fanuc && name == "BCD") {
        long result = 0;
        int shift = 0;
        for (long n = long(v); n > 0; n /= 10, shift += 4)
            result |= (n % 10) << shift;
        return double(result);
    }
    Fail("unknown function " + std::string(name));
}

}  // namespace qm::interp
