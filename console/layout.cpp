#include <cstdint>

#include "console/tamsel.h"
#include "console/whole_number.h"

namespace console {
namespace {

// Sums run in double from the single-precision properties; each result is
// rounded to single once, here, as it is assigned.
float Single(double value) {
    return static_cast<float>(value);
}

// The lower pane can be pushed past the window's bottom in a very low
// window; it then gets no height rather than a negative one.
float PaneHeight(double value) {
    return value < 0 ? 0.0f : Single(value);
}

}  // namespace

void Tamsel::Form_Resize() {
    const double width = Width();
    const double height = Height();
    const double left = TextOut.Left();

    if (Single(left + 200.0) < Width()) {
        TextOut.setWidth(Single(width - left - 100.0));
    } else {
        TextOut.setWidth(100.0f);
    }
    RTextBuf.setWidth(TextOut.Width());
    LabelMove.setWidth(TextOut.Width());

    const bool tall = height > 2000.0;
    // 0.4 stays a double: a single 0.4 puts some heights one step off.
    TextOut.setHeight(tall ? Single(height * 0.4 - 340.0) : 460.0f);
    LabelMove.setTop(Single(static_cast<double>(TextOut.Top()) + TextOut.Height() - 10.0));
    LabelMove.setHeight(60.0f);
    RTextBuf.setTop(Single(static_cast<double>(TextOut.Top()) + TextOut.Height() + 40.0));
    // A low window gets the layout of one 2000 high.
    const double bottom = tall ? height : 2000.0;
    RTextBuf.setHeight(PaneHeight(bottom - RTextBuf.Top() - 410.0));
}

void Tamsel::LabelMove_MouseMove(std::int16_t& Button, std::int16_t& Shift, float&, float& Y) {
    if (Button == 1 && Shift == 0 && Height() > 1000.0f) {
        // The border goes 20 twips above the pointer: the middle of the gap
        // between the panes follows it.
        const std::int32_t proposed =
            WholeNumber(static_cast<double>(LabelMove.Top()) + static_cast<double>(Y) - 20.0);
        if (static_cast<double>(Height()) - 1000.0 < proposed) {
            TextOut.setHeight(Single(static_cast<double>(Height()) - 1000.0));
            RTextBuf.setTop(Single(static_cast<double>(TextOut.Top()) + TextOut.Height() + 40.0));
            RTextBuf.setHeight(PaneHeight(static_cast<double>(Height()) - RTextBuf.Top() - 410.0));
        } else {
            TextOut.setHeight(proposed <= 600 ? 600.0f : static_cast<float>(proposed));
            RTextBuf.setTop(Single(static_cast<double>(TextOut.Top()) + TextOut.Height() + 40.0));
            const std::int32_t lower =
                WholeNumber(static_cast<double>(Height()) - RTextBuf.Top() - 410.0);
            RTextBuf.setHeight(lower < 0 ? 0.0f : static_cast<float>(lower));
        }
    }
    // Whatever the move, the bar goes back under the border.
    LabelMove.setTop(Single(static_cast<double>(TextOut.Top()) + TextOut.Height() - 10.0));
    LabelMove.setHeight(60.0f);
}

}  // namespace console
