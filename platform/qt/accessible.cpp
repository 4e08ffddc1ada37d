// The board and the labels as the accessibility bus sees them.
#include "accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWindow>
#include <vector>

#include "board_view.h"
#include "render.h"

namespace vern::qt {

namespace {

QString Plain(const std::string& caption) {
    QString text = ToText(caption);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.trimmed();
}

// The text interface over a string the caller keeps up to date.
class PlainText : public QAccessibleTextInterface {
  public:
    virtual QString Current() const = 0;
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Current().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Current().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }
};

// A label of the game's (the story text): read as its whole text, never a fixed name.
class LabelAccessible : public QAccessibleWidget, public PlainText {
  public:
    explicit LabelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString Current() const override {
        const auto* label = static_cast<const LabelView*>(object());
        return label->spokenText().isNull() ? label->text() : label->spokenText();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return Current();
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    using PlainText::text;
};

// The board's parts: 0 the message panel, 1..10 the rows (slots 0..9), 11..14 the command
// buttons, 15 the hint, 16 the battle additions.
enum Part { kMessage = 0, kFirstRow = 1, kFirstButton = 11, kHint = 15, kAdditions = 16 };
constexpr int kParts = 17;

class BoardAccessible;

class BoardPart : public QAccessibleInterface, public PlainText, public QAccessibleActionInterface {
  public:
    BoardPart(BoardAccessible* board, int part) : board_(board), part_(part) {}
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && (part_ == kMessage || part_ == kHint))
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::ActionInterface && IsButton())
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }
    QString Current() const override;
    using PlainText::text;
    // Pressing a command button, as a click would.
    QStringList actionNames() const override {
        return IsButton() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    bool IsButton() const { return part_ >= kFirstButton && part_ < kFirstButton + 4; }
    BoardView* Board() const;
    BoardAccessible* board_;
    int part_;
};

class BoardAccessible : public QAccessibleWidget {
  public:
    explicit BoardAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Pane) {
        for (int i = 0; i < kParts; ++i) {
            auto* part = new BoardPart(this, i);
            QAccessible::registerAccessibleInterface(part);
            parts_.push_back(part);
        }
    }
    ~BoardAccessible() override {
        for (BoardPart* part : parts_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(part));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("盤");
        return QAccessibleWidget::text(t);
    }
    // The drawn parts first, then the widgets that lie on the board (the story panel).
    int childCount() const override { return kParts + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index >= kParts) return QAccessibleWidget::child(index - kParts);
        return index >= 0 ? parts_[static_cast<std::size_t>(index)] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < kParts; ++i)
            if (parts_[static_cast<std::size_t>(i)] == child) return i;
        const int widget = QAccessibleWidget::indexOfChild(child);
        return widget < 0 ? -1 : kParts + widget;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (QAccessibleInterface* on = QAccessibleWidget::childAt(x, y)) return on;
        for (int i = kParts; i-- > 0;) {
            BoardPart* part = parts_[static_cast<std::size_t>(i)];
            if (!(part->state().invisible) && part->rect().contains(x, y)) return part;
        }
        return nullptr;
    }
    BoardView* board() const { return static_cast<BoardView*>(widget()); }

    // Tells the bus what changed since the last time.
    void Sync() {
        if (said_.empty()) said_.resize(kParts);
        for (int i = 0; i < kParts; ++i) {
            BoardPart* part = parts_[static_cast<std::size_t>(i)];
            Said now{part->text(QAccessible::Name), part->state()};
            Said& was = said_[static_cast<std::size_t>(i)];
            if ((i == kMessage || i == kHint) && now.name != was.name) {
                QAccessibleTextUpdateEvent update(part, 0, was.name, now.name);
                QAccessible::updateAccessibility(&update);
            }
            if (now.name != was.name) {
                QAccessibleEvent changed(part, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&changed);
            }
            if (now.state.invisible != was.state.invisible ||
                now.state.disabled != was.state.disabled) {
                QAccessible::State which;
                which.invisible = now.state.invisible != was.state.invisible;
                which.disabled = now.state.disabled != was.state.disabled;
                QAccessibleStateChangeEvent changed(part, which);
                QAccessible::updateAccessibility(&changed);
            }
            was = now;
        }
    }

  private:
    struct Said {
        QString name;
        QAccessible::State state;
    };
    std::vector<BoardPart*> parts_;
    std::vector<Said> said_;
};

