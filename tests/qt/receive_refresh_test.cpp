#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "console/tamsel.h"
#include "platform/headless/simulated_serial.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/rich_text_widget.h"
#include "platform/utf.h"
#include "tests/qt/screen_grab.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::Micros;
using platform::qt::RichTextWidget;

// The real window's runtime with a clock the test moves: the receive pane
// refreshes when the clock says, however long the test really takes.
class SteppedClockRuntime final : public platform::QtRuntime {
  public:
    Micros now() const override { return now_; }
    void advance(Micros by) { now_ += by; }

  private:
    Micros now_ = 1'000'000;
};

// Counts the paints a widget gets, and where they fall.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;
    std::vector<QRect> areas;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            areas.push_back(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
};

struct Change {
    int position;
    int removed;
    int added;
    bool operator==(const Change&) const = default;
};

// The main window with its port open on a simulated line; the test runs the
// receive ticks itself, 5 ms apart on the stepped clock.
class ReceiveRefresh : public testing::Test {
  protected:
    static constexpr Micros kTick = 5'000;

    ReceiveRefresh() {
        runtime.App().Path = platform::FromUtf8(folder.path());
        runtime.App().EXEName = u"korvel";
        test_support::WriteBytes(folder.file("korvel.ini"),
                                 "[TamselSet]\nPort=0\nSpeed=17\n[Point]\nTop=1035\nLeft=5175\n"
                                 "Width=8235\nHeight=10000\nWindowState=0\n");
        window.Show();
        window.ComStartStop_Click();
        window.TimerRead.setEnabled(false);
        view = dynamic_cast<RichTextWidget*>(runtime.widget(window.RTextBuf));
        counter = std::make_unique<PaintCounter>(*view->viewport());
        QObject::connect(view->document(), &QTextDocument::contentsChange,
                         [this](int p, int r, int a) {
                             changes.push_back({p, r, a});
                         });
        QCoreApplication::processEvents();
        settle();
        changes.clear();
        counter->paints = 0;
    }

    // The document catches up now, and then the pane stays quiet for a
    // refresh's time.
    void settle() {
        view->showPending();
        runtime.advance(RichTextWidget::kRefresh);
    }

    // One tick, 5 ms after the last, with `bytes` waiting; then the window
    // handles what is due.
    void tick(const std::string& bytes) {
        runtime.advance(kTick);
        ports.line(1).deliver(runtime.now(), bytes);
        window.TimerRead_Timer();
        QCoreApplication::processEvents();
    }
    // The pane as the operator sees it, CR LF and lone CR or LF each one break.
    QString displayed() const {
        QString text = QString::fromStdU16String(window.RTextBuf.Text());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    }

    test_support::TempDir folder;
    SteppedClockRuntime runtime;
    platform::headless::SimulatedSerialPorts ports{runtime};
    console::Tamsel window{runtime, ports};
    RichTextWidget* view = nullptr;
    std::unique_ptr<PaintCounter> counter;
    std::vector<Change> changes;
};

TEST_F(ReceiveRefresh, ASteadyStreamIsLaidOutAndPaintedAFewTimesASecond) {
    constexpr int kTicks = 200;  // one second
    constexpr int kMostRefreshes = 1 + kTicks * kTick / RichTextWidget::kRefresh;
    for (const std::int16_t hex : {0, 1}) {
        SCOPED_TRACE(hex == 1 ? "hex view" : "text view");
        window.CheckDisplay.setValue(hex);
        changes.clear();
        counter->paints = 0;
        for (int i = 0; i < kTicks; ++i) {
            tick(std::string("+CSQ: 20,99\r\n").substr(static_cast<std::size_t>(i % 2) * 6, 7));
        }
        EXPECT_GE(counter->paints, kMostRefreshes - 1);
        EXPECT_LE(counter->paints, kMostRefreshes);
        // At most a head cut and a new tail each time.
        EXPECT_LE(changes.size(), static_cast<std::size_t>(2 * kMostRefreshes));
        settle();
        EXPECT_EQ(view->toPlainText(), displayed());
        QCoreApplication::processEvents();  // its paint belongs to this view
    }
}

