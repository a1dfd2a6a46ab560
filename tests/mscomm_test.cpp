#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/simulated_serial.h"
#include "platform/mscomm.h"
#include "platform/runtime_error.h"
#include "tests/support/run_time_error.h"
#include "tests/support/test_clock.h"

namespace {

using platform::Micros;
using platform::MSComm;
using platform::headless::LineChange;
using platform::headless::SimulatedLine;
using platform::headless::SimulatedSerialPorts;
using test_support::ErrorOf;
using test_support::TestClock;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

class MSCommTest : public ::testing::Test {
  protected:
    SimulatedLine& line(int port = 1) { return ports.line(port); }
    void open() { comm.setPortOpen(true); }

    TestClock clock;
    SimulatedSerialPorts ports{clock};
    MSComm comm{ports};
};

TEST_F(MSCommTest, StartsOnPortOneAt9600WithDtrOnRtsOff) {
    EXPECT_EQ(comm.CommPort(), 1);
    EXPECT_EQ(comm.Settings(), u"9600,N,8,1");
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_TRUE(comm.DTREnable());
    EXPECT_FALSE(comm.RTSEnable());
    EXPECT_EQ(comm.OutBufferSize(), 512);
    EXPECT_EQ(comm.InputLen(), 0);
    EXPECT_EQ(comm.Handshaking(), 0);
    EXPECT_EQ(comm.RThreshold(), 0);
    EXPECT_EQ(comm.SThreshold(), 0);
    EXPECT_EQ(comm.CommEvent(), 0);

    open();
    EXPECT_TRUE(line(1).isOpen());
    EXPECT_EQ(line(1).settings(),
              (platform::LineSettings{9600, platform::Parity::None, 8, platform::StopBits::One}));
    EXPECT_TRUE(line(1).dtr());
    EXPECT_FALSE(line(1).rts());
}

struct Refusal {
    const char* name;
    std::function<void(MSComm&)> write;
    int error;
    std::function<void(const MSComm&)> expectPrevious;
};

class MSCommRefusal : public MSCommTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(MSCommRefusal, RaisesAndKeepsThePreviousValue) {
    comm.setCommPort(3);
    comm.setSettings(u"19200,E,7,1");
    comm.setInputLen(10);
    comm.setInputMode(1);
    comm.setHandshaking(2);
    comm.setRThreshold(1);
    comm.setSThreshold(1);

    EXPECT_EQ(ErrorOf([&] { GetParam().write(comm); }), GetParam().error);
    GetParam().expectPrevious(comm);
}

void ExpectPort3(const MSComm& c) {
    EXPECT_EQ(c.CommPort(), 3);
}
void ExpectSettings(const MSComm& c) {
    EXPECT_EQ(c.Settings(), u"19200,E,7,1");
}

INSTANTIATE_TEST_SUITE_P(
    Writes, MSCommRefusal,
    ::testing::Values(Refusal{"PortZero", [](MSComm& c) { c.setCommPort(0); },
                              platform::kErrInvalidPortNumber, ExpectPort3},
                      Refusal{"Port17", [](MSComm& c) { c.setCommPort(17); },
                              platform::kErrInvalidPortNumber, ExpectPort3},
                      Refusal{"PortNegative", [](MSComm& c) { c.setCommPort(-1); },
                              platform::kErrInvalidPortNumber, ExpectPort3},
                      Refusal{"SettingsShort", [](MSComm& c) { c.setSettings(u"9600,N,8"); },
                              platform::kErrInvalidPropertyValue, ExpectSettings},
                      Refusal{"SettingsSpeedZero", [](MSComm& c) { c.setSettings(u"0,N,8,1"); },
                              platform::kErrInvalidPropertyValue, ExpectSettings},
                      Refusal{"InputLenNegative", [](MSComm& c) { c.setInputLen(-1); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.InputLen(), 10); }},
                      Refusal{"InputMode2", [](MSComm& c) { c.setInputMode(2); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.InputMode(), 1); }},
                      Refusal{"Handshaking4", [](MSComm& c) { c.setHandshaking(4); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.Handshaking(), 2); }},
                      Refusal{"HandshakingNegative", [](MSComm& c) { c.setHandshaking(-1); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.Handshaking(), 2); }},
                      Refusal{"RThresholdNegative", [](MSComm& c) { c.setRThreshold(-1); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.RThreshold(), 1); }},
                      Refusal{"SThresholdNegative", [](MSComm& c) { c.setSThreshold(-1); },
                              platform::kErrInvalidPropertyValue,
                              [](const MSComm& c) { EXPECT_EQ(c.SThreshold(), 1); }}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MSCommTest, PortNumberCannotChangeWhileOpenAndSecondOpenIsRefused) {
    comm.setCommPort(4);
    open();
    EXPECT_EQ(ErrorOf([&] { comm.setCommPort(2); }), platform::kErrPortOpenOperation);
    EXPECT_EQ(comm.CommPort(), 4);
    EXPECT_EQ(ErrorOf([&] { open(); }), platform::kErrPortAlreadyOpen);
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_TRUE(line(4).isOpen());
    EXPECT_EQ(line(4).openCount(), 1);
    EXPECT_FALSE(line(1).isOpen());

    comm.setPortOpen(false);
    EXPECT_FALSE(line(4).isOpen());
    comm.setPortOpen(false);
    EXPECT_FALSE(comm.PortOpen());
    comm.setCommPort(2);
    EXPECT_EQ(comm.CommPort(), 2);
}

