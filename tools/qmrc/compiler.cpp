#include "tools/qmrc/compiler.h"

#include "tools/qmrc/parser.h"
#include "tools/qmrc/source_reader.h"

namespace qmrc {

ResourceScript CompileScript(const std::filesystem::path& script) {
  PreprocessedScript preprocessed = Preprocess(script);
  ResourceScript result = ParseScript(preprocessed.tokens, script.parent_path());
  result.dependencies.push_back(script);
  for (const std::filesystem::path& header : preprocessed.includedFiles) result.dependencies.push_back(header);
  for (const BitmapDefinition& bitmap : result.bitmaps) result.dependencies.push_back(bitmap.file);
  return result;
}

}  // namespace qmrc
