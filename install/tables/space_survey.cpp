#include "install/tables/space_survey.h"

#include <string>
#include <utility>
#include <vector>

#include "install/archive/archive_reader.h"
#include "install/tables/destination_table.h"
#include "install/tables/source_file.h"
#include "install/tables/source_file_list.h"
#include "support/path.h"

namespace {

struct InstalledPiece {
  std::int64_t bytes;
  int destinationId;
};

std::vector<InstalledPiece> PiecesOf(const CSourceFile& source, std::string_view sourceDirectory) {
  std::vector<InstalledPiece> pieces;
  SurveySource(source, sourceDirectory,
               [&pieces](std::int64_t bytes, int destinationId) { pieces.push_back({bytes, destinationId}); });
  return pieces;
}

void AddPieces(SpaceTotals& totals, SetupType type, const std::vector<InstalledPiece>& pieces,
               const CDestinationTable& destinations) {
  for (const InstalledPiece& piece : pieces) {
    totals.Add(type, piece.bytes, IsWindowsPart(destinations, piece.destinationId));
  }
}

}  // namespace

void SurveySource(const CSourceFile& source, std::string_view sourceDirectory,
                  const std::function<void(std::int64_t bytes, int destinationId)>& part) {
  if (source.Kind() == CSourceFile::kPlainFile) {
    part(source.Size(), source.DestinationId());
    return;
  }
  if (source.Kind() != CSourceFile::kArchive) return;

  const std::string path = JoinDirectory(sourceDirectory, source.FileName());
  if (!CPath(path).Exists()) {
    part(source.Size(), source.DestinationId());
    return;
  }
  // A reader of its own: the source's reader belongs to the copy.
  CArchiveReader archive;
  archive.OpenArchive(path);
  const auto entry = archive.CreateEntry();
  while (archive.NextEntry(*entry, true)) {
    part(entry->Header().UncompressedSize(), entry->Header().DestinationId());
  }
  archive.Close();
}

void AddSourceSpace(SpaceTotals& totals, SetupType type, const CSourceFile& source,
                    const CDestinationTable& destinations, std::string_view sourceDirectory) {
  AddPieces(totals, type, PiecesOf(source, sourceDirectory), destinations);
}

void ComputeSetupTypeTotals(SpaceTotals& totals, CGroupTable& groups, const CSourceFileList& sources,
                            const CDestinationTable& destinations, std::string_view sourceDirectory,
                            bool international) {
  for (const auto& source : sources.Sources()) {
    const CGroup* group = source->Group();
    if (group == nullptr) continue;
    const bool minimum = group->minimumFlag != 0;
    const bool typical = group->typicalFlag != 0;
    const bool custom = group->customFlag != 0;
    if (!minimum && !typical && !custom) continue;  // no archive opened for nothing

    const std::vector<InstalledPiece> pieces = PiecesOf(*source, sourceDirectory);
    if (minimum) AddPieces(totals, SetupType::Minimum, pieces, destinations);
    if (typical) AddPieces(totals, SetupType::Typical, pieces, destinations);
    if (custom) AddPieces(totals, SetupType::Custom, pieces, destinations);
  }

  for (const char* name : {group_name::kMain, group_name::kPremade}) {
    if (CGroup* group = groups.Find(name)) group->customFlag = 0;
  }
  const std::int32_t templates = GroupSpace(groups.Find(TemplateGroupName(international)), sources);
  for (SetupType type : {SetupType::Minimum, SetupType::Typical, SetupType::Custom}) {
    totals.AddToTotal(type, templates);
  }
}

void ComputeCustomTotals(SpaceTotals& totals, const CSourceFileList& sources, const CDestinationTable& destinations,
                         std::string_view sourceDirectory) {
  totals.Clear(SetupType::Custom);
  for (const auto& source : sources.Sources()) {
    const CGroup* group = source->Group();
    if (group == nullptr || !group->IsInstalled()) continue;
    AddSourceSpace(totals, SetupType::Custom, *source, destinations, sourceDirectory);
  }
}

std::int32_t GroupSpace(CGroup* group, const CSourceFileList& sources) {
  if (group == nullptr) return 0;
  if (!group->space) {
    std::int32_t space = 0;
    for (const auto& source : sources.Sources()) {
      if (source->Group() == group) space = AddClamped(space, source->Size());
    }
    group->space = space;
  }
  return *group->space;
}
