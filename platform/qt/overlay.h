// The panels laid over the window for the player's comfort: the message history and the list
// of keys. The game says which one is open (UiState::overlay); this widget only shows it. A
// click anywhere on it asks for it to close; the wheel and the window's keys scroll the history.
#pragma once

#include <QWidget>

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "state/ui_state.h"
#endif

class QPlainTextEdit;

namespace vern::qt {

class OverlayView : public QWidget {
    Q_OBJECT
  public:
    explicit OverlayView(QWidget* parent);
    // Shows what the game has open over an area of the given size; hides itself for none.
    void Apply(const UiState& ui, QSize area, double zoom);
    // Scrolls the open panel (the history or the key list) by pages (negative: back in time,
    // up the list) or by lines.
    void ScrollPages(int pages);
    void ScrollLines(int lines);
    // Home and End: the first or the last of it.
    void ScrollToEnd(bool end);
    // Scrolled to its end (the newest of the history).
    bool AtBottom() const;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* history_ = nullptr;
    QPlainTextEdit* help_ = nullptr;
    Overlay shown_ = Overlay::None;
    std::uint64_t historyAdded_ = 0;
};

} // namespace vern::qt
