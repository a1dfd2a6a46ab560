#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/steady_scroll_bar.h"
#include "tests/qt/screen_grab.h"

namespace {

using platform::qt::SteadyScrollBar;

// A tall bar in a window of its own, scrolled to the bottom of a long range:
// its slider sits there at its shortest.
class SteadyScrollBarTest : public testing::Test {
  protected:
    SteadyScrollBarTest() {
        top.resize(40, 320);
        bar->setGeometry(10, 10, 14, 300);
        bar->setRange(0, 10000);
        bar->setPageStep(10);
        bar->setValue(10000);
        top.show();
        QCoreApplication::processEvents();
        bar->installEventFilter(&paints);
        top.installEventFilter(&underneath);
    }

    struct PaintLog final : QObject {
        std::vector<QRect> areas;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                areas.push_back(static_cast<QPaintEvent*>(event)->rect());
            }
            return false;
        }
    };

    QWidget top;
    SteadyScrollBar* bar = new SteadyScrollBar(Qt::Vertical, &top);
    PaintLog paints;
    PaintLog underneath;
};

TEST_F(SteadyScrollBarTest, EachChangeIsPaintedWhereItShowsAndNowhereElse) {
    enum class Painted { Nothing, AroundTheSlider, Whole };
    struct Case {
        std::string name;
        std::function<void(SteadyScrollBar&)> change;
        Painted painted;
    };
    const Case cases[] = {
        {"the range grows and the value follows",
         [](SteadyScrollBar& b) {
             const SteadyScrollBar::Hold hold(b);
             b.setMaximum(10100);
             b.setValue(10100);
         },
         Painted::Nothing},
        {"the range shrinks, the value follows and the slider grows",
         [](SteadyScrollBar& b) {
             const SteadyScrollBar::Hold hold(b);
             b.setMaximum(20);
             b.setValue(20);
         },
         Painted::AroundTheSlider},
        {"the slider leaves the bottom", [](SteadyScrollBar& b) { b.setValue(10); },
         Painted::Whole},
        {"the slider moves between the ends", [](SteadyScrollBar& b) { b.setValue(5); },
         Painted::AroundTheSlider},
        {"the slider reaches the top", [](SteadyScrollBar& b) { b.setValue(0); }, Painted::Whole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paints.areas.clear();
        c.change(*bar);
        QCoreApplication::processEvents();
        switch (c.painted) {
            case Painted::Nothing:
                EXPECT_TRUE(paints.areas.empty());
                break;
            case Painted::AroundTheSlider:
                ASSERT_EQ(paints.areas.size(), 1U);
                EXPECT_LT(paints.areas.front().height(), bar->height());
                break;
            case Painted::Whole:
                ASSERT_EQ(paints.areas.size(), 1U);
                EXPECT_EQ(paints.areas.front(), bar->rect());
                break;
        }
        EXPECT_EQ(korvel_test::OnScreen(*bar), korvel_test::WholePaint(*bar));
    }
    // A bar that stays on screen covers its whole area.
    EXPECT_TRUE(underneath.areas.empty());
}

}  // namespace
