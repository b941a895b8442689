// libFuzzer target of the resource compiler: any bytes as a resource script.
// A mistake is a CompileError; a script that compiles has resources whose ids
// its own text could name.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_files.h"
#include "tools/qmrc/compiler.h"
#include "tools/qmrc/diagnostics.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_files::MakeRoot("rc-fuzz");
  std::ofstream(fuzz_files::Root() / "work" / "resource.h") << "#define IDD_A 100\n#define IDC_B 1000\n";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::filesystem::path script = fuzz_files::WriteInput("setup.rc", data, size);
  try {
    qmrc::CompileScript(script);
  } catch (const qmrc::CompileError&) {
  }
  return 0;
}
