#pragma once
// Numbers and style expressions: | & + - * / ~ ( ), unary minus, decimal and hex
// numbers, names of window_styles.h, and rc's NOT, which names bits to clear
// ("WS_VISIBLE | NOT WS_TABSTOP"). Also the conditions of #if and #elif, which
// add ! && || and comparisons and read an unknown name as 0.

#include <cstdint>

#include "tools/qmrc/token_cursor.h"

namespace qmrc {

struct StyleValue {
  std::uint32_t set = 0;      // bits the expression turns on
  std::uint32_t cleared = 0;  // bits named after NOT

  // Applied onto a statement's default bits.
  std::uint32_t OnTopOf(std::uint32_t defaults) const { return (defaults | set) & ~cleared; }
};

// A style expression at the cursor; stops at the first token that continues no operator.
StyleValue EvaluateStyle(TokenCursor& cursor);

// A plain number (an id, a coordinate); NOT is refused. `what` names it in messages.
std::int64_t EvaluateNumber(TokenCursor& cursor, const char* what);

// A preprocessor condition whose "defined" operators are already resolved.
bool EvaluateCondition(TokenCursor& cursor);

}  // namespace qmrc
