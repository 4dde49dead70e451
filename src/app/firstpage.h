#pragma once

#include <QString>

class SettingsModel;
class SettingsStore;

// The address the first tab of this start opens, known before the frame is built so that its
// page can load meanwhile. It follows the frame's own start-up order (first run, crash notice,
// saved pages, command line) and is empty whenever the first tab waits for the user: the first
// run's quick tour, a crash notice, the question which saved pages to open.
QString firstPageAddress(const SettingsStore &store, const SettingsModel &settings,
                         const QString &commandLine);
