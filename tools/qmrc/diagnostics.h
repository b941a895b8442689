#pragma once
// Where a piece of a script came from, and the error that stops a compilation.

#include <stdexcept>
#include <string>

namespace qmrc {

struct SourceLocation {
  std::string file;  // the path as the compiler opened it (the script or an included header)
  int line = 0;      // 1-based
};

// A mistake in the script. what() is the complete "FILE:LINE: error: message" line.
class CompileError : public std::runtime_error {
 public:
  CompileError(const SourceLocation& where, const std::string& message);

  const SourceLocation& Where() const { return where_; }
  const std::string& Message() const { return message_; }

 private:
  SourceLocation where_;
  std::string message_;
};

// "FILE:LINE", as the messages refer to earlier definitions.
std::string Describe(const SourceLocation& where);

}  // namespace qmrc
