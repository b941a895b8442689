#pragma once
// Failures of the archive reader: a damaged or foreign archive, or an entry
// whose compression method no codec knows.

#include <cstdint>
#include <memory>

#include "install/errors/xexception.h"

class CMultiFileException : public CXException {
 public:
  static constexpr std::int32_t kUnknownMethod = 1;
  static constexpr std::int32_t kNotAnArchive = 2;
  static constexpr std::int32_t kMissingEntryHeader = 3;
  static constexpr std::int32_t kCorruptTable = 4;
  static constexpr std::int32_t kChecksumMismatch = 5;

  explicit CMultiFileException(std::int32_t code) : CXException(code) {}
  const char* GetClassName() const override { return "CMultiFileException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CMultiFileException>(*this); }
};
