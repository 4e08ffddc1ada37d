// The window's remembered zoom and place, through QSettings.
#include "settings.h"

#include "main_window.h"

namespace vern::qt {

namespace {

const QString kZoom = QStringLiteral("zoom");
const QString kGeometry = QStringLiteral("geometry");

} // namespace

WindowSettings::WindowSettings() : settings_(std::make_unique<QSettings>()) {}

double WindowSettings::Zoom() const {
    bool ok = false;
    const double zoom = settings_->value(kZoom, 1.0).toDouble(&ok);
    return ok && zoom >= MainWindow::kMinZoom && zoom <= MainWindow::kMaxZoom ? zoom : 1.0;
}

void WindowSettings::RestorePlace(MainWindow& window) const {
    const QByteArray geometry = settings_->value(kGeometry).toByteArray();
    if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

void WindowSettings::Save(const MainWindow& window) {
    settings_->setValue(kZoom, window.zoom());
    settings_->setValue(kGeometry, window.saveGeometry());
    settings_->remove(QStringLiteral("pos")); // the place as earlier versions kept it
    settings_->sync();
}

} // namespace vern::qt
