// 記録 (F2): every record the game keeps, listed with what each holds (the scene and its title,
// the hero, the party and its hit points, when it was written, a small picture of the window
// then). セーブ writes into a player slot, ロード loads any whole record, 削除 deletes a player
// slot; each asks first, as the game does. A damaged record is listed as such and never loaded.
// Usable with the keyboard alone: the arrows choose, Enter loads, Delete deletes, Esc closes.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <vector>

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "battle/save_slots.h"
#endif

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vern::qt {

class RecordWindow : public QDialog {
    Q_OBJECT
  public:
    // run: runs one of the game's actions as the main window runs the player's events (and
    // brings the board up to date after it).
    RecordWindow(Game& game, std::function<void(const std::function<void()>&)> run, double zoom,
                 QWidget* parent);
    // Reads every record again and shows what the game allows now.
    void Refresh();
    // The game's zoom; the window takes a smaller one where the screen would not show it whole.
    void SetZoom(double zoom);

    // The slot of the chosen row.
    SlotId chosen() const;
    void Choose(SlotId id);
    // The actions of the buttons.
    void Save();
    void Load();
    void Delete();

    // The picture file kept beside a record, read if it is a small picture file (no larger
    // than its box at 4×); else null.
    static QImage ReadPicture(const QString& file);
    // The width of the pictures the game keeps beside its records: twice the box they are
    // shown in at 1×, so that they stay sharp at the larger zooms.
    static constexpr int kKeptPictureWidth = 320;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowChosen();
    // The chosen record's picture in its box, at the box's size.
    void ShowPicture();
    // Sets the fonts, the picture's box and the list's smallest size for this zoom.
    void ApplyZoom(double zoom);
    // Applies the game's zoom, or the largest smaller one at which the window fits the screen;
    // returns the room the screen has for the window (invalid without a screen).
    QSize Fit();
    Game& game_;
    std::function<void(const std::function<void()>&)> run_;
    double zoom_;
    std::vector<SlotInfo> slots_;
    QTreeWidget* list_ = nullptr;
    QLabel* picture_ = nullptr;
    QImage pictureImage_; // the chosen record's picture as read; null when none
    QLabel* details_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace vern::qt
