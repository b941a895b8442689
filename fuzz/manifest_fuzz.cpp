// libFuzzer target of the media manifest reader: any bytes as the manifest of
// `qmtool media build`. A bad manifest is a ManifestError naming a line of the
// file; nothing else may come out of it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_files.h"
#include "tools/qmtool/media_manifest.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_files::MakeRoot("manifest-fuzz");
  // A small tree for the manifests that name one.
  std::filesystem::create_directories(fuzz_files::Root() / "work" / "tree" / "a");
  for (const char* name : {"tree/SETUP.EXE", "tree/cv_setup.ini", "tree/agree.txt", "tree/a/F.TXT"}) {
    std::ofstream(fuzz_files::Root() / "work" / name) << "x";
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::filesystem::path manifest = fuzz_files::WriteInput("manifest.ini", data, size);
  std::size_t lines = 1;
  for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  try {
    qmtool::ReadMediaManifest(manifest);
  } catch (const qmtool::ManifestError& error) {
    FuzzCheck(error.Line() >= 0 && static_cast<std::size_t>(error.Line()) <= lines, "an error names no line of the file");
  }
  return 0;
}
