#include "install/errors/message_table.h"

#include "install/errors/string_table.h"

void FillMessages(MessageTable table, std::int32_t code, ErrorMessages& messages) {
  for (const MessageItem& item : table) {
    if (!item.anyCode && item.code != code) continue;
    if (item.shortId != 0 && messages.shortText.empty()) messages.shortText = LoadStringText(item.shortId);
    if (item.longId != 0 && messages.longText.empty()) messages.longText = LoadStringText(item.longId);
    if (item.helpId != 0 && messages.helpId == 0) messages.helpId = item.helpId;
    return;
  }
}

ErrorMessages SelectMessages(MessageTable ownTable, MessageTable baseTable, std::int32_t code) {
  ErrorMessages messages;
  FillMessages(ownTable, code, messages);
  FillMessages(baseTable, code, messages);
  return messages;
}
