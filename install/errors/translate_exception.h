#pragma once
// Turns whatever was caught into an object of the error-class family, so that
// every report selects its texts the same way.

#include <exception>
#include <memory>

#include "install/errors/xexception.h"

// An object of the family comes back as a copy of its own class. The framework's
// exceptions become their counterparts: memory (and std::bad_alloc) ->
// CXMemoryException, file -> CXFileException with the cause as code, archive ->
// CXArchiveException with its cause, not-supported, resource and user exceptions
// -> their classes. Anything else -> CXException with code 1.
std::unique_ptr<CXException> TranslateException(const std::exception& error);

// The same for an exception held by pointer, which also covers objects that do
// not derive from std::exception (they become CXException code 1). A null
// pointer gives CXException code 1 as well.
std::unique_ptr<CXException> TranslateException(const std::exception_ptr& error);
