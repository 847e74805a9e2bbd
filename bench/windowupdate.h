#ifndef WINDOWUPDATE_H
#define WINDOWUPDATE_H

#include <QString>

class GeneratedRelease;
class UpdateController;
class UpdateWindow;

/// Clicks "Update" in \a window on \a controller and returns once the
/// update it started is over.
void clickUpdateAndWait(UpdateWindow &window, UpdateController &controller);

/// The updater installing \a release: \a appDir laid out afresh at 1.0.0,
/// an UpdateWindow in this process fetching from below \a baseUrl, its
/// "update" button clicked (the click returns once the installation is
/// over). Seconds from the click to the end, once the installed files have
/// been checked against those below \a servedDir and the new manifest
/// against the release; negative, with the reason on standard error, on
/// failure. \a written gets the bytes the updater passed to write().
double updateThroughWindow(const GeneratedRelease &release, const QString &appDir,
                           const QString &baseUrl, const QString &servedDir,
                           qint64 *written = nullptr);

#endif // WINDOWUPDATE_H
