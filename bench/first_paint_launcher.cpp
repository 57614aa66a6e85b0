// The launcher itself, its own main() included, watched by the probe from the moment the
// application exists.
#include "first_paint_probe.h"

namespace {

void StartProbe() { new FirstPaintProbe(*QCoreApplication::instance()); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartProbe)
