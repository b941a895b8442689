#pragma once
// The error classes every reported failure travels as. Each object carries a
// 32-bit code that selects, through its class's message table, a short and a
// long text of the string table. The framework's own exceptions are turned into
// these by TranslateException (install/translate_exception.h) before a report.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "install/errors/message_table.h"
#include "platform/core/exceptions.h"
#include "platform/core/file_cause.h"

class CXException : public platform::Exception {
 public:
  explicit CXException(std::int32_t code) : code_(code) {}

  std::int32_t Code() const { return code_; }

  // The class's name as the error-information line of a report shows it.
  virtual const char* GetClassName() const { return "CXException"; }
  // The class's own table; CXException's table is the fallback of every class.
  virtual MessageTable GetMessageTable() const { return BaseMessageTable(); }
  // The short and long texts for this object's code: own table first, then the
  // fallback table for whatever is still empty.
  virtual ErrorMessages GetMessages() const;
  // A copy of the same class, so that a caught object can outlive its catch.
  virtual std::unique_ptr<CXException> Clone() const { return std::make_unique<CXException>(*this); }

  const char* what() const noexcept override { return GetClassName(); }

  static MessageTable BaseMessageTable();

 private:
  std::int32_t code_;
};

// The framework classes made product errors. Codes default to 0 because the
// framework exceptions they stand for carry none; the "any" rows select their texts.

class CXMemoryException : public CXException {
 public:
  explicit CXMemoryException(std::int32_t code = 0) : CXException(code) {}
  const char* GetClassName() const override { return "CXMemoryException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CXMemoryException>(*this); }
};

// The code is the file layer's cause (platform::FileCause). The file name is kept
// for diagnostics; the report's texts do not use it.
class CXFileException : public CXException {
 public:
  explicit CXFileException(std::int32_t code, std::string fileName = {})
      : CXException(code), fileName_(std::move(fileName)) {}
  explicit CXFileException(platform::FileCause cause, std::string fileName = {})
      : CXFileException(static_cast<std::int32_t>(cause), std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }

  const char* GetClassName() const override { return "CXFileException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CXFileException>(*this); }

 private:
  std::string fileName_;
};

// A failure while storing or loading data; the code is the framework's cause.
class CXArchiveException : public CXException {
 public:
  explicit CXArchiveException(std::int32_t code = 0) : CXException(code) {}
  const char* GetClassName() const override { return "CXArchiveException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CXArchiveException>(*this); }
};

class CXResourceException : public CXException {
 public:
  explicit CXResourceException(std::int32_t code = 0) : CXException(code) {}
  const char* GetClassName() const override { return "CXResourceException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CXResourceException>(*this); }
};

// The user cancelled. It is silent: ReportError and ReportFatalError never show
// it (install/error_report.h).
class CXUserException : public CXException {
 public:
  explicit CXUserException(std::int32_t code = 0) : CXException(code) {}
  const char* GetClassName() const override { return "CXUserException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override { return std::make_unique<CXUserException>(*this); }
};

class CXNotSupportedException : public CXException {
 public:
  explicit CXNotSupportedException(std::int32_t code = 0) : CXException(code) {}
  const char* GetClassName() const override { return "CXNotSupportedException"; }
  MessageTable GetMessageTable() const override;
  std::unique_ptr<CXException> Clone() const override {
    return std::make_unique<CXNotSupportedException>(*this);
  }
};
