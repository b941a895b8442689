#pragma once
// Message tables of the error classes: each maps an error code to the string ids
// of a short text (one line) and a long text (causes and advice).

#include <cstdint>
#include <span>
#include <string>

struct MessageItem {
  bool anyCode;        // matches every code; tables list it last
  std::int32_t code;   // the code matched when anyCode is false
  unsigned shortId;    // 0: no short text from this item
  unsigned longId;     // 0: no long text from this item
  unsigned helpId;     // always 0 in this program
};

constexpr MessageItem ForCode(std::int32_t code, unsigned shortId, unsigned longId) {
  return MessageItem{false, code, shortId, longId, 0};
}
constexpr MessageItem ForAnyCode(unsigned shortId, unsigned longId) {
  return MessageItem{true, 0, shortId, longId, 0};
}

using MessageTable = std::span<const MessageItem>;

// The texts selected for one report.
struct ErrorMessages {
  std::string shortText;
  std::string longText;
  unsigned helpId = 0;
};

// Fills what is still empty in messages from the first item of table that
// matches code (its code or "any"). An item's id of 0, or a string missing from
// the string table, leaves the text empty for a later table to fill.
void FillMessages(MessageTable table, std::int32_t code, ErrorMessages& messages);

// The whole selection: the class's own table first, then the base table, which
// fills whatever is still empty.
ErrorMessages SelectMessages(MessageTable ownTable, MessageTable baseTable, std::int32_t code);
