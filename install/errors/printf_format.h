#pragma once
// printf-style formatting of texts that come from the string table, with the
// arguments carried together with their kind. A format from a table cannot be
// checked at compile time, so the kind is checked when formatting instead:
// nothing is ever read as a type it is not.
//
// Conversions: d i u x X o c s and %%, with the flags "-+ #0", a width, a
// precision and the length modifiers h hh l ll I64 (ignored for text). Numbers
// without "ll"/"I64" are 32 bits wide, as the int and long of the system the
// formats were written for. Rules for what does not match:
//   - a missing argument formats as nothing;
//   - %s given a number prints its decimal text; a numeric conversion given a
//     text prints the text (the value stays visible, nothing is reinterpreted);
//   - an unknown conversion or a "*" width is copied as it stands and takes no
//     argument; extra arguments are ignored.

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

class FormatArg {
 public:
  // Text arguments refer to the caller's text: a FormatArg lives for one call.
  FormatArg(std::string_view text) : value_(text) {}
  FormatArg(const std::string& text) : value_(std::string_view(text)) {}
  FormatArg(const char* text) : value_(std::string_view(text != nullptr ? text : "")) {}

  template <std::signed_integral T>
  FormatArg(T number) : value_(static_cast<std::int64_t>(number)) {}
  template <std::unsigned_integral T>
  FormatArg(T number) : value_(static_cast<std::uint64_t>(number)) {}

  bool IsText() const { return std::holds_alternative<std::string_view>(value_); }
  std::string_view Text() const { return std::get<std::string_view>(value_); }
  // The number as the bit pattern the conversions work on (texts give 0).
  std::uint64_t Bits() const;
  bool IsSigned() const { return std::holds_alternative<std::int64_t>(value_); }

 private:
  std::variant<std::string_view, std::int64_t, std::uint64_t> value_;
};

std::string FormatPrintf(std::string_view format, std::span<const FormatArg> args);