TEST_F(MSCommTest, CountsReadsAndWritesRaiseWhileClosed) {
    const std::vector<std::function<void()>> calls = {
        [&] { comm.InBufferCount(); },
        [&] { comm.Input(); },
        [&] { comm.OutBufferCount(); },
        [&] { comm.setOutput(u"AT\r"); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(ErrorOf(calls[i]), platform::kErrDeviceNotOpen) << "call " << i;
    }
    EXPECT_TRUE(line(1).writes().empty());
}

TEST_F(MSCommTest, HoldingLinesReadFalseWhileClosed) {
    line(1).setDsr(true);
    line(1).setCts(true);
    line(1).setCd(true);
    EXPECT_FALSE(comm.DSRHolding());
    EXPECT_FALSE(comm.CTSHolding());
    EXPECT_FALSE(comm.CDHolding());
}

struct Lines {
    bool dsr, cts, cd;
};

class MSCommLines : public MSCommTest, public ::testing::WithParamInterface<Lines> {};

TEST_P(MSCommLines, HoldingLinesFollowTheFarEnd) {
    open();
    line(1).setDsr(GetParam().dsr);
    line(1).setCts(GetParam().cts);
    line(1).setCd(GetParam().cd);
    EXPECT_EQ(comm.DSRHolding(), GetParam().dsr);
    EXPECT_EQ(comm.CTSHolding(), GetParam().cts);
    EXPECT_EQ(comm.CDHolding(), GetParam().cd);
}

INSTANTIATE_TEST_SUITE_P(Combinations, MSCommLines,
                         ::testing::Values(Lines{false, false, false}, Lines{true, false, false},
                                           Lines{false, true, false}, Lines{false, false, true},
                                           Lines{true, true, true}));

struct OutputLines {
    bool dtr, rts;
};

class MSCommOutputLines : public MSCommTest, public ::testing::WithParamInterface<OutputLines> {};

TEST_P(MSCommOutputLines, LinesSetWhileClosedReachTheDeviceAfterTheSettings) {
    comm.setSettings(u"2400,N,8,1");
    comm.setDTREnable(GetParam().dtr);
    comm.setRTSEnable(GetParam().rts);
    EXPECT_EQ(comm.DTREnable(), GetParam().dtr);
    EXPECT_EQ(comm.RTSEnable(), GetParam().rts);
    EXPECT_TRUE(line(1).changes().empty());

    open();
    const auto& changes = line(1).changes();
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0].kind, LineChange::Kind::Opened);
    EXPECT_EQ(changes[1].kind, LineChange::Kind::Settings);
    EXPECT_EQ(changes[1].settings.baud, 2400);
    EXPECT_EQ(changes[2].kind, LineChange::Kind::Dtr);
    EXPECT_EQ(changes[2].on, GetParam().dtr);
    EXPECT_EQ(changes[3].kind, LineChange::Kind::Rts);
    EXPECT_EQ(changes[3].on, GetParam().rts);

    // While open every write drives the line and reads back.
    comm.setDTREnable(!GetParam().dtr);
    comm.setRTSEnable(!GetParam().rts);
    EXPECT_EQ(line(1).dtr(), !GetParam().dtr);
    EXPECT_EQ(line(1).rts(), !GetParam().rts);
    EXPECT_EQ(comm.DTREnable(), !GetParam().dtr);
    EXPECT_EQ(comm.RTSEnable(), !GetParam().rts);

    // Closing drops both lines but the control remembers them for the next open.
    comm.setPortOpen(false);
    EXPECT_FALSE(line(1).dtr());
    EXPECT_FALSE(line(1).rts());
    open();
    EXPECT_EQ(line(1).dtr(), !GetParam().dtr);
    EXPECT_EQ(line(1).rts(), !GetParam().rts);
}

