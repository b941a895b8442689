#include "profile/profile_scanner.h"

#include <climits>

bool ProfileScanner::Open(std::string_view fileName, std::string_view specialCharacters) {
  Open(OpenProfileFileSource(fileName), std::string(fileName), specialCharacters);
  return IsOpen();
}

void ProfileScanner::Open(std::unique_ptr<ProfileByteSource> source, std::string fileName,
                          std::string_view specialCharacters) {
  source_ = std::move(source);
  fileName_ = std::move(fileName);
  specialCharacters_ = specialCharacters;
  currentLine_ = std::make_shared<const std::string>();
  position_ = 0;
  tokenStart_ = 0;
  lineNumber_ = 0;
}

void ProfileScanner::Close() { source_.reset(); }

std::optional<ProfileFileIdentity> ProfileScanner::Identity() const {
  return source_ ? source_->Identity() : std::nullopt;
}

bool ProfileScanner::IsSpecial(char c) const {
  return c == '\0' || specialCharacters_.find(c) != std::string::npos;
}

bool ProfileScanner::EndsToken(std::size_t i) const {
  return i >= currentLine_->size() || IsSpecial((*currentLine_)[i]);
}

void ProfileScanner::ReadLine() {
  std::string line;
  for (int c = source_->Get(); c != ProfileByteSource::kEnd; c = source_->Get()) {
    // Text mode: a carriage return that a line feed follows is not seen; a
    // lone carriage return stays an ordinary character of the line.
    if (c == '\r' && source_->Peek() == '\n') c = source_->Get();
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  currentLine_ = std::make_shared<const std::string>(std::move(line));
  position_ = 0;
  if (lineNumber_ < INT_MAX) ++lineNumber_;
}

CItoken ProfileScanner::EndOfInput() const { return CItoken(CItoken::kEndOfInput, {}, currentLine_, lineNumber_); }

bool ProfileScanner::NextToken(CItoken& token) {
  if (!source_) {
    token = EndOfInput();
    return true;
  }
  if (position_ >= currentLine_->size()) {
    // Lines are never empty: the end of the file is seen before a line is begun.
    if (source_->Peek() == ProfileByteSource::kEnd) {
      token = EndOfInput();
      return !source_->Failed();
    }
    ReadLine();
    if (currentLine_->empty()) {  // the look-ahead byte could not be read after all
      token = EndOfInput();
      return false;
    }
  }

  // A token ends where its character, or the one after it, is special or past
  // the line: so a special character is always a token by itself.
  tokenStart_ = position_;
  std::size_t last = position_;
  while (!EndsToken(last) && !EndsToken(last + 1)) ++last;

  std::string text = currentLine_->substr(tokenStart_, last - tokenStart_ + 1);
  const int kind = (text.size() == 1 && IsSpecial(text[0])) ? CItoken::kSpecialCharacter : CItoken::kWord;
  token = CItoken(kind, std::move(text), currentLine_, lineNumber_);
  position_ = last + 1;
  return true;
}
