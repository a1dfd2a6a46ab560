#include "about/about_box_opener.h"

namespace about {

AboutBoxOpener::AboutBoxOpener(platform::Form& mainWindow) : mainWindow_(mainWindow) {
    mainWindow_.DblClick = [this] { Form_DblClick(); };
}

AboutBoxOpener::~AboutBoxOpener() {
    mainWindow_.DblClick = nullptr;
}

void AboutBoxOpener::Form_DblClick() {
    if (!frmAbout_) {
        frmAbout_ = std::make_unique<frmAbout>(mainWindow_.runtime());
    }
    // Modeless and without an owner: the main window stays usable beside it.
    frmAbout_->Show();
}

}  // namespace about
