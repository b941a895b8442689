#pragma once
// What the fuzz targets share: a broken promise aborts, which libFuzzer (and
// the corpus replay of the test build) reports with the input that broke it.

#include <cstdio>
#include <cstdlib>

inline void FuzzCheck(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "promise broken: %s\n", what);
    std::abort();
  }
}