TEST_F(ReceiveRefresh, ChangesWaitForTheNextRefreshButAQuietPaneShowsAtOnce) {
    tick("OK\r\n");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("OK\n"));  // after a quiet spell
    tick("AT");
    tick("+CSQ");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("OK\n"));
    runtime.advance(RichTextWidget::kRefresh - 3 * kTick);
    tick("=?");  // a refresh's time after the first
    EXPECT_EQ(view->toPlainText(), QStringLiteral("OK\nAT+CSQ=?"));
    EXPECT_EQ(changes, (std::vector<Change>{{0, 0, 3}, {3, 0, 8}}));
}

TEST_F(ReceiveRefresh, TheTrimRemovesTheHeadAndLeavesTheLinesItKeepsLaidOut) {
    std::string line = "+CSQ: 20,99 000\r\n";
    for (int i = 0; window.RTextBuf.Text().size() <= 4000; ++i) {
        line.replace(12, 3, std::to_string(100 + i % 900));
        tick(line);
    }
    settle();
    const QTextBlock last = view->document()->lastBlock().previous();
    ASSERT_GT(last.layout()->lineCount(), 0);  // shown, so laid out
    const int lengthBefore = view->document()->characterCount() - 1;
    changes.clear();

    tick("OK\r\n");  // cuts the pane to its last 2000 characters first
    ASSERT_EQ(changes.size(), 2U);
    const int cut = changes[0].removed;
    EXPECT_EQ(changes[0], (Change{0, cut, 0}));
    EXPECT_EQ(changes[1], (Change{lengthBefore - cut, 0, 3}));
    EXPECT_GT(last.layout()->lineCount(), 0);
    EXPECT_EQ(view->toPlainText(), displayed());
}

TEST_F(ReceiveRefresh, TheOperatorWorksOnTheModelsTextBetweenRefreshes) {
    tick("first\r\n");
    tick("second\r\n");  // not shown yet
    // A click brings the document up to date before it places the caret.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(view->toPlainText(), QStringLiteral("first\nsecond\n"));
    EXPECT_EQ(window.RTextBuf.SelStart(), 0);
    tick("third");  // not shown yet; the caret goes to the end
    QTest::keyClick(view, Qt::Key_X);
    EXPECT_EQ(window.RTextBuf.Text(), u"first\r\nsecond\r\nthirdx");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("first\nsecond\nthirdx"));
}

// A pane full of lines, streamed on: the slider stays at the bottom and only
// its length changes, as a trim halves the text. The bar is painted again
// around the slider only, and what lies under the bar not at all.
TEST_F(ReceiveRefresh, InTheTextViewAStreamRepaintsTheScrollBarAroundItsSliderOnly) {
    for (int i = 0; window.RTextBuf.Text().size() < 3000; ++i) {
        tick("+CSQ: 20,99\r\n");
    }
    settle();
    QCoreApplication::processEvents();
    QScrollBar& bar = *view->verticalScrollBar();
    ASSERT_TRUE(bar.isVisible());
    PaintCounter barPaints(bar);
    PaintCounter framePaints(*view);
    counter->paints = 0;
    for (int i = 0; i < 400; ++i) {  // two seconds, through a trim
        tick("+CSQ: 20,99\r\n");
    }
    EXPECT_GT(counter->paints, 0);
    for (const QRect& area : barPaints.areas) {
        EXPECT_LT(area.height(), bar.height() / 2);
    }
    EXPECT_EQ(framePaints.paints, 0);
    EXPECT_EQ(bar.value(), bar.maximum());
}

// In the hexadecimal view the text is one long paragraph and the slider
// shortens as it grows: the bar is painted again around the slider only, and
// ends up as a whole paint draws it.
TEST_F(ReceiveRefresh, TheScrollBarRepaintsAroundItsSliderAndShowsWhatAFullPaintShows) {
    window.CheckDisplay.setValue(1);
    QScrollBar& bar = *view->verticalScrollBar();
    PaintCounter barPaints(bar);
    for (int i = 0; i < 400; ++i) {
        tick("+CSQ:");
    }
    settle();
    QCoreApplication::processEvents();
    ASSERT_TRUE(bar.isVisible());
    const int partial = static_cast<int>(
        std::count_if(barPaints.areas.begin(), barPaints.areas.end(),
                      [&](const QRect& area) { return area.height() < bar.height(); }));
    EXPECT_GT(partial, 0);

    EXPECT_EQ(korvel_test::OnScreen(bar), korvel_test::WholePaint(bar));
}

}  // namespace
