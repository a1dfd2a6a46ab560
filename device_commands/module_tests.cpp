#include "device_commands/module_tests.h"

namespace device_commands {

ModuleTests::ModuleTests(console::Tamsel& window) : w_(window) {
    w_.TimerDelay.OnTimer = [this] { TimerDelay_Timer(); };
    w_.ComVersion.Click = [this] { ComVersion_Click(); };
    w_.ComSignal.Click = [this] { ComSignal_Click(); };
    w_.ComPIN.Click = [this] { ComPIN_Click(); };
    w_.TextPIN.KeyPress = [this](std::int16_t& key) { TextPIN_KeyPress(key); };
    w_.Command3.Click = [this] { Command3_Click(); };
    w_.Command1.Click = [this] { Command1_Click(); };
    w_.ComHandOff.Click = [this] { ComHandOff_Click(); };
    for (auto& key : w_.ComDial) {
        key.Click = [this, &key] {
            std::int16_t index = key.Index();
            ComDial_Click(index);
        };
    }
    w_.Comcops.Click = [this] { Comcops_Click(); };
    w_.ComCallID.Click = [this] { ComCallID_Click(); };
    w_.TextNumber.KeyPress = [this](std::int16_t& key) { TextNumber_KeyPress(key); };
}

}  // namespace device_commands
