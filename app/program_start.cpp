#include "app/program_start.h"

#include <QApplication>

#include "common/form_geometry.h"
#include "common/version.h"

namespace quorel {

void setUpApplication() {
    QApplication::setApplicationVersion(kVersion);
    installFontFallbacks();
    QApplication::setWindowIcon(programIcon());
}

}  // namespace quorel
