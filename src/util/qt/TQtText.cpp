// Keeps norvale_qt a library with at least one object of its own while its
// subsystems add theirs.
#include "util/qt/TQtText.h"
