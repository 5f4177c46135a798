// The rule list, the rule editor and Apply Rules on the main window.
#include "app/mainU.h"

namespace norvale {

void TfrmMain::WireRules() {}
void TfrmMain::StartupRules() {}
void TfrmMain::CloseRules() {}

}  // namespace norvale
