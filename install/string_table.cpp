#include "install/string_table.h"

#include <atomic>

#include "install/builtin_strings.h"

namespace {

std::atomic<StringSource> g_source{&BuiltinStringText};

}  // namespace

StringSource SetStringSource(StringSource source) {
  return g_source.exchange(source != nullptr ? source : &BuiltinStringText);
}

const char* LoadStringText(unsigned id) {
  const char* text = g_source.load()(id);
  return text != nullptr ? text : "";
}
