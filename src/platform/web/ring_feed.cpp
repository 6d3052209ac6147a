#include "platform/web/ring_feed.h"

#include <algorithm>

namespace demo {

void RingFeed::start() {
  rendered_ = 0;
  sent_ = ringBytes_;
}

void RingFeed::positionRead(uint64_t played, std::vector<Span>& spans) {
  spans.clear();
  const uint64_t from = std::max(sent_, played);
  const uint64_t to = rendered_ + leadBytes_;
  rendered_ = std::max(rendered_, played);
  if (ringBytes_ == 0 || to <= from) return;
  sent_ = to;
  uint64_t at = from;
  while (at < to) {
    const auto offset = static_cast<uint32_t>(at % ringBytes_);
    const auto bytes = static_cast<uint32_t>(std::min<uint64_t>(to - at, ringBytes_ - offset));
    spans.push_back({offset, bytes});
    at += bytes;
  }
}

}  // namespace demo
