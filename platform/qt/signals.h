// The end of the desktop session: SIGTERM and SIGHUP end the application's event loop (and any
// dialog's) the way the last window closing does, so that what is kept at the end is kept.
#pragma once

class QCoreApplication;

namespace vern::qt {

void QuitOnSignals(QCoreApplication& app);

} // namespace vern::qt
