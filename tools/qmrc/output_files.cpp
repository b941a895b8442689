#include "tools/qmrc/output_files.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace qmrc {
namespace {

namespace fs = std::filesystem;

std::string Escaped(const fs::path& path) {
  std::string out;
  for (char c : path.string()) {
    if (c == ' ' || c == '#' || c == '\\') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

}  // namespace

bool WriteIfChanged(const fs::path& file, const std::string& content) {
  {
    std::ifstream in(file, std::ios::binary);
    if (in) {
      const std::string current((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (current == content) return false;
    }
  }
  WriteFile(file, content);
  return true;
}

void WriteFile(const fs::path& file, const std::string& content) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  const fs::path temporary = file.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    out.flush();
    if (!out) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw std::runtime_error("cannot write " + temporary.string());
    }
  }
  std::error_code ec;
  fs::rename(temporary, file, ec);
  if (ec) {
    fs::remove(temporary, ec);
    throw std::runtime_error("cannot replace " + file.string());
  }
}

std::string DepfileText(const fs::path& target, const std::vector<fs::path>& dependencies) {
  std::string text = Escaped(target) + ":";
  for (const fs::path& dependency : dependencies) text += " \\\n  " + Escaped(dependency);
  return text + "\n";
}

}  // namespace qmrc