INSTANTIATE_TEST_SUITE_P(Combinations, MSCommOutputLines,
                         ::testing::Values(OutputLines{false, false}, OutputLines{false, true},
                                           OutputLines{true, false}, OutputLines{true, true}));

TEST_F(MSCommTest, SettingsWrittenWhileOpenTakeEffectAtOnce) {
    open();
    comm.setSettings(u"115200,O,7,2");
    EXPECT_EQ(line(1).settings(),
              (platform::LineSettings{115200, platform::Parity::Odd, 7, platform::StopBits::Two}));
    EXPECT_NE(ErrorOf([&] { comm.setSettings(u"115200,O,7"); }), 0);
    EXPECT_EQ(line(1).settings().baud, 115200);
    EXPECT_EQ(comm.Settings(), u"115200,O,7,2");
}

TEST_F(MSCommTest, ARefusedOpenLeavesTheControlClosed) {
    line(2).refuseOpen(platform::kErrPermissionDenied);
    comm.setCommPort(2);
    comm.setSettings(u"4800,N,8,1");
    EXPECT_EQ(ErrorOf([&] { open(); }), platform::kErrPermissionDenied);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_EQ(comm.CommPort(), 2);
    EXPECT_EQ(comm.Settings(), u"4800,N,8,1");
    EXPECT_EQ(ErrorOf([&] { comm.InBufferCount(); }), platform::kErrDeviceNotOpen);

    line(2).refuseOpen(0);
    open();
    EXPECT_TRUE(line(2).isOpen());
}

struct Draining {
    std::u16string settings;
    std::size_t bytes;
    std::vector<std::pair<Micros, int>> countAt;
};

class MSCommDraining : public MSCommTest, public ::testing::WithParamInterface<Draining> {};

TEST_P(MSCommDraining, OutBufferCountFallsAsBytesLeaveAtTheLineSpeed) {
    comm.setSettings(GetParam().settings);
    open();
    clock.set(1'000'000);
    comm.setOutput(std::u16string(GetParam().bytes, u'A'));
    for (const auto& [at, count] : GetParam().countAt) {
        clock.set(1'000'000 + at);
        EXPECT_EQ(comm.OutBufferCount(), count) << "at +" << at << " us";
    }
}

// 10 bits a byte: 1041.67 us at 9600, 33333.3 us at 300.
INSTANTIATE_TEST_SUITE_P(
    Speeds, MSCommDraining,
    ::testing::Values(
        Draining{u"9600,N,8,1",
                 10,
                 {{0, 10},
                  {1041, 10},
                  {1042, 9},
                  {2083, 9},
                  {2084, 8},
                  {9375, 1},
                  {10416, 1},
                  {10417, 0},
                  {50000, 0}}},
        Draining{u"300,N,8,1",
                 10,
                 {{0, 10}, {33333, 10}, {33334, 9}, {300000, 1}, {333333, 1}, {333334, 0}}},
        // The largest send: a full buffer and its carriage return.
        Draining{u"9600,N,8,1", 513, {{0, 513}, {534374, 1}, {534375, 0}}}));

