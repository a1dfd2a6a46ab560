#pragma once

#include <cstdint>

namespace platform::qt {

// How far a pane's text has moved on from what its document still shows,
// kept as the two edits that bring the document up to date: drop the first
// `dropped()` characters shown, keep the next `kept()`, and put the text's
// own tail from `kept()` on in place of everything after them. A cut of the
// head, the receive pane's trim, stays a removal there; appends only ever
// touch the tail.
class TextBacklog {
  public:
    // The document shows the text as it is now.
    void clear(std::int32_t shownLength);
    // The text changed: `removed` characters at `start` gave way to `inserted` ones.
    void replaced(std::int32_t start, std::int32_t removed, std::int32_t inserted);
    // Everything is to be shown again.
    void replaceAll();

    bool empty() const { return empty_; }
    std::int32_t dropped() const { return dropped_; }
    std::int32_t kept() const { return kept_; }

  private:
    bool empty_ = true;
    std::int32_t dropped_ = 0;
    std::int32_t kept_ = 0;
};

}  // namespace platform::qt
