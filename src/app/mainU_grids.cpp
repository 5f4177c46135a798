// The list grids, the drafts and the skins on the main window.
#include "app/mainU.h"

namespace norvale {

void TfrmMain::WireGrids() {}
void TfrmMain::StartupSkins() {}

void TfrmMain::ClearGridFilter(int tab) { Lists->ForTab(tab).ClearFilter(); }

}  // namespace norvale
