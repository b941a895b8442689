#pragma once
// Which of the four billboards the copy shows: they take turns by the share of
// the bytes copied so far.

#include <cstdint>

inline constexpr int kBillboardCount = 4;

// position * 4 / total, at most 3; 0 when there is nothing to copy.
int BillboardIndex(std::uint64_t position, std::uint64_t total);