bool BoardPart::isValid() const {
    return board_ && board_->isValid();
}

QWindow* BoardPart::window() const {
    return board_->window();
}

QAccessibleInterface* BoardPart::parent() const {
    return board_;
}

BoardView* BoardPart::Board() const {
    return board_->board();
}

QString BoardPart::Current() const {
    const Form3& f = Board()->model();
    return part_ == kMessage ? Plain(f.Label1.Caption) : Plain(f.Label9.Caption);
}

QString BoardPart::text(QAccessible::Text t) const {
    const Form3& f = Board()->model();
    if (t == QAccessible::Description && part_ == kAdditions) {
        // The plans and the turn's order, in words.
        const BoardAdditions& a = Board()->additions();
        QStringList lines;
        for (const Intent& in : a.intents)
            lines << QStringLiteral("%1→%2%3").arg(
                Plain(f.Label2[in.enemy].Caption), Plain(f.Label2[in.target].Caption),
                in.heals ? QStringLiteral("（回復）") : QString());
        return lines.join(QStringLiteral("、"));
    }
    if (t != QAccessible::Name) return QString();
    if (part_ == kMessage || part_ == kHint) return Current();
    if (part_ >= kFirstRow && part_ < kFirstRow + 10) {
        const int slot = part_ - kFirstRow;
        const QString side = slot < 5 ? QStringLiteral("味方%1").arg(slot + 1)
                                      : QStringLiteral("相手%1").arg(slot - 4);
        const QString name = Plain(f.Label2[slot].Caption);
        if (name.isEmpty()) return side + QStringLiteral("　空き");
        return side + QStringLiteral("　") + name + QStringLiteral("　") +
               Plain(f.Label3[slot].Caption);
    }
    if (IsButton()) return ToMenuText(f.Command1[part_ - kFirstButton].Caption);
    return QStringLiteral("戦いの補助表示");
}

QRect BoardPart::rect() const {
    BoardView* board = Board();
    const Form3& f = board->model();
    const double z = board->zoom();
    QRect r;
    if (part_ == kMessage)
        r = ToRect(f.Label1.r, z);
    else if (part_ == kHint)
        r = ToRect(f.Label9.r, z);
    else if (IsButton())
        r = ToRect(f.Command1[part_ - kFirstButton].r, z);
    else if (part_ == kAdditions)
        r = board->rect();
    else {
        const int slot = part_ - kFirstRow;
        r = ToRect(f.Label2[slot].r, z).united(ToRect(f.Label3[slot].r, z));
    }
    return QRect(board->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::Role BoardPart::role() const {
    if (IsButton()) return QAccessible::Button;
    if (part_ >= kFirstRow && part_ < kFirstRow + 10) return QAccessible::ListItem;
    return QAccessible::StaticText;
}

QAccessible::State BoardPart::state() const {
    QAccessible::State s;
    const Form3& f = Board()->model();
    bool shown = true;
    if (part_ == kMessage)
        shown = f.Label1.Visible;
    else if (part_ == kHint)
        shown = f.Label9.Visible;
    else if (part_ == kAdditions)
        shown = Board()->additions().shown;
    else if (IsButton()) {
        const Button& b = f.Command1[part_ - kFirstButton];
        shown = b.Visible && !b.Caption.empty();
        s.disabled = !b.Enabled;
        s.focusable = false;
    }
    // The story panel covers the whole board while it shows.
    s.invisible = !shown || !Board()->isVisible() || f.Picture2.Visible;
    s.readOnly = true;
    return s;
}

void BoardPart::doAction(const QString& name) {
    if (!IsButton() || name != pressAction() || !Board()->onClick) return;
    // After the reader's request is answered: the click may open a dialog that waits.
    BoardView* board = Board();
    const int index = part_ - kFirstButton;
    QMetaObject::invokeMethod(
        board, [board, index] { board->onClick(Control::Command1, index); }, Qt::QueuedConnection);
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* board = dynamic_cast<BoardView*>(object)) return new BoardAccessible(board);
    if (auto* label = dynamic_cast<LabelView*>(object)) return new LabelAccessible(label);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void SyncBoardAccessibility(QWidget* board) {
    if (!QAccessible::isActive()) return;
    if (auto* iface = dynamic_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(board)))
        iface->Sync();
}

} // namespace vern::qt
