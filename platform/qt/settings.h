// Everything the player sets, kept between games in the player's settings file
// (~/.config/vernadora/vernadora.conf): the window's zoom, place and full screen, and the
// choices of the settings window. Written a moment after each change, and at the end, so that a
// logout keeps them; never more than the file allows (see io/settings_file.h). A value out of
// range, of the wrong kind or unreadable counts as not set: the default.
#pragma once

#include <QList>
#include <QRect>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "io/settings_file.h"
#endif

namespace vern::qt {

class MainWindow;

class PlayerSettings {
  public:
    // The settings file of this user (none without a home folder), or the one at path (empty:
    // kept for this run only).
    PlayerSettings();
    explicit PlayerSettings(const std::string& path);

    // The zoom the player left the window at; none when none (or none usable) is remembered.
    std::optional<double> RememberedZoom() const;
    double Zoom() const { return RememberedZoom().value_or(1.0); }
    bool Fullscreen() const { return Choice("fullscreen", 2, 0) == 1; }
    void SetFullscreen(bool on) { SetChoice("fullscreen", on ? 1 : 0); }

    // A setting that is one of count choices, 0..count-1; fallback when not set or not usable.
    int Choice(const std::string& key, int count, int fallback) const;
    void SetChoice(const std::string& key, int value);
    // Forgets every setting but the window's place (初期設定に戻す).
    void ResetToDefaults();

    // Puts the window where the player left it (size, place, maximized) when that place is
    // still on a screen; else the window is centred on its screen. A zoom given (the command
    // line's) is then the window's size at that place, moved as little as needed to show whole.
    void RestorePlace(MainWindow& window, double zoom = 0) const;
    // Notes the window's zoom and place and writes them a moment later (one write for a drag).
    void Changed(const MainWindow& window);
    // Notes them and writes everything now.
    void Save(const MainWindow& window);
    // Writes what changed now.
    void Flush();

    SettingsFile& file() { return *file_; }

    // Whether a window at frame (its title bar included) shows its title bar and most of
    // itself on the screens with these areas.
    static bool PlaceIsVisible(const QRect& frame, const QList<QRect>& screens);
    // Where a window at frame lies whole, moved as little as it can be, on the screen that shows
    // most of it (one larger than that screen keeps its top left corner on it); frame's own
    // place when no screen shows any of it.
    static QPoint WholeOnAScreen(const QRect& frame, const QList<QRect>& screens);

  private:
    void Note(const MainWindow& window);
    void WriteSoon();
    std::unique_ptr<SettingsFile> file_;
    std::unique_ptr<QTimer> writeSoon_;
};

} // namespace vern::qt
