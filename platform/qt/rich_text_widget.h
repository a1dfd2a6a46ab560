#pragma once

#include <QPlainTextEdit>
#include <cstdint>
#include <string_view>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"
#include "platform/qt/line_break_map.h"

namespace platform::qt {

// RichTextBox: a multi-line plain-text pane. The model's Text keeps CR and LF
// as written, the document shows each line break as one; edits from either
// side change only the range they touch.
class RichTextWidget final : public BoundTextWidget<QPlainTextEdit> {
  public:
    RichTextWidget(RichTextBox& pane, Runtime& runtime, QWidget* parent);

    void textReplaced(std::int32_t start, std::int32_t removed,
                      std::u16string_view inserted) override;
    void repaint() override;

  protected:
    void applyProperty(Property property) override;
    void applyColors() override;

  private:
    RichTextBox& pane() const { return *static_cast<RichTextBox*>(control()); }
    void showAllText();
    void showSelection();
    void documentEdited(int position, int removed, int added);
    void selectionMoved();
    // Model edits are not the operator's to undo.
    void editQuietly(const std::function<void(QTextCursor&)>& edit);

    LineBreakMap map_;
    bool syncing_ = false;
};

}  // namespace platform::qt
