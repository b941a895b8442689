#pragma once
// The install tables file is missing or does not hold what the setup needs.

#include <cstdint>
#include <memory>

#include "install/errors/xexception.h"

class CInstallProfileException : public CXException {
 public:
  explicit CInstallProfileException(std::int32_t code) : CXException(code) {}
  const char* GetClassName() const override { return "CInstallProfileException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override {
    return std::make_unique<CInstallProfileException>(*this);
  }
};
