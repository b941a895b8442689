#include "install/errors/string_table.h"

#include <atomic>

#include "resources/setup_resources.h"

namespace {

const char* ResourceStringText(unsigned id) { return SetupResources().FindString(id); }

std::atomic<StringSource> g_source{&ResourceStringText};

}  // namespace

StringSource SetStringSource(StringSource source) {
  return g_source.exchange(source != nullptr ? source : &ResourceStringText);
}

const char* LoadStringText(unsigned id) {
  const char* text = g_source.load()(id);
  return text != nullptr ? text : "";
}
