// The player's settings, typed and checked, over the settings file.
#include "settings.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

#include "main_window.h"

namespace vern::qt {

namespace {

constexpr const char* kZoom = "zoom";
constexpr const char* kPlace = "place";
// How long after a change the settings are written: a drag or a run of zoom keys is one write.
constexpr int kWriteDelayMs = 1000;
// The height taken for the title bar the window manager adds above the window, and the width
// taken for its border on the other sides.
constexpr int kTitleBar = 30;
constexpr int kBorder = 8;

long long Area(const QRegion& region) {
    long long area = 0;
    for (const QRect& r : region) area += static_cast<long long>(r.width()) * r.height();
    return area;
}

} // namespace

PlayerSettings::PlayerSettings()
    : PlayerSettings(SettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))) {}

PlayerSettings::PlayerSettings(const std::string& path)
    : file_(std::make_unique<SettingsFile>(path)), writeSoon_(std::make_unique<QTimer>()) {
    writeSoon_->setSingleShot(true);
    writeSoon_->setInterval(kWriteDelayMs);
    QObject::connect(writeSoon_.get(), &QTimer::timeout, [this] { file_->Write(); });
}

std::optional<double> PlayerSettings::RememberedZoom() const {
    const std::optional<std::string> value = file_->Get(kZoom);
    if (!value) return std::nullopt;
    bool ok = false;
    const double zoom = QString::fromStdString(*value).toDouble(&ok);
    if (!ok || !(zoom >= MainWindow::kMinZoom && zoom <= MainWindow::kMaxZoom)) return std::nullopt;
    return zoom;
}

int PlayerSettings::Choice(const std::string& key, int count, int fallback) const {
    const std::optional<std::string> value = file_->Get(key);
    if (!value) return fallback;
    bool ok = false;
    const int n = QString::fromStdString(*value).toInt(&ok);
    return ok && n >= 0 && n < count ? n : fallback;
}

void PlayerSettings::SetChoice(const std::string& key, int value) {
    if (file_->Set(key, std::to_string(value))) WriteSoon();
}

void PlayerSettings::ResetToDefaults() {
    const std::optional<std::string> place = file_->Get(kPlace);
    file_->Clear();
    if (place) file_->Set(kPlace, *place);
    WriteSoon();
}

bool PlayerSettings::PlaceIsVisible(const QRect& frame, const QList<QRect>& screens) {
    QRegion shown;
    for (const QRect& s : screens) shown += s;
    const QRect titleBar(frame.left(), frame.top(), frame.width(),
                         std::min(kTitleBar, frame.height()));
    const long long barArea = static_cast<long long>(titleBar.width()) * titleBar.height();
    const long long area = static_cast<long long>(frame.width()) * frame.height();
    // The title bar, to grab the window by, at least half on a screen; most of the window too.
    return area > 0 && 2 * Area(shown & titleBar) >= barArea && 2 * Area(shown & frame) > area;
}

QPoint PlayerSettings::WholeOnAScreen(const QRect& frame, const QList<QRect>& screens) {
    const QRect* best = nullptr;
    long long most = 0;
    for (const QRect& s : screens) {
        const long long area = Area(s & frame);
        if (area > most) {
            most = area;
            best = &s;
        }
    }
    if (!best) return frame.topLeft();
    const auto within = [](int at, int size, int from, int room) {
        return std::max(from, std::min(at, from + room - size));
    };
    return {within(frame.left(), frame.width(), best->left(), best->width()),
            within(frame.top(), frame.height(), best->top(), best->height())};
}

void PlayerSettings::RestorePlace(MainWindow& window, double zoom) const {
    const std::optional<std::string> place = file_->Get(kPlace);
    if (place) window.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*place)));
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) screens << s->availableGeometry();
    const auto frame = [&window] { return window.geometry().adjusted(0, -kTitleBar, 0, 0); };
    const QRect left = frame();
    if (zoom > 0) window.ZoomTo(zoom);
    if (place && (window.isMaximized() || window.isFullScreen())) return;
    if (place && PlaceIsVisible(left, screens)) {
        // The player's own place stays as it was left, even partly off the screen; a window the
        // zoom resized there moves onto the screen as far as it must, as at a zoom key.
        // (The window's own area is set, not its place: a place given with move() before the
        // window shows is taken for its frame's, and the frame is not known yet.)
        if (frame().size() != left.size()) {
            const QRect framed = frame().adjusted(-kBorder, 0, kBorder, kBorder);
            window.setGeometry(
                QRect(WholeOnAScreen(framed, screens) + QPoint(kBorder, kTitleBar), window.size()));
        }
        return;
    }
    // Nothing remembered, or a place no screen shows any more: the middle of the screen.
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect centred = window.geometry();
    centred.moveCenter(screen->availableGeometry().center());
    window.move(centred.topLeft());
}

void PlayerSettings::Note(const MainWindow& window) {
    // The zoom and place of the window as it is in its own right, not of the full screen.
    if (window.isFullScreen()) return;
    file_->Set(kZoom, QString::number(window.zoom()).toStdString());
    file_->Set(kPlace, window.saveGeometry().toBase64().toStdString());
}

void PlayerSettings::WriteSoon() {
    if (file_->dirty()) writeSoon_->start();
}

void PlayerSettings::Changed(const MainWindow& window) {
    Note(window);
    WriteSoon();
}

void PlayerSettings::Save(const MainWindow& window) {
    Note(window);
    Flush();
}

void PlayerSettings::Flush() {
    writeSoon_->stop();
    file_->Write();
}

} // namespace vern::qt
