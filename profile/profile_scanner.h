#pragma once
// Splits one profile file into tokens: every special character is a token of
// its own, a word is a maximal run of other characters within a line. The file
// is read in text mode (a carriage return directly before a line feed is
// dropped), line by line up to and including each line feed.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "profile/ci_token.h"
#include "profile/profile_byte_source.h"

class ProfileScanner {
 public:
  // The delimiter set of the profile language: "[", "]", tab, line feed,
  // vertical tab, form feed, carriage return, space, "=", ";", "#" and the
  // double quote.
  static constexpr std::string_view kProfileSpecialCharacters{"[]\t\n\v\f\r =;#\""};

  // Opens a file of the emulated machine by its Windows name. A file that
  // cannot be opened is not an error: the scanner then hands out only the end
  // of the input. Returns whether the file was opened.
  bool Open(std::string_view fileName, std::string_view specialCharacters);
  // Reads from a source that is already open (a text in memory, say).
  void Open(std::unique_ptr<ProfileByteSource> source, std::string fileName, std::string_view specialCharacters);
  void Close();

  bool IsOpen() const { return source_ != nullptr; }
  const std::string& FileName() const { return fileName_; }
  // The host file being read, when the source is one.
  std::optional<ProfileFileIdentity> Identity() const;

  // Fills token with the next token, the end of the input once everything is
  // read. False only when reading failed; the token is then the end of the input.
  bool NextToken(CItoken& token);

 private:
  // The membership test of the delimiter set. It also accepts NUL, as a
  // C string search does for the string's terminator: a NUL byte is a special
  // character that no handler expects.
  bool IsSpecial(char c) const;
  // True when a token cannot go on through index i of the current line.
  bool EndsToken(std::size_t i) const;
  void ReadLine();
  CItoken EndOfInput() const;

  std::unique_ptr<ProfileByteSource> source_;
  std::string fileName_;
  std::string specialCharacters_;
  std::shared_ptr<const std::string> currentLine_ = std::make_shared<const std::string>();
  std::size_t position_ = 0;
  std::size_t tokenStart_ = 0;
  int lineNumber_ = 0;
};
