#include "tools/qmrc/compiler.h"

#include <algorithm>

#include "tools/qmrc/parser.h"
#include "tools/qmrc/source_reader.h"

namespace qmrc {

ResourceScript CompileScript(const std::filesystem::path& script) {
  PreprocessedScript preprocessed = Preprocess(script);
  ResourceScript result = ParseScript(preprocessed.tokens, script.parent_path());
  result.dependencies.push_back(script);
  auto add = [&](const std::filesystem::path& file) {
    if (std::find(result.dependencies.begin(), result.dependencies.end(), file) == result.dependencies.end()) {
      result.dependencies.push_back(file);
    }
  };
  for (const std::filesystem::path& header : preprocessed.includedFiles) add(header);
  for (const BitmapDefinition& bitmap : result.bitmaps) add(bitmap.file);
  return result;
}

}  // namespace qmrc
