// Configuration sets, the export, help, web site, update check and about.
#include "app/mainU.h"

namespace norvale {

void TfrmMain::WireSets() {}

}  // namespace norvale
