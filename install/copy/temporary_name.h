#pragma once
// The temporary name a file is extracted under, beside its final place, so
// that an installed file is touched only once its replacement is complete.
#include <functional>
#include <string>
#include <string_view>

// One value of a pseudo-random generator, 0..32767.
using RandomDraw = std::function<int()>;

// The generator of the C runtime (rand).
RandomDraw RuntimeRandomDraw();

inline constexpr int kTemporaryNameDraws = 1000;

// destinationPath with its name part replaced by the first 8 hex digits of five
// draws ("%.4x" each), the extension kept. Draws until a name that does not
// exist turns up; after kTemporaryNameDraws taken names the file cannot be
// placed safely and CXFileException (AccessDenied, the destination path) is
// raised, since using a taken name would overwrite a stranger's file.
std::string MakeTemporaryPath(std::string_view destinationPath, const RandomDraw& draw);
