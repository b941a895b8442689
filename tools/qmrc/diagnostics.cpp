#include "tools/qmrc/diagnostics.h"

namespace qmrc {

std::string Describe(const SourceLocation& where) {
  // Line 0 stands for the file as a whole (it could not be opened or read).
  return where.line > 0 ? where.file + ":" + std::to_string(where.line) : where.file;
}

CompileError::CompileError(const SourceLocation& where, const std::string& message)
    : std::runtime_error(Describe(where) + ": error: " + message), where_(where), message_(message) {}

}  // namespace qmrc
