// What the window remembers between games: its zoom and its place on the screen, in the
// player's settings file (~/.config/vernadora/vernadora.conf). Written a moment after each
// change, and at the end, so that a logout keeps them; never more than the file allows (see
// io/settings_file.h).
#pragma once

#include <QList>
#include <QRect>
#include <QTimer>
#include <memory>
#include <string>

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "io/settings_file.h"
#endif

namespace vern::qt {

class MainWindow;

class WindowSettings {
  public:
    // The settings file of this user (none without a home folder), or the one at path.
    WindowSettings();
    explicit WindowSettings(const std::string& path);

    // The zoom the player left the window at, or 1 when none (or none usable) is remembered.
    double Zoom() const;
    // Puts the window where the player left it (size, place, maximized) when that place is
    // still on a screen; else the window is centred on its screen.
    void RestorePlace(MainWindow& window) const;
    // Notes the window's zoom and place and writes them a moment later (one write for a drag).
    void Changed(const MainWindow& window);
    // Notes them and writes them now.
    void Save(const MainWindow& window);

    SettingsFile& file() { return *file_; }

    // Whether a window at frame (its title bar included) shows its title bar and most of
    // itself on the screens with these areas.
    static bool PlaceIsVisible(const QRect& frame, const QList<QRect>& screens);

  private:
    void Note(const MainWindow& window);
    std::unique_ptr<SettingsFile> file_;
    std::unique_ptr<QTimer> writeSoon_;
};

} // namespace vern::qt
