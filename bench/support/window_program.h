#pragma once

#include <string>

namespace bench {

// The real main window with COM1 of `programFolder` open, driven by lines on
// standard input until it closes:
//   "hex" / "text"     the display switch
//   "expect <offset>"  check every tick's text against the peer stream from there on
//   "probe on|off"     a typed key or a label click every 100 ms, timed
//   "report"           one line of figures
int RunWindow(const std::string& programFolder);

}  // namespace bench
