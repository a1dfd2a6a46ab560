#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform::qt {

// Positions in a pane's text versus positions in the document that shows it.
// The text keeps CR and LF as written; the document shows CR LF, a lone CR
// and a lone LF as one line break each, so every CR LF pair of the text is one
// document position. The map keeps the pairs' places, sorted.
class LineBreakMap {
  public:
    void reset(std::u16string_view text);
    // The text changed from [start, oldEnd) to [start, newEnd); `text` is the new text.
    void replaced(std::u16string_view text, std::int32_t start, std::int32_t oldEnd,
                  std::int32_t newEnd);

    // A text position inside a pair gives the document position after it.
    std::int32_t toDocument(std::int32_t textPosition) const;
    std::int32_t toText(std::int32_t documentPosition) const;

    std::size_t pairCount() const { return pairs_.size(); }

  private:
    std::vector<std::int32_t> pairs_;  // text positions of the CR of each CR LF
};

// The text as the document holds it: each line break one U+2029.
std::u16string DocumentForm(std::u16string_view text);
// Document text back to pane text: each paragraph or line separator gives CR LF.
std::u16string TextForm(std::u16string_view documentText);

}  // namespace platform::qt
