// The client area of Form3 below the story panel, drawn in one widget: the message panel
// Label1, the ten board rows (names, hit points, wishes, markers, crosses, orders, lines), the
// hint catcher Label9, the command buttons Command1 and the information picture Picture1, in the
// order the window stacks them. A click goes to the topmost control under the pointer that
// takes clicks, exactly as if every control were a widget of its own; a button looks and
// answers like a push button (raised, lit under the pointer, pressed while held, greyed when
// disabled). The story panel is a widget of its own above it.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "render.h"
// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "battle/preview.h"
#include "shell/events.h"
#include "state/form.h"
#endif

namespace vern::qt {

// What the board adds over the game's own screen while a battle runs: the enemies' plans, the
// turn's order, what the phase or a pick will do (battle/preview.h); and the key of each button
// while the board is played with the keys. Drawn in the band between the two sides and on the
// buttons' corners, never over a name, a hit point figure or a caption.
struct BoardAdditions {
    bool shown = false;
    std::vector<Intent> intents;
    TurnOrder order;
    std::optional<PhaseForecast> phase;
    std::optional<ActionForecast> pick;
    bool keys = false; // the keys 1..4 on the live buttons
    bool operator==(const BoardAdditions&) const = default;
};

// One control the board draws: its name ("Label2_5"), the click it stands for (if any) and its
// place at the current zoom.
struct BoardItem {
    QString name;
    std::optional<Control> control; // none: it takes no clicks (Label1, Label6) or lets them
                                    // through (see passThrough)
    int index = 0;
    QRect rect;
    bool passThrough = false; // Shape1, Line1, Line2, Label5: clicks reach what lies below
    bool enabled = true;      // a disabled button takes a click and does nothing
};

class BoardView : public QWidget {
  public:
    explicit BoardView(QWidget* parent);

    // Copies the board's controls from the model; repaints only what changed.
    void Apply(const Form3& f, double zoom);
    // The keyboard focus on the board: a frame around a row (slot 0..9), or none (-1).
    void SetFocusSlot(int slot);
    // The pointer over a unit that a click would pick, and the wish names of Label4's glyphs.
    void SetPicking(bool picks);
    void SetWishTips(std::vector<QString> tips); // ten entries, one a board slot

    // Every control the board draws, bottom first, with its place; hidden ones left out.
    std::vector<BoardItem> Items() const;
    // The topmost visible control at a point of the board that does not let clicks through;
    // nullopt where there is none.
    std::optional<BoardItem> ItemAt(QPoint p) const;
    // A control's place by name ("Label2_5"), visible or not; an empty rectangle when the board
    // has no such control.
    QRect RectOf(const QString& name) const;
    QRect FocusRect() const { return focusRect_; }
    // The battle additions to draw; the board slot the pointer is over (-1: none) is asked of it
    // for a pick's forecast. Repaints them only when they, or what they are drawn from, changed.
    void SetAdditions(BoardAdditions additions);
    int hoveredSlot() const { return hoverSlot_; }
    std::function<void()> onHoverSlot;
    // Where the additions were last drawn (their marks, badges and arrows' boxes), for tests.
    const std::vector<QRect>& additionRects() const { return additionRects_; }
    // The font a control's caption is drawn in; the application's font for a name the board
    // does not know or a control without a caption.
    QFont FontOf(const QString& name) const;

    // The board's model as it is drawn, and the additions drawn over it (for the accessibility
    // bus, which reads the board the way the eye does).
    const Form3& model() const { return f_; }
    const BoardAdditions& additions() const { return additions_; }
    double zoom() const { return zoom_; }

    // A player's click on a control that takes clicks.
    std::function<void(Control, int)> onClick;
    // Called once, when the board has been painted for the first time.
    std::function<void()> afterFirstPaint;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void UpdateCursor(QPoint p);
    void DrawAdditions(QPainter& p);
    QRect Badge(int slot) const;
    // What the additions are drawn from besides themselves: which rows show a name and hit
    // points, and which command buttons are live.
    std::array<bool, 24> AdditionsBasis() const;
    void DrawButton(QPainter& p, int i);
    void SetHover(int button);

    Form3 f_;
    double zoom_ = 0;
    bool applied_ = false;
    int focusSlot_ = -1;
    QRect focusRect_;
    bool picking_ = false;
    bool painted_ = false;
    std::vector<QString> wishTips_;
    std::optional<BoardItem> pressed_;
    int hover_ = -1; // the command button under the pointer
    int hoverSlot_ = -1;
    BoardAdditions additions_;
    std::array<bool, 24> additionsBasis_{};
    std::vector<QRect> additionRects_;
    int down_ = -1; // the command button held down
};

} // namespace vern::qt
