#pragma once
// CSourceFile: one file on the installation media, as the install tables file
// lists it in its group's section, and the archive reader over that file while
// the copy installs it.
//
// Line of a group's section: key = file name, value =
// "size|kind|count|disk|destination id|text". A negative disk marks a source
// to be copied after the other sources of its diskette (the late flag).

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <string_view>

#include "install/archive/archive_reader.h"

struct CGroup;

class CSourceFile : public CArchiveReader {
 public:
  enum SourceKind : std::int32_t { kPlainFile = 0, kArchive = 1 };  // any other kind installs nothing

  CSourceFile() = default;
  // The source of one line of group's section. Fields the value lacks read as 0
  // or empty (a removal run reads the log's shorter lines with this loader).
  static std::unique_ptr<CSourceFile> FromTableLine(std::string_view fileName, std::string_view value,
                                                   CGroup* group);

  const std::string& FileName() const { return fileName_; }
  std::int32_t Kind() const { return kind_; }
  // Bytes the source adds once installed, as the tables file gives them.
  std::int32_t Size() const { return size_; }
  std::int32_t FileCount() const { return fileCount_; }
  std::int32_t DiskNumber() const { return diskNumber_; }
  bool IsLate() const { return late_; }
  const std::string& Text() const { return text_; }
  // Where a plain file goes; an archive's entries carry their own ids.
  std::int32_t DestinationId() const { return destinationId_; }
  // The group that decides whether the source is installed; owned by the group table.
  CGroup* Group() const { return group_; }

  void SetFileName(std::string name) { fileName_ = std::move(name); }
  void SetKind(std::int32_t kind) { kind_ = kind; }
  void SetSize(std::int32_t size) { size_ = size; }
  void SetFileCount(std::int32_t count) { fileCount_ = count; }
  // A negative number sets the late flag and keeps its absolute value.
  void SetDisk(std::int32_t disk);
  void SetText(std::string text) { text_ = std::move(text); }
  void SetDestinationId(std::int32_t id) { destinationId_ = id; }
  void SetGroup(CGroup* group) { group_ = group; }

 private:
  std::string fileName_;
  std::int32_t kind_ = kPlainFile;
  std::int32_t size_ = 0;
  std::int32_t fileCount_ = 0;
  std::int32_t diskNumber_ = 0;
  bool late_ = false;
  std::string text_;
  std::int32_t destinationId_ = 0;
  CGroup* group_ = nullptr;
};
