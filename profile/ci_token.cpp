#include "profile/ci_token.h"

const std::string& CItoken::EmptyLine() {
  static const std::string empty;
  return empty;
}
