// What the window remembers between games: its zoom and its place on the screen (the settings
// file of the desktop, ~/.config/vernadora/vernadora.conf).
#pragma once

#include <QSettings>
#include <memory>

namespace vern::qt {

class MainWindow;

class WindowSettings {
  public:
    WindowSettings();
    // The zoom the player left the window at, or 1 when none (or none usable) is remembered.
    double Zoom() const;
    // Puts the window where the player left it (size, place, maximized), if it was remembered.
    void RestorePlace(MainWindow& window) const;
    // Remembers the window's zoom and place.
    void Save(const MainWindow& window);

  private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace vern::qt
