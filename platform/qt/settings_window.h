// 設定: the one window that holds every setting the player can change. Each row is a label and
// a list of choices; a change applies at once and is remembered. 初期設定に戻す puts every
// setting back to its default. Usable with the keyboard alone (Tab between rows, the arrows to
// choose, Enter or Esc to close).
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QComboBox;

namespace vern::qt {

struct SettingRow {
    QString name;  // the object name, for tests and the accessibility bus ("zoom")
    QString label; // what the player reads ("拡大率")
    QStringList choices;
    std::function<int()> current;          // the choice in effect
    std::function<void(int)> choose;       // applies (and remembers) a choice
    std::function<bool()> changeable = {}; // whether it can be changed now (empty: always)
};

class SettingsWindow : public QDialog {
    Q_OBJECT
  public:
    // rows: what to show; reset: puts every setting back to its default.
    SettingsWindow(std::vector<SettingRow> rows, std::function<void()> reset, double zoom,
                   QWidget* parent);
    // Shows what is in effect now (after a key or a menu changed a setting elsewhere).
    void Refresh();
    // The font of the game at a zoom.
    void SetZoom(double zoom);

  private:
    std::vector<SettingRow> rows_;
    std::vector<QComboBox*> boxes_;
    std::function<void()> reset_;
    bool refreshing_ = false;
};

} // namespace vern::qt
