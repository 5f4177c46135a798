// Printing and print preview on the main window.
#include "app/mainU.h"

namespace norvale {

void TfrmMain::WireOutput() {}

}  // namespace norvale
