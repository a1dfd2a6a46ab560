#include "platform/qt/text_backlog.h"

#include <algorithm>

namespace platform::qt {

void TextBacklog::clear(std::int32_t shownLength) {
    empty_ = true;
    dropped_ = 0;
    kept_ = shownLength;
}

void TextBacklog::replaced(std::int32_t start, std::int32_t removed, std::int32_t inserted) {
    empty_ = false;
    if (start == 0 && inserted == 0 && removed <= kept_) {
        dropped_ += removed;
        kept_ -= removed;
    } else {
        kept_ = std::min(kept_, start);
    }
}

void TextBacklog::replaceAll() {
    empty_ = false;
    dropped_ = 0;
    kept_ = 0;
}

}  // namespace platform::qt
