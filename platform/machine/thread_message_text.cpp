#include "platform/machine/thread_message_text.h"

#include <charconv>
#include <system_error>
#include <type_traits>

namespace platform {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One number that must take the whole field. from_chars alone would accept
// what follows a sign or leading blanks in some forms; the digit check keeps
// the field to plain decimal.
template <typename Number>
bool ParseField(std::string_view field, Number& value) {
  std::string_view digits = field;
  if constexpr (std::is_signed_v<Number>) {
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  }
  if (digits.empty()) return false;
  for (const char c : digits) {
    if (!IsDigit(c)) return false;
  }
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  return ec == std::errc() && end == field.data() + field.size();
}

// Cuts the text up to the next separator off the front of rest.
std::string_view TakeUntil(std::string_view& rest, char separator, bool& found) {
  const std::size_t at = rest.find(separator);
  found = at != std::string_view::npos;
  if (!found) return {};
  const std::string_view field = rest.substr(0, at);
  rest.remove_prefix(at + 1);
  return field;
}

}  // namespace

std::string FormatThreadMessage(const ThreadMessage& message) {
  return std::to_string(message.message) + ' ' + std::to_string(message.wParam) + ' ' +
         std::to_string(message.lParam) + '\n';
}

std::optional<ThreadMessage> ParseThreadMessage(std::string_view text) {
  if (text.size() > kMaxThreadMessageText) return std::nullopt;
  std::string_view rest = text;
  bool found = false;
  const std::string_view messageField = TakeUntil(rest, ' ', found);
  if (!found) return std::nullopt;
  const std::string_view wParamField = TakeUntil(rest, ' ', found);
  if (!found) return std::nullopt;
  const std::string_view lParamField = TakeUntil(rest, '\n', found);
  if (!found || !rest.empty()) return std::nullopt;

  ThreadMessage message;
  if (!ParseField(messageField, message.message) || !ParseField(wParamField, message.wParam) ||
      !ParseField(lParamField, message.lParam)) {
    return std::nullopt;
  }
  return message;
}

}  // namespace platform
