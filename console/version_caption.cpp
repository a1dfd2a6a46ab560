#include "console/version_caption.h"

#include "console/vb_text.h"

namespace console {

std::u16string VersionCaption(const platform::Application& app) {
    return u"设备测试程序  版本 V" + Str(app.Major) + u"." + Str(app.Minor) + Str(app.Revision);
}

}  // namespace console
