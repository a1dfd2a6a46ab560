#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/registry.h"
#include "platform/runtime.h"

namespace about {

// How the About box starts a program and tests for a file; tests replace them.
struct ProgramStart {
    std::function<double(std::u16string_view pathName, std::int16_t windowStyle)> Shell;
    std::function<std::u16string(std::u16string_view pathName, int attributes)> Dir;
};

// The platform's own program start and file test.
ProgramStart SystemProgramStart();

// The About box: title, version, two fixed contact lines and OK. It also
// carries the system-information launcher, which nothing in the box calls.
class frmAbout : public platform::Form {
  public:
    explicit frmAbout(platform::Runtime& runtime,
                      platform::Registry& registry = platform::Registry::Program(),
                      ProgramStart start = SystemProgramStart());
    ~frmAbout() override;

    // Declared in design order, which is also the order the lines are drawn.
    platform::CommandButton cmdOK;
    platform::Label Label1;

  private:
    platform::Line line1Grey_;

  public:
    platform::Label lblDescription;
    platform::Label lblTitle;

  private:
    platform::Line line1White_;

  public:
    platform::Label lblVersion;

    // The etched rule: Line1(0) the white line, Line1(1) the grey one.
    platform::Line& Line1(std::int16_t index);

    void Form_Load();
    void cmdOK_Click();

    // Starts the system-information program the registry names, or says it
    // is not available.
    void StartSysInfo();
    // Reads one registry value as text: true when the key opened and the
    // value was read; false with KeyVal = "" otherwise.
    bool GetKeyValue(const std::int32_t& KeyRoot, const std::u16string& KeyName,
                     const std::u16string& SubKeyRef, std::u16string& KeyVal);

  private:
    void design();
    void designControls();
    void LaunchSysInfo();

    platform::Registry& registry_;
    ProgramStart start_;
};

}  // namespace about
