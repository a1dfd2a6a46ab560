#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/simulated_serial.h"
#include "platform/runtime_error.h"
#include "tests/support/run_time_error.h"
#include "tests/support/test_clock.h"

namespace {

using platform::LineSettings;
using platform::Micros;
using platform::SerialDevice;
using platform::headless::SimulatedLine;
using platform::headless::SimulatedSerialPorts;
using test_support::ErrorOf;
using test_support::TestClock;

struct Sent {
    Micros at;
    std::string bytes;
    std::int32_t baud;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s) {
    return out << "{" << s.at << ", \"" << s.bytes << "\", " << s.baud << "}";
}

LineSettings At(std::int32_t baud) {
    return LineSettings{baud};
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class SimulatedSerialTest : public ::testing::Test {
  protected:
    SimulatedSerialTest() {
        line().setPeer([this](Micros at, std::string_view bytes, const LineSettings& settings) {
            sent.push_back(Sent{at, std::string(bytes), settings.baud});
        });
    }
    SimulatedLine& line() { return ports.line(1); }
    std::unique_ptr<SerialDevice> open(std::int32_t baud = 9600) {
        return ports.open(1, At(baud), true, false);
    }

    TestClock clock;
    SimulatedSerialPorts ports{clock};
    std::vector<Sent> sent;
};

TEST_F(SimulatedSerialTest, ThePeerHearsEachByteWhenItsLastBitHasLeft) {
    auto device = open(9600);
    clock.set(1000);
    device->write("AB");
    clock.set(500'000);
    line().advance();
    EXPECT_EQ(sent, (std::vector<Sent>{{2042, "A", 9600}, {3084, "B", 9600}}));
}

TEST_F(SimulatedSerialTest, BytesWrittenWhileSendingQueueBehindAndAnIdleLineStartsAfresh) {
    auto device = open(9600);
    device->write("A");
    clock.set(500);
    device->write("B");
    clock.set(10'000);
    device->write("C");
    clock.set(20'000);
    EXPECT_EQ(device->outputCount(), 0u);
    EXPECT_EQ(sent, (std::vector<Sent>{{1042, "A", 9600}, {2084, "B", 9600}, {11042, "C", 9600}}));
}

TEST_F(SimulatedSerialTest, NothingHappensUntilTheLineIsLookedAt) {
    auto device = open(9600);
    device->write("A");
    clock.set(5000);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(line().pendingOutput(), 0u);
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(SimulatedSerialTest, ANewSpeedRestartsTheWaitingBytes) {
    auto device = open(9600);
    device->write("ABC");
    clock.set(1500);  // A has left, B is on its way
    device->configure(At(300));
    clock.set(1'000'000);
    line().advance();
    EXPECT_EQ(sent, (std::vector<Sent>{
                        {1042, "A", 9600}, {1500 + 33334, "B", 300}, {1500 + 66667, "C", 300}}));
}

TEST_F(SimulatedSerialTest, DeliveriesArriveInTimeOrderWhateverTheOrderTheyWereGiven) {
    auto device = open();
    line().deliver(300, "b");
    line().deliver(100, "a");
    line().deliver(300, "c");
    line().deliver(900, "d");
    clock.set(299);
    EXPECT_EQ(Text(device->readAll()), "a");
    clock.set(300);
    EXPECT_EQ(device->inputCount(), 2u);
    clock.set(1000);
    EXPECT_EQ(Text(device->readAll()), "bcd");
}

TEST_F(SimulatedSerialTest, APeerMayAnswerFromInsideItsCallback) {
    std::vector<Sent> heard;
    line().setPeer([&](Micros at, std::string_view bytes, const LineSettings& settings) {
        heard.push_back(Sent{at, std::string(bytes), settings.baud});
        line().deliver(at, std::string(bytes));  // echo
        if (bytes == "\r") {
            line().deliver(at + 5000, "\r\nOK\r\n");
        }
    });
    line().deliver(3000, "|");
    auto device = open(9600);
    device->write("AT\r");
    clock.set(3125);  // the CR has just left
    EXPECT_EQ(Text(device->readAll()), "AT|\r");
    clock.set(8124);
    EXPECT_EQ(device->inputCount(), 0u);
    clock.set(8125);
    EXPECT_EQ(Text(device->readAll()), "\r\nOK\r\n");
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(SimulatedSerialTest, BytesArrivingWhileClosedAreLost) {
    line().deliver(100, "lost");
    line().deliver(2000, "kept");
    clock.set(1000);
    auto device = open();
    EXPECT_EQ(device->inputCount(), 0u);
    clock.set(2000);
    EXPECT_EQ(Text(device->readAll()), "kept");
}

TEST_F(SimulatedSerialTest, RecordsEveryWriteWithTimeAndSettings) {
    auto device = open(4800);
    clock.set(10);
    device->write("AT\r");
    device->configure(At(57600));
    clock.set(20);
    device->write("ATI\r");
    ASSERT_EQ(line().writes().size(), 2u);
    EXPECT_EQ(line().writes()[0].at, 10);
    EXPECT_EQ(line().writes()[0].bytes, "AT\r");
    EXPECT_EQ(line().writes()[0].settings.baud, 4800);
    EXPECT_EQ(line().writes()[1].at, 20);
    EXPECT_EQ(line().writes()[1].settings.baud, 57600);
}

TEST_F(SimulatedSerialTest, OpenAndCloseShowOnTheFarEnd) {
    EXPECT_FALSE(line().isOpen());
    {
        auto device = ports.open(1, At(1200), true, true);
        EXPECT_TRUE(line().isOpen());
        EXPECT_TRUE(line().dtr());
        EXPECT_TRUE(line().rts());
        EXPECT_EQ(line().settings().baud, 1200);
        EXPECT_EQ(ErrorOf([&] { ports.open(1, At(1200), true, true); }), platform::kErrPortInUse);
    }
    EXPECT_FALSE(line().isOpen());
    EXPECT_FALSE(line().dtr());
    EXPECT_FALSE(line().rts());
    EXPECT_EQ(line().openCount(), 1);
}

TEST_F(SimulatedSerialTest, ARefusalRaisesTheChosenNumberUntilLifted) {
    const int refusals[] = {platform::kErrNoSuchDevice, platform::kErrPermissionDenied,
                            platform::kErrPortInUse, platform::kErrNotASerialPort};
    for (const int number : refusals) {
        line().refuseOpen(number);
        EXPECT_EQ(ErrorOf([&] { open(); }), number);
        EXPECT_FALSE(line().isOpen());
    }
    line().refuseOpen(0);
    EXPECT_NE(open(), nullptr);
}

TEST_F(SimulatedSerialTest, PortNumbersOutsideOneToSixteenAreInvalid) {
    for (const int port : {0, 17, -1}) {
        EXPECT_EQ(ErrorOf([&] { ports.open(port, At(9600), true, false); }),
                  platform::kErrInvalidPortNumber)
            << port;
    }
    EXPECT_NE(ports.open(16, At(9600), true, false), nullptr);
}

TEST_F(SimulatedSerialTest, AnUnpluggedDeviceRaisesUntilClosedAndLeavesALaterOpenAlone) {
    auto device = open();
    line().unplug();
    EXPECT_EQ(ErrorOf([&] { device->inputCount(); }), platform::kErrDeviceRemoved);
    EXPECT_EQ(ErrorOf([&] { device->write("x"); }), platform::kErrDeviceRemoved);
    EXPECT_FALSE(line().isOpen());
    auto second = open();
    device.reset();  // closing the old one must not close the new one
    EXPECT_TRUE(line().isOpen());
    EXPECT_EQ(second->inputCount(), 0u);
}

}  // namespace
