#include "device_commands/module_tests.h"

namespace device_commands {

void ModuleTests::Command3_Click() {
    if (w_.TextNumber.Text().size() < 2) {
        w_.TextNumber.setText(u"10086");
    }
    SendCommand(u"ATD" + w_.TextNumber.Text() + u";");
}

void ModuleTests::Command1_Click() {
    SendCommand(u"ATA");
}

void ModuleTests::ComHandOff_Click() {
    SendCommand(u"AT+CHUP");
    SendCommand(u"AT^SLCD");
}

void ModuleTests::ComDial_Click(std::int16_t& Index) {
    SendCommand(u"AT+VTS=" + w_.ComDial.at(static_cast<std::size_t>(Index)).Caption());
}

void ModuleTests::Comcops_Click() {
    SendCommand(u"AT+COPS?");
}

void ModuleTests::ComCallID_Click() {
    SendCommand(u"AT+CLCC");
}

}  // namespace device_commands
