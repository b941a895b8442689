#pragma once
// The exceptions of the application framework. Product code translates them into
// its own error classes before it reports them; nothing here knows the product.

#include <exception>
#include <string>
#include <utility>

#include "platform/core/file_cause.h"

namespace platform {

// Base of every framework exception.
class Exception : public std::exception {
 public:
  const char* what() const noexcept override { return "framework exception"; }
};

class MemoryException : public Exception {
 public:
  const char* what() const noexcept override { return "out of memory"; }
};

// A failed file operation: its cause, the host errno behind it (0 when none) and
// the file's name as the caller gave it.
class FileException : public Exception {
 public:
  FileException(FileCause cause, int osError, std::string fileName);
  // Builds the exception from a host errno value.
  static FileException FromErrno(int err, std::string fileName);

  FileCause Cause() const { return cause_; }
  int OsError() const { return osError_; }
  const std::string& FileName() const { return fileName_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  FileCause cause_;
  int osError_;
  std::string fileName_;
  std::string message_;
};

// A failure while storing or loading data (the framework's serialization error).
class ArchiveException : public Exception {
 public:
  explicit ArchiveException(int cause) : cause_(cause) {}
  int Cause() const { return cause_; }
  const char* what() const noexcept override { return "archive exception"; }

 private:
  int cause_;
};

// A resource (template, bitmap, string, control class) that is missing or unusable;
// the optional detail names it for the developer.
class ResourceException : public Exception {
 public:
  ResourceException() = default;
  explicit ResourceException(std::string detail) : detail_("resource exception: " + std::move(detail)) {}
  const char* what() const noexcept override {
    return detail_.empty() ? "resource exception" : detail_.c_str();
  }

 private:
  std::string detail_;
};

class NotSupportedException : public Exception {
 public:
  const char* what() const noexcept override { return "operation not supported"; }
};

// The user cancelled; carried silently and never shown.
class UserException : public Exception {
 public:
  const char* what() const noexcept override { return "cancelled by the user"; }
};

}  // namespace platform
