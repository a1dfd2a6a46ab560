#include "console/colors.h"
#include "console/tamsel.h"
#include "console/version_caption.h"

namespace console {

void Tamsel::Form_Load() {
    LabelDTR.setCaption(u"  DTR");
    LabelDTR.setBackColor(kLightYellow);
    LabelRTS.setCaption(u"  RTS");
    LabelRTS.setBackColor(kLightYellow);
    LabelDSR.setCaption(u"  DSR");
    LabelDSR.setBackColor(kLightYellow);
    LabelCTS.setCaption(u"  CTS");
    LabelCTS.setBackColor(kLightYellow);
    LabelCD.setCaption(u"  CD");
    LabelCD.setBackColor(kLightYellow);
    PortOpened = false;
    TextOut.setEnabled(false);
    TextOut.setText(u"请先打开端口!");
    RTextBuf.setText(u"");
    LabelMove.setCaption(u"");
    setCaption(VersionCaption(runtime().App()));
}

}  // namespace console
