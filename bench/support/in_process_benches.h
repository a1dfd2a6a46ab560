#pragma once

namespace bench {

// In this process, which must have a QApplication: the cost of one idle tick
// of the real window on a pseudo-terminal, called directly.
void IdleTick();
// Received bytes per second the tick pipeline (format, trim, append, repaint)
// sustains in the real window, fed from a simulated line, with the receive
// pane refreshed after every tick rather than a few times a second.
void Pipeline();
// CPU of the ticks and of one refresh of the receive pane, for a steady
// stream into each view: one refresh per refresh interval of ticks.
void RefreshCost();

}  // namespace bench
