#pragma once

#include <QBasicTimer>
#include <QPlainTextEdit>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/qt/bound_widget.h"
#include "platform/qt/line_break_map.h"
#include "platform/qt/steady_scroll_bar.h"
#include "platform/qt/text_backlog.h"

namespace platform::qt {

// RichTextBox: a multi-line plain-text pane. The model's Text keeps CR and LF
// as written, the document shows each line break as one; edits from either
// side change only the range they touch.
//
// Changes from code reach the document together, at most a few times a
// second: a pane that receives on every 5 ms tick would otherwise be edited,
// laid out and painted 200 times a second, each time costing far more than
// the tick. The first change after a quiet spell shows at once. Before the
// operator's input (a key, a click, the focus) reaches the pane, the document
// is brought up to date, and while the pane handles an event, changes from
// code reach it at once, so the operator always works on what the model holds.
class RichTextWidget final : public BoundTextWidget<QPlainTextEdit> {
  public:
    // Shortest time between two updates of the document from code.
    static constexpr Micros kRefresh = 300'000;

    RichTextWidget(RichTextBox& pane, Runtime& runtime, QWidget* parent);

    void textReplaced(std::int32_t start, std::int32_t removed,
                      std::u16string_view inserted) override;
    void repaint() override;
    // Brings the document up to the model now.
    void showPending();

  protected:
    void applyProperty(Property property) override;
    void applyColors() override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    RichTextBox& pane() const { return *static_cast<RichTextBox*>(control()); }
    bool pending() const { return !backlog_.empty() || selectionPending_ || repaintPending_; }
    void schedule();
    void showText();
    void showAllText();
    void rebuildDocument();
    // The shown text's [start, oldEnd) became `with`.
    void showEdit(std::int32_t start, std::int32_t oldEnd, std::u16string_view with);
    void showSelection();
    void documentEdited(int position, int removed, int added);
    void selectionMoved();
    // Model edits are not the operator's to undo.
    void editQuietly(const std::function<void(QTextCursor&)>& edit);

    SteadyScrollBar* scrollBar_ = nullptr;  // owned by the scroll area
    LineBreakMap map_;
    std::u16string shown_;  // the text the document shows; map_ is its map
    TextBacklog backlog_;
    bool selectionPending_ = false;
    bool repaintPending_ = false;
    QBasicTimer refreshTimer_;
    Micros refreshDue_ = 0;
    Micros lastShown_ = -kRefresh;
    int handling_ = 0;  // depth of this widget's own event handling
    bool syncing_ = false;
};

}  // namespace platform::qt
