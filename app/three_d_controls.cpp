#include "app/three_d_controls.h"

namespace {

// SEM_NOOPENFILEERRORBOX: a missing library must not put up a box of its own.
constexpr unsigned kNoOpenFileErrorBox = 0x8000;
// Loader results up to this value are error codes, not handles.
constexpr platform::LibraryHandle kLastLoaderError = 32;

// The library's registration calls: BOOL WINAPI f(HINSTANCE).
using InstanceCall = int (*)(std::uintptr_t instance);

// A procedure the library does not export counts as answering zero.
int CallIfExported(platform::LibraryHandle library, const char* name, std::uintptr_t instance) {
  void* address = platform::GetProcAddress(library, name);
  if (address == nullptr) return 0;
  return reinterpret_cast<InstanceCall>(address)(instance);
}

}  // namespace

ThreeDControls::ThreeDControls(bool isNT4, std::uintptr_t instanceHandle) {
  if (isNT4) return;
  // Standard controls do: the library is an ornament, never a reason to stop,
  // so a failure on the way counts as "not loaded".
  const unsigned previousMode = platform::SetErrorMode(kNoOpenFileErrorBox);
  platform::LibraryHandle handle = 0;
  try {
    handle = platform::LoadLibrary(kLibraryName);
  } catch (...) {
    handle = 0;
  }
  platform::SetErrorMode(previousMode);
  if (handle <= kLastLoaderError) return;
  library_ = handle;
  try {
    registered_ = CallIfExported(library_, "Ctl3dRegister", instanceHandle) != 0;
    if (registered_) autoSubclassed_ = CallIfExported(library_, "Ctl3dAutoSubclass", instanceHandle) != 0;
  } catch (...) {
    registered_ = false;
  }
}

ThreeDControls::~ThreeDControls() {
  if (library_ == 0) return;
  try {
    platform::FreeLibrary(library_);
  } catch (...) {
  }
}
