#include "install/errors/translate_exception.h"

#include <new>

#include "platform/core/exceptions.h"

namespace {

// The code of a failure nobody classified.
constexpr std::int32_t kUnknownErrorCode = 1;

}  // namespace

std::unique_ptr<CXException> TranslateException(const std::exception& error) {
  // The family derives from platform::Exception, so it must be recognised first.
  if (const auto* own = dynamic_cast<const CXException*>(&error)) return own->Clone();
  if (dynamic_cast<const platform::MemoryException*>(&error) != nullptr ||
      dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    return std::make_unique<CXMemoryException>();
  }
  if (const auto* file = dynamic_cast<const platform::FileException*>(&error)) {
    return std::make_unique<CXFileException>(file->Cause(), file->FileName());
  }
  if (const auto* archive = dynamic_cast<const platform::ArchiveException*>(&error)) {
    return std::make_unique<CXArchiveException>(archive->Cause());
  }
  if (dynamic_cast<const platform::NotSupportedException*>(&error) != nullptr) {
    return std::make_unique<CXNotSupportedException>();
  }
  if (dynamic_cast<const platform::ResourceException*>(&error) != nullptr) {
    return std::make_unique<CXResourceException>();
  }
  if (dynamic_cast<const platform::UserException*>(&error) != nullptr) {
    return std::make_unique<CXUserException>();
  }
  return std::make_unique<CXException>(kUnknownErrorCode);
}

std::unique_ptr<CXException> TranslateException(const std::exception_ptr& error) {
  if (!error) return std::make_unique<CXException>(kUnknownErrorCode);
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return TranslateException(e);
  } catch (...) {
    return std::make_unique<CXException>(kUnknownErrorCode);
  }
}
