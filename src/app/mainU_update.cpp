// The update, the list import and the resources menus on the main window.
#include "app/mainU.h"

namespace norvale {

void TfrmMain::WireUpdate() {}
void TfrmMain::StartupResources() {}

}  // namespace norvale
