#include "platform/machine/library.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/system_info.h"

namespace platform {
namespace {

constexpr LibraryHandle kFileNotFound = 2;
constexpr LibraryHandle kFirstHandle = 33;

std::atomic<unsigned> errorMode{0};

// The loaded libraries: one handle per file, counted like the Windows loader
// counts repeated loads of one module.
struct LoadedLibrary {
  std::filesystem::path hostPath;
  unsigned loads = 0;
};

struct LibraryTable {
  std::mutex mutex;
  std::map<LibraryHandle, LoadedLibrary> loaded;
  LibraryHandle next = kFirstHandle;
};

LibraryTable& Table() {
  static LibraryTable table;
  return table;
}

bool NamesPath(std::string_view name) { return name.find_first_of("\\/:") != std::string_view::npos; }

// Windows appends ".DLL" to a name without an extension; a trailing dot says
// "no extension" and is dropped.
std::string WithDefaultExtension(std::string_view name) {
  const std::size_t lastSeparator = name.find_last_of("\\/:");
  const std::string_view fileName = lastSeparator == std::string_view::npos ? name : name.substr(lastSeparator + 1);
  if (!fileName.empty() && fileName.back() == '.') return std::string(name.substr(0, name.size() - 1));
  if (fileName.find('.') == std::string_view::npos) return std::string(name) + ".DLL";
  return std::string(name);
}

std::string DirectoryOf(const std::string& windowsPath) {
  const std::size_t lastSeparator = windowsPath.find_last_of('\\');
  return lastSeparator == std::string::npos ? std::string() : windowsPath.substr(0, lastSeparator);
}

std::string JoinWindowsPath(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '\\') return directory + name;
  return directory + '\\' + name;
}

// The host file of a Windows path when it is a regular file.
std::optional<std::filesystem::path> ExistingFile(const std::string& windowsPath) {
  std::filesystem::path host;
  if (!MapToHost(windowsPath, host)) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) return std::nullopt;
  return host;
}

std::optional<std::filesystem::path> FindLibrary(std::string_view name) {
  const std::string fileName = WithDefaultExtension(name);
  if (NamesPath(name)) {
    std::string fullPath;
    if (!GetFullPathName(fileName, fullPath)) return std::nullopt;
    return ExistingFile(fullPath);
  }
  const std::vector<std::string> searchOrder = {DirectoryOf(GetModuleFileName()), GetCurrentDirectory(),
                                                GetSystemDirectory(), GetWindowsDirectory()};
  for (const std::string& directory : searchOrder) {
    if (directory.empty()) continue;
    if (auto found = ExistingFile(JoinWindowsPath(directory, fileName))) return found;
  }
  return std::nullopt;
}

}  // namespace

unsigned SetErrorMode(unsigned mode) { return errorMode.exchange(mode); }

LibraryHandle LoadLibrary(std::string_view name) {
  if (name.empty()) return kFileNotFound;
  const std::optional<std::filesystem::path> found = FindLibrary(name);
  if (!found) return kFileNotFound;

  LibraryTable& table = Table();
  const std::lock_guard<std::mutex> lock(table.mutex);
  for (auto& [handle, library] : table.loaded) {
    if (library.hostPath == *found) {
      ++library.loads;
      return handle;
    }
  }
  const LibraryHandle handle = table.next++;
  table.loaded[handle] = LoadedLibrary{*found, 1};
  return handle;
}

void* GetProcAddress(LibraryHandle, std::string_view) { return nullptr; }

bool FreeLibrary(LibraryHandle library) {
  LibraryTable& table = Table();
  const std::lock_guard<std::mutex> lock(table.mutex);
  const auto entry = table.loaded.find(library);
  if (entry == table.loaded.end()) return false;
  if (--entry->second.loads == 0) table.loaded.erase(entry);
  return true;
}

}  // namespace platform
