#include "profile/section_dispatch.h"

void DispatchSections(const ProfileFile& profile, std::span<const SectionReader> readers) {
  for (const ProfileSection& section : profile.Sections()) {
    for (const SectionReader& reader : readers) {
      if (ProfileNamesEqual(section.Name(), reader.name)) reader.read(section);
    }
  }
}
