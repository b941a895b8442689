#pragma once
// ThreeDControls: the optional 3D-controls library. On the old systems it gave
// dialogs their chiselled look; the setup loads it when it can and runs on with
// standard controls when it cannot. Nothing here ever fails the run.

#include "platform/machine/library.h"

class ThreeDControls {
 public:
  static constexpr const char* kLibraryName = "ctl3dv2.dll";

  // Unless isNT4 (whose controls are 3D already), loads the library with the
  // open-file error box suppressed for the load only; a loaded library is asked
  // to register the program and subclass its dialogs. instanceHandle is the
  // program's instance handle that the library's calls take.
  ThreeDControls(bool isNT4, std::uintptr_t instanceHandle);
  // Frees the library when it holds one.
  ~ThreeDControls();
  ThreeDControls(const ThreeDControls&) = delete;
  ThreeDControls& operator=(const ThreeDControls&) = delete;

  // The library handle; 0 when it is not loaded.
  platform::LibraryHandle Handle() const { return library_; }
  bool Registered() const { return registered_; }
  bool AutoSubclassed() const { return autoSubclassed_; }

 private:
  platform::LibraryHandle library_ = 0;
  bool registered_ = false;
  bool autoSubclassed_ = false;
};
