#include "tools/qmrc/expression.h"

#include <string>

#include "platform/resources/window_styles.h"

namespace qmrc {
namespace {

enum class Mode { kStyle, kNumber, kCondition };

struct Value {
  std::int64_t number = 0;
  std::uint32_t cleared = 0;
};

// Binary operators from the loosest to the tightest binding, as in C.
constexpr const char* kLevels[][4] = {
    {"||", nullptr}, {"&&", nullptr}, {"|", nullptr},          {"&", nullptr},
    {"==", "!=", nullptr}, {"<", ">", "<=", ">="}, {"+", "-", nullptr}, {"*", "/", nullptr},
};
constexpr int kLevelCount = sizeof(kLevels) / sizeof(kLevels[0]);
constexpr int kFirstResourceLevel = 2;  // rc scripts know no logic or comparison operators
// Each nested parenthesis or prefix operator costs several stack frames; a script
// nested deeper than any written by hand is refused rather than left to overflow.
constexpr int kMaxNesting = 256;

class Evaluator {
 public:
  Evaluator(TokenCursor& cursor, Mode mode, const char* what) : cursor_(cursor), mode_(mode), what_(what) {}

  Value Evaluate() { return Binary(mode_ == Mode::kCondition ? 0 : kFirstResourceLevel); }

 private:
  const char* TakeOperator(int level) {
    for (const char* op : kLevels[level]) {
      if (op == nullptr) break;
      if (cursor_.Peek().IsPunctuator(op)) {
        cursor_.Next();
        return op;
      }
    }
    return nullptr;
  }

  Value Binary(int level) {
    if (level == kLevelCount) return Unary();
    Value left = Binary(level + 1);
    while (const char* op = TakeOperator(level)) {
      const Value right = Binary(level + 1);
      left.cleared |= right.cleared;
      left.number = Apply(op, left.number, right.number);
    }
    return left;
  }

  std::int64_t Apply(const std::string& op, std::int64_t a, std::int64_t b) {
    if (op == "|") return a | b;
    if (op == "&") return a & b;
    if (op == "+") return Wrap(a + b);
    if (op == "-") return Wrap(a - b);
    if (op == "*") return Wrap(a * b);
    if (op == "/") {
      if (b == 0) cursor_.Fail("division by zero");
      return a / b;
    }
    if (op == "||") return (a != 0 || b != 0) ? 1 : 0;
    if (op == "&&") return (a != 0 && b != 0) ? 1 : 0;
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    return a >= b;
  }

  // Keeps results within 32 bits, signed, as rc computes them.
  static std::int64_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

  Value Unary() {
    if (++depth_ > kMaxNesting) cursor_.Fail(std::string(what_) + " is nested too deeply");
    Value value = UnaryWithin();
    --depth_;
    return value;
  }

  Value UnaryWithin() {
    const Token& token = cursor_.Peek();
    if (token.IsPunctuator("-")) {
      cursor_.Next();
      Value operand = Unary();
      operand.number = Wrap(-operand.number);
      return operand;
    }
    if (token.IsPunctuator("~")) {
      cursor_.Next();
      Value operand = Unary();
      operand.number = Wrap(~operand.number);
      return operand;
    }
    if (token.IsPunctuator("!") && mode_ == Mode::kCondition) {
      cursor_.Next();
      Value operand = Unary();
      operand.number = operand.number == 0 ? 1 : 0;
      return operand;
    }
    if (token.IsKeyword("NOT") && mode_ != Mode::kCondition) {
      if (mode_ == Mode::kNumber) cursor_.Fail(std::string("NOT is only allowed in a style, not in ") + what_);
      cursor_.Next();
      const Value operand = Unary();
      return Value{0, operand.cleared | static_cast<std::uint32_t>(operand.number)};
    }
    if (token.IsPunctuator("(")) {
      cursor_.Next();
      Value inner = Binary(mode_ == Mode::kCondition ? 0 : kFirstResourceLevel);
      cursor_.Expect(")", "the expression in parentheses");
      return inner;
    }
    if (token.kind == TokenKind::kNumber) {
      cursor_.Next();
      return Value{static_cast<std::int32_t>(token.number), 0};
    }
    if (token.kind == TokenKind::kIdentifier) {
      if (mode_ == Mode::kCondition) {
        cursor_.Next();
        return Value{0, 0};  // the C preprocessor reads an unknown name as 0
      }
      if (std::optional<std::uint32_t> style = platform::LookupStyleName(token.text)) {
        cursor_.Next();
        return Value{static_cast<std::int32_t>(*style), 0};
      }
      cursor_.Fail("unknown identifier '" + token.text + "'");
    }
    cursor_.Fail(std::string("expected ") + what_ + ", found " + Spelling(token));
  }

  TokenCursor& cursor_;
  Mode mode_;
  const char* what_;
  int depth_ = 0;
};

}  // namespace

StyleValue EvaluateStyle(TokenCursor& cursor) {
  const Value value = Evaluator(cursor, Mode::kStyle, "a style").Evaluate();
  return StyleValue{static_cast<std::uint32_t>(value.number), value.cleared};
}

std::int64_t EvaluateNumber(TokenCursor& cursor, const char* what) {
  return Evaluator(cursor, Mode::kNumber, what).Evaluate().number;
}

bool EvaluateCondition(TokenCursor& cursor) {
  return Evaluator(cursor, Mode::kCondition, "a condition").Evaluate().number != 0;
}

}  // namespace qmrc
