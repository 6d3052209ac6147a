#pragma once
// Finds where a song first comes back to an order position it has already played: the frame of
// the row tick that enters that position again.

#include <array>
#include <cstdint>
#include <optional>

#include "music/audio_output.h"

namespace demo::xmrender {

class SongLoop final : public TickObserver {
 public:
  void beforeTick(const Module& module, uint64_t frame) override;
  std::optional<uint64_t> loopFrame() const { return loopFrame_; }

 private:
  std::array<bool, 256> played_{};
  std::optional<uint64_t> loopFrame_;
};

}  // namespace demo::xmrender
