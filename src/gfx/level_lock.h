#pragma once
// Level 0 of a texture locked for the duration of a scope. A failed lock, or no texture at all,
// yields no bits: callers give up rather than write through a null pointer. Locks taken in one
// scope are released in the reverse order.

#include <cstdint>

#include "platform/render_device.h"

namespace demo {

class LevelLock {
 public:
  LevelLock(Texture* texture, uint32_t flags) : texture_(texture) {
    if (texture_ && texture_->LockRect(0, &rect_, nullptr, flags) != D3D_OK) rect_ = {};
  }
  ~LevelLock() {
    if (rect_.pBits) texture_->UnlockRect(0);
  }
  LevelLock(const LevelLock&) = delete;
  LevelLock& operator=(const LevelLock&) = delete;

  uint8_t* bits() const { return static_cast<uint8_t*>(rect_.pBits); }
  int32_t pitch() const { return rect_.Pitch; }

 private:
  Texture* texture_;
  D3DLOCKED_RECT rect_{};
};

}  // namespace demo
