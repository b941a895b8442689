#include "app/ramp_palette.h"

#include <stdexcept>

namespace {

int Channel(int start, int end, int step, int steps) { return start + (end - start) * step / steps; }

std::uint8_t ToByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// The static colours of a 256-colour display: the first and the last ten entries.
constexpr PaletteEntry kClassicDefaults[] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

}  // namespace

RampColor RampStep(const RampColor& start, const RampColor& end, int step, int steps) {
  if (steps <= 0) throw std::invalid_argument("RampStep: steps must be positive");
  return {Channel(start.red, end.red, step, steps), Channel(start.green, end.green, step, steps),
          Channel(start.blue, end.blue, step, steps)};
}

std::span<const PaletteEntry> ClassicDefaultPalette() { return kClassicDefaults; }

RampPalette RampPalette::Build(int devicePaletteSize, std::span<const PaletteEntry> defaults,
                               const RampColor& start, const RampColor& end) {
  const int reserved = static_cast<int>(defaults.size());
  const int free = devicePaletteSize > reserved ? devicePaletteSize - reserved : 0;
  if (free == 0) return RampPalette();

  std::vector<PaletteEntry> entries(defaults.begin(), defaults.end());
  entries.reserve(static_cast<std::size_t>(devicePaletteSize));
  for (int i = 0; i < free; ++i) {
    const RampColor c = RampStep(start, end, i, free);
    entries.push_back({ToByte(c.red), ToByte(c.green), ToByte(c.blue), 0});
  }
  return RampPalette(std::move(entries));
}
