#include "install/errors/printf_format.h"

#include <algorithm>
#include <cstdio>

namespace {

// Bounds what a width or precision from a table can make us allocate.
constexpr std::size_t kMaxFieldWidth = 4096;

struct Conversion {
  std::string flags;
  std::size_t width = 0;
  bool hasPrecision = false;
  std::size_t precision = 0;
  bool wide = false;  // "ll" or "I64": 64-bit numbers
  char letter = 0;
};

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t ReadCount(std::string_view format, std::size_t& pos) {
  std::size_t value = 0;
  while (pos < format.size() && IsDigit(format[pos])) {
    value = std::min(kMaxFieldWidth, value * 10 + static_cast<std::size_t>(format[pos] - '0'));
    ++pos;
  }
  return value;
}

// Parses the conversion after a '%' at pos; on success pos is past its letter.
// False for an unknown letter, a '*' width or the end of the text.
bool ParseConversion(std::string_view format, std::size_t& pos, Conversion& conv) {
  while (pos < format.size() && IsFlag(format[pos])) conv.flags += format[pos++];
  conv.width = ReadCount(format, pos);
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    conv.hasPrecision = true;
    conv.precision = ReadCount(format, pos);
  }
  if (format.substr(pos, 2) == "ll") {
    conv.wide = true;
    pos += 2;
  } else if (format.substr(pos, 3) == "I64") {
    conv.wide = true;
    pos += 3;
  } else if (format.substr(pos, 2) == "hh") {
    pos += 2;
  } else if (pos < format.size() && (format[pos] == 'h' || format[pos] == 'l')) {
    ++pos;
  }
  if (pos >= format.size()) return false;
  const char c = format[pos];
  if (std::string_view("diuxXocs").find(c) == std::string_view::npos) return false;
  conv.letter = c;
  ++pos;
  return true;
}

std::string Pad(std::string text, const Conversion& conv) {
  if (text.size() >= conv.width) return text;
  const std::string fill(conv.width - text.size(), ' ');
  const bool left = conv.flags.find('-') != std::string::npos;
  return left ? text + fill : fill + text;
}

std::string FormatText(std::string_view text, const Conversion& conv) {
  if (conv.hasPrecision) text = text.substr(0, conv.precision);
  return Pad(std::string(text), conv);
}

// Formats a number through the C library with a conversion rebuilt from parsed parts,
// so the library only ever sees a conversion that matches its argument.
std::string FormatNumber(const FormatArg& arg, const Conversion& conv) {
  const bool alternateAllowed = conv.letter == 'x' || conv.letter == 'X' || conv.letter == 'o';
  std::string flags = conv.flags;
  // "#" is undefined for the decimal conversions in C, so it never reaches them.
  if (!alternateAllowed) std::erase(flags, '#');
  std::string cFormat = "%" + flags;
  if (conv.width > 0) cFormat += std::to_string(conv.width);
  if (conv.hasPrecision) cFormat += "." + std::to_string(conv.precision);

  const std::uint64_t bits = arg.Bits();
  char conversion = conv.letter;
  if (conversion == 'c') {
    return Pad(std::string(1, static_cast<char>(bits & 0xFF)), conv);
  }
  if (conversion == 's') conversion = arg.IsSigned() ? 'd' : 'u';
  cFormat += "ll";
  cFormat += conversion;

  const bool isSignedConversion = conversion == 'd' || conversion == 'i';
  long long signedValue = 0;
  unsigned long long unsignedValue = 0;
  if (conv.wide || conv.letter == 's') {
    signedValue = static_cast<long long>(bits);
    unsignedValue = bits;
  } else {
    signedValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
    unsignedValue = static_cast<std::uint32_t>(bits);
  }

  const int needed = isSignedConversion ? std::snprintf(nullptr, 0, cFormat.c_str(), signedValue)
                                        : std::snprintf(nullptr, 0, cFormat.c_str(), unsignedValue);
  if (needed <= 0) return {};
  std::string out(static_cast<std::size_t>(needed) + 1, '\0');
  if (isSignedConversion) {
    std::snprintf(out.data(), out.size(), cFormat.c_str(), signedValue);
  } else {
    std::snprintf(out.data(), out.size(), cFormat.c_str(), unsignedValue);
  }
  out.resize(static_cast<std::size_t>(needed));
  return out;
}

}  // namespace

std::uint64_t FormatArg::Bits() const {
  if (const auto* s = std::get_if<std::int64_t>(&value_)) return static_cast<std::uint64_t>(*s);
  if (const auto* u = std::get_if<std::uint64_t>(&value_)) return *u;
  return 0;
}

std::string FormatPrintf(std::string_view format, std::span<const FormatArg> args) {
  std::string out;
  out.reserve(format.size());
  std::size_t nextArg = 0;
  std::size_t pos = 0;
  while (pos < format.size()) {
    const char c = format[pos];
    if (c != '%') {
      out += c;
      ++pos;
      continue;
    }
    if (format.substr(pos, 2) == "%%") {
      out += '%';
      pos += 2;
      continue;
    }
    const std::size_t start = pos;
    ++pos;
    Conversion conv;
    if (!ParseConversion(format, pos, conv)) {
      // Copy the '%' alone; the rest is ordinary text on the next rounds.
      out += format[start];
      pos = start + 1;
      continue;
    }
    if (nextArg >= args.size()) continue;
    const FormatArg& arg = args[nextArg++];
    if (arg.IsText()) {
      out += FormatText(arg.Text(), conv);
    } else {
      out += FormatNumber(arg, conv);
    }
  }
  return out;
}
