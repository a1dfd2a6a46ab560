#include "platform/qt/line_break_map.h"

#include <algorithm>
#include <string>

namespace platform::qt {
namespace {

constexpr char16_t kParagraphSeparator = u'\u2029';
constexpr char16_t kLineSeparator = u'\u2028';

bool PairAt(std::u16string_view text, std::int32_t position) {
    return position >= 0 && static_cast<std::size_t>(position) + 1 < text.size() &&
           text[static_cast<std::size_t>(position)] == u'\r' &&
           text[static_cast<std::size_t>(position) + 1] == u'\n';
}

}  // namespace

void LineBreakMap::reset(std::u16string_view text) {
    pairs_.clear();
    for (std::int32_t i = 0; static_cast<std::size_t>(i) + 1 < text.size(); ++i) {
        if (PairAt(text, i)) {
            pairs_.push_back(i);
            ++i;
        }
    }
}

void LineBreakMap::replaced(std::u16string_view text, std::int32_t start, std::int32_t oldEnd,
                            std::int32_t newEnd) {
    // Pairs that touch the changed range (one may straddle either edge) are
    // found again in the new text; those after it only move.
    const std::int32_t first = std::max(0, start - 1);
    const auto begin = std::lower_bound(pairs_.begin(), pairs_.end(), first);
    const auto end = std::lower_bound(begin, pairs_.end(), oldEnd);
    const std::int32_t delta = newEnd - oldEnd;
    for (auto it = end; it != pairs_.end(); ++it) {
        *it += delta;
    }
    std::vector<std::int32_t> found;
    for (std::int32_t i = first; i < newEnd; ++i) {
        if (PairAt(text, i)) {
            found.push_back(i);
            ++i;
        }
    }
    // A pair found at newEnd - 1 ends where the moved pairs begin, so no overlap.
    const auto at = pairs_.erase(begin, end);
    pairs_.insert(at, found.begin(), found.end());
}

std::int32_t LineBreakMap::toDocument(std::int32_t textPosition) const {
    // Pairs whose LF lies before the position each fold one character.
    const auto folded = std::lower_bound(pairs_.begin(), pairs_.end(), textPosition - 1);
    return textPosition - static_cast<std::int32_t>(folded - pairs_.begin());
}

std::int32_t LineBreakMap::toText(std::int32_t documentPosition) const {
    // Pair j stands at document position pairs_[j] - j; every pair before the
    // wanted position adds its folded LF back.
    std::int32_t low = 0;
    auto high = static_cast<std::int32_t>(pairs_.size());
    while (low < high) {
        const std::int32_t mid = low + (high - low) / 2;
        if (pairs_[static_cast<std::size_t>(mid)] - mid < documentPosition) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return documentPosition + low;
}

std::u16string DocumentForm(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            result.push_back(kParagraphSeparator);
        } else {
            result.push_back(ch);
        }
    }
    return result;
}

std::u16string TextForm(std::u16string_view documentText) {
    std::u16string result;
    result.reserve(documentText.size());
    for (const char16_t ch : documentText) {
        if (ch == kParagraphSeparator || ch == kLineSeparator) {
            result += u"\r\n";
        } else {
            result.push_back(ch);
        }
    }
    return result;
}

}  // namespace platform::qt
