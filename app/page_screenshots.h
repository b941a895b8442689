#pragma once
// Pictures of a run: with QMSETUP_SCREENSHOTS=DIR the program saves a PNG of the
// whole screen each time a page has been shown, as DIR/NNN_<page id>.png with
// NNN counting from 001. A modal dialog over its page can be taken too, as
// DIR/NNN_dialog_<template id>.png in the same count. Used for documentation
// and for looking at a run that nobody watched.

#include <filesystem>
#include <memory>
#include <string>

class PageScreenshots {
 public:
  static constexpr const char* kEnvironmentVariable = "QMSETUP_SCREENSHOTS";

  // The screenshots the environment asks for; null when it asks for none.
  static std::unique_ptr<PageScreenshots> FromEnvironment();

  explicit PageScreenshots(std::filesystem::path directory);

  // Paints the windows on screen into one picture and saves it for pageId. False when the
  // picture could not be taken or written (the run goes on regardless).
  bool Take(int pageId);
  // The same for a modal dialog on screen, saved for its template id.
  bool TakeDialog(int templateId);

  int Taken() const { return count_; }

 private:
  bool Save(const char* kind, int id);

  std::filesystem::path directory_;
  int count_ = 0;
};
