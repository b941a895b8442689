#include "install/errors/multi_file_exception.h"

namespace {

// Code n has its texts at 27648 + 2(n - 1) and the id after it. There is no
// "any" row: an unknown code falls back to the generic texts.
constexpr MessageItem kMultiFileTable[] = {
    ForCode(1, 27648, 27649), ForCode(2, 27650, 27651), ForCode(3, 27652, 27653),
    ForCode(4, 27654, 27655), ForCode(5, 27656, 27657),
};

}  // namespace

MessageTable CMultiFileException::GetMessageTable() const { return kMultiFileTable; }
