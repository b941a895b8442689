#pragma once
// The colour ramp of the background window: blue at the top fading to black at
// the bottom. Pure arithmetic, shared by the palette and the painting, so that
// both agree on every step.

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

struct RampColor {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const RampColor&, const RampColor&) = default;
};

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

inline constexpr RampColor kRampStart{0, 0, 255};
inline constexpr RampColor kRampEnd{0, 0, 0};

// The colour of step `step` of `steps`: start + (end - start) * step / steps per
// channel, truncating as integer division does. steps must be positive.
RampColor RampStep(const RampColor& start, const RampColor& end, int step, int steps);

// The twenty colours a palette display reserves for the system.
std::span<const PaletteEntry> ClassicDefaultPalette();

// The window's logical palette. Empty on a display without a hardware palette,
// where the window paints with plain colours.
class RampPalette {
 public:
  RampPalette() = default;
  explicit RampPalette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {}

  // The device's palette size minus the reserved entries are free for the ramp;
  // with none free there is no palette. Otherwise the reserved entries come first,
  // then one ramp step per free entry.
  static RampPalette Build(int devicePaletteSize, std::span<const PaletteEntry> defaults,
                           const RampColor& start, const RampColor& end);

  bool IsEmpty() const { return entries_.empty(); }
  const std::vector<PaletteEntry>& Entries() const { return entries_; }

 private:
  std::vector<PaletteEntry> entries_;
};