TEST_F(MSCommTest, AFullBufferAndACarriageReturnAreTakenInOneWrite) {
    open();
    const std::u16string piece = std::u16string(comm.OutBufferSize(), u'x') + u"\r";
    comm.setOutput(piece);
    EXPECT_EQ(comm.OutBufferCount(), 513);
    ASSERT_EQ(line(1).writes().size(), 1u);
    EXPECT_EQ(line(1).writes()[0].bytes, std::string(512, 'x') + "\r");
}

TEST_F(MSCommTest, OutputIsSentInTheAnsiCodePage) {
    comm.setSettings(u"19200,N,8,1");
    open();
    clock.set(250);
    comm.setOutput(u"AT\u4E2D\r");
    ASSERT_EQ(line(1).writes().size(), 1u);
    EXPECT_EQ(line(1).writes()[0].bytes, "AT\xD6\xD0\r");
    EXPECT_EQ(line(1).writes()[0].at, 250);
    EXPECT_EQ(line(1).writes()[0].settings.baud, 19200);
}

TEST_F(MSCommTest, InputTakesEveryWaitingByteOnce) {
    int events = 0;
    comm.OnComm = [&] { ++events; };
    open();
    line(1).deliver(5000, "OK\r\n");
    line(1).deliver(7000, std::string("\0\xFF", 2));
    clock.set(4999);
    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_TRUE(comm.Input().empty());
    clock.set(5000);
    EXPECT_EQ(comm.InBufferCount(), 4);
    clock.set(8000);
    EXPECT_EQ(comm.InBufferCount(), 6);
    EXPECT_EQ(comm.Input(), Bytes(std::string("OK\r\n\0\xFF", 6)));
    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_TRUE(comm.Input().empty());
    EXPECT_EQ(events, 0);
}

TEST_F(MSCommTest, InputLenLimitsOneReadAndKeepsTheRest) {
    comm.setInputLen(3);
    open();
    line(1).deliver(0, "ABCDE");
    EXPECT_EQ(comm.InBufferCount(), 5);
    EXPECT_EQ(comm.Input(), Bytes("ABC"));
    EXPECT_EQ(comm.InBufferCount(), 2);
    line(1).deliver(0, "FG");
    EXPECT_EQ(comm.Input(), Bytes("DEF"));
    EXPECT_EQ(comm.Input(), Bytes("G"));
    EXPECT_EQ(comm.InBufferCount(), 0);
}

TEST_F(MSCommTest, CountsStopAtTheLargest16BitValue) {
    open();
    line(1).deliver(0, std::string(40000, 'z'));
    comm.setOutput(std::u16string(40000, u'y'));
    EXPECT_EQ(comm.InBufferCount(), 32767);
    EXPECT_EQ(comm.OutBufferCount(), 32767);
    EXPECT_EQ(comm.Input().size(), 40000u);
}

TEST_F(MSCommTest, BytesWaitingAtCloseAreGoneAfterReopening) {
    open();
    line(1).deliver(0, "stale");
    comm.setOutput(u"unsent");
    comm.setPortOpen(false);
    open();
    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_EQ(comm.OutBufferCount(), 0);
}

TEST_F(MSCommTest, ARemovedDeviceRaisesButCanBeClosedAndReopened) {
    open();
    line(1).unplug();
    const std::vector<std::function<void()>> calls = {
        [&] { comm.InBufferCount(); },  [&] { comm.Input(); },
        [&] { comm.OutBufferCount(); }, [&] { comm.setOutput(u"AT\r"); },
        [&] { comm.DSRHolding(); },     [&] { comm.setDTREnable(false); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(ErrorOf(calls[i]), platform::kErrDeviceRemoved) << "call " << i;
    }
    EXPECT_TRUE(comm.PortOpen());
    comm.setPortOpen(false);
    EXPECT_FALSE(comm.PortOpen());
    open();
    EXPECT_TRUE(line(1).isOpen());
    EXPECT_EQ(comm.InBufferCount(), 0);
}

}  // namespace
