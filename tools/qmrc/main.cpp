// qmrc: compiles a Win32 resource script into a C++ source file.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/qmrc/compiler.h"
#include "tools/qmrc/generator.h"
#include "tools/qmrc/output_files.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitCompileError = 1;
constexpr int kExitUsage = 2;

struct Options {
  std::string symbol;
  std::string output;
  std::string depfile;
  std::string script;
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: qmrc --symbol NAME --output OUT.cpp [--depfile OUT.d] SCRIPT.rc\n"
               "       qmrc --help | --version\n"
               "\n"
               "Compiles a resource script (dialog templates, string table, bitmaps) into\n"
               "a C++ file that defines 'const platform::ResourceModule& NAME()'.\n"
               "\n"
               "  --symbol NAME    the function to define; may carry namespaces (a::b::Name)\n"
               "  --output FILE    the C++ file to write; left alone when its content is unchanged\n"
               "  --depfile FILE   also write the files the script read, for the build system\n"
               "\n"
               "Mistakes are reported as FILE:LINE: error: MESSAGE; nothing is written then.\n"
               "Exit status: 0 success, 1 a mistake in the script, 2 wrong usage.\n");
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "qmrc: %s\nRun 'qmrc --help' for usage.\n", message.c_str());
  return kExitUsage;
}

int Main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  Options options;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--help" || word == "-h") {
      PrintUsage(stdout);
      return kExitOk;
    }
    if (word == "--version") {
      std::printf("qmrc %s\n", QM_VERSION);
      return kExitOk;
    }
    std::string* value = word == "--symbol" ? &options.symbol
                         : word == "--output" ? &options.output
                         : word == "--depfile" ? &options.depfile
                                               : nullptr;
    if (value != nullptr) {
      if (i + 1 >= words.size()) return UsageError(word + " needs a value");
      *value = words[++i];
    } else if (!word.empty() && word[0] == '-') {
      return UsageError("unknown option '" + word + "'");
    } else if (options.script.empty()) {
      options.script = word;
    } else {
      return UsageError("more than one script given");
    }
  }
  if (options.script.empty()) return UsageError("no script given");
  if (options.symbol.empty()) return UsageError("--symbol is required");
  if (options.output.empty()) return UsageError("--output is required");
  if (!qmrc::IsValidSymbol(options.symbol)) return UsageError("'" + options.symbol + "' is not a C++ name");

  try {
    const qmrc::ResourceScript script = qmrc::CompileScript(options.script);
    const std::string source =
        qmrc::GenerateSource(script, options.symbol, std::filesystem::path(options.script).filename().string());
    qmrc::WriteIfChanged(options.output, source);
    if (!options.depfile.empty()) {
      // Always written: the build tool may consume and remove it after each run.
      qmrc::WriteFile(options.depfile, qmrc::DepfileText(options.output, script.dependencies));
    }
  } catch (const qmrc::CompileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitCompileError;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qmrc: %s\n", e.what());
    return kExitCompileError;
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) { return Main(argc, argv); }
