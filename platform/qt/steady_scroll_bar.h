#pragma once

#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <optional>

namespace platform::qt {

// A scroll bar repainted only where what it shows changes. A pane that keeps
// receiving sets a new range on every refresh: in the text view its slider,
// held at its shortest at the bottom, stays where it was; in the hexadecimal
// view it shortens by a few pixels. Painting the whole bar each time costs
// more than the text beside it.
class SteadyScrollBar final : public QScrollBar {
  public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Changes of range and value made while a Hold lasts are weighed together
    // when it ends: the range grows before the value follows, and only where
    // the two end up counts.
    class Hold {
      public:
        explicit Hold(SteadyScrollBar& bar) : bar_(bar) { bar_.held_ = true; }
        ~Hold() { bar_.release(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        SteadyScrollBar& bar_;
    };

  protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // What a paint shows of the slider's settings.
    struct Look {
        QRect slider;
        QRect groove;
        QStyle::State state;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;
    void release();
    void repaintChanged();
    void followStyle();

    std::optional<Look> painted_;
    bool held_ = false;
    bool changedWhileHeld_ = false;
    bool pressed_ = false;
};

}  // namespace platform::qt
