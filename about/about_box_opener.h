#pragma once

#include <memory>

#include "about/frm_about.h"
#include "platform/form.h"

namespace about {

// The main window's double-click on its background: shows the About box,
// the one instance of the run, created on the first double-click.
class AboutBoxOpener {
  public:
    // Takes over the window's DblClick until the opener goes; the window must
    // outlive the opener.
    explicit AboutBoxOpener(platform::Form& mainWindow);
    ~AboutBoxOpener();
    AboutBoxOpener(const AboutBoxOpener&) = delete;
    AboutBoxOpener& operator=(const AboutBoxOpener&) = delete;

    void Form_DblClick();

    // The About box; null until the first double-click.
    frmAbout* box() const { return frmAbout_.get(); }

  private:
    platform::Form& mainWindow_;
    std::unique_ptr<frmAbout> frmAbout_;
};

}  // namespace about
