#pragma once
// The text of a thread message datagram: "<msg> <wParam> <lParam>\n", decimal,
// lParam signed. Both ends use these, so what one writes the other reads.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine/thread_message.h"

namespace platform {

// Longer than any message can be written; a datagram past it is not a message.
inline constexpr std::size_t kMaxThreadMessageText = 64;

std::string FormatThreadMessage(const ThreadMessage& message);

// The message of exactly that form: single spaces, the closing newline and
// nothing else, every number within its type's range. nullopt otherwise.
std::optional<ThreadMessage> ParseThreadMessage(std::string_view text);

}  // namespace platform
