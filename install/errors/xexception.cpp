#include "install/errors/xexception.h"

namespace {

constexpr MessageItem kBaseTable[] = {ForAnyCode(24576, 24577)};

constexpr MessageItem kMemoryTable[] = {ForAnyCode(24578, 24579)};

// Causes without a text of their own share the generic long text 24581.
constexpr MessageItem kFileTable[] = {
    ForCode(2, 24590, 24591),  ForCode(3, 24592, 24593),  ForCode(4, 24594, 24595),
    ForCode(5, 24596, 24597),  ForCode(6, 24598, 24581),  ForCode(7, 24599, 24581),
    ForCode(8, 24600, 24601),  ForCode(9, 24602, 24581),  ForCode(10, 24603, 24604),
    ForCode(11, 24605, 24606), ForCode(12, 24607, 24608), ForCode(13, 24609, 24610),
    ForCode(14, 24611, 24581), ForAnyCode(24580, 24581),
};

constexpr MessageItem kArchiveTable[] = {ForAnyCode(24582, 24583)};
constexpr MessageItem kResourceTable[] = {ForAnyCode(24584, 24585)};
constexpr MessageItem kUserTable[] = {ForAnyCode(24586, 24587)};
constexpr MessageItem kNotSupportedTable[] = {ForAnyCode(24588, 24589)};

}  // namespace

MessageTable CXException::BaseMessageTable() { return kBaseTable; }

ErrorMessages CXException::GetMessages() const {
  return SelectMessages(GetMessageTable(), BaseMessageTable(), code_);
}

MessageTable CXMemoryException::GetMessageTable() const { return kMemoryTable; }
MessageTable CXFileException::GetMessageTable() const { return kFileTable; }
MessageTable CXArchiveException::GetMessageTable() const { return kArchiveTable; }
MessageTable CXResourceException::GetMessageTable() const { return kResourceTable; }
MessageTable CXUserException::GetMessageTable() const { return kUserTable; }
MessageTable CXNotSupportedException::GetMessageTable() const { return kNotSupportedTable; }
