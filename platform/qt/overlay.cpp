// The history and the key list over the window, in the game's own font.
#include "overlay.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "catalogue/content.h"
#include "render.h"

namespace vern::qt {

namespace {

QString HelpText() {
    const ContentFile* file = Content("help.txt");
    const ContentEntry* e = file ? file->Find("keys") : nullptr;
    return e ? ToText(e->Text()) : QString();
}

} // namespace

OverlayView::OverlayView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Overlay"));
    // The history and the key list: white text on the dark panel, scrolled by the window's keys
    // and the wheel, never edited.
    const auto page = [this](const char* name) {
        auto* text = new QPlainTextEdit(this);
        text->setObjectName(QString::fromLatin1(name));
        text->setReadOnly(true);
        text->setFocusPolicy(Qt::NoFocus);
        text->setFrameShape(QFrame::NoFrame);
        text->setTextInteractionFlags(Qt::NoTextInteraction);
        text->viewport()->installEventFilter(this);
        QPalette palette = text->palette();
        palette.setColor(QPalette::Base, QColor(0, 0, 0, 0));
        palette.setColor(QPalette::Text, Qt::white);
        text->setPalette(palette);
        return text;
    };
    history_ = page("History");
    history_->setAccessibleName(QStringLiteral("履歴"));
    help_ = page("Help");
    help_->setAccessibleName(QStringLiteral("キー一覧"));
    hide();
}

void OverlayView::Apply(const UiState& ui, QSize area, double zoom) {
    if (ui.overlay == Overlay::None) {
        shown_ = Overlay::None;
        hide();
        return;
    }
    setGeometry(QRect(QPoint(0, 0), area));
    const int margin = Px(120, zoom);
    const QRect inner = rect().adjusted(margin, margin, -margin, -margin);
    const QFont font = ToFont(Font{"ＭＳ Ｐゴシック", 12, true}, zoom);
    history_->setVisible(ui.overlay == Overlay::History);
    help_->setVisible(ui.overlay == Overlay::Help);
    if (ui.overlay == Overlay::History) {
        history_->setGeometry(inner);
        history_->setFont(font);
        const bool opening = shown_ != Overlay::History;
        if (opening || ui.historyAdded != historyAdded_) {
            // The pages that only show a title are left out; the answers given stand under
            // their question.
            QString text;
            for (const HistoryLine& entry : ui.history) {
                if (entry.kind == HistoryKind::Title) continue;
                if (!text.isEmpty())
                    text += entry.kind == HistoryKind::Answer ? QStringLiteral("\n")
                                                              : QStringLiteral("\n――――\n");
                text += ToText(entry.text);
            }
            history_->setPlainText(text);
            historyAdded_ = ui.historyAdded;
        }
        // Opened at the newest entry.
        if (opening)
            history_->verticalScrollBar()->setValue(history_->verticalScrollBar()->maximum());
    } else {
        help_->setGeometry(inner);
        help_->setFont(PanelFont(zoom));
        if (help_->toPlainText().isEmpty()) help_->setPlainText(HelpText());
        if (shown_ != Overlay::Help) help_->verticalScrollBar()->setValue(0);
    }
    shown_ = ui.overlay;
    show();
    raise();
}

void OverlayView::ScrollPages(int pages) {
    QScrollBar* bar = (shown_ == Overlay::Help ? help_ : history_)->verticalScrollBar();
    bar->setValue(bar->value() + pages * bar->pageStep());
}

void OverlayView::ScrollToEnd(bool end) {
    QScrollBar* bar = (shown_ == Overlay::Help ? help_ : history_)->verticalScrollBar();
    bar->setValue(end ? bar->maximum() : bar->minimum());
}

bool OverlayView::AtBottom() const {
    const QScrollBar* bar = (shown_ == Overlay::Help ? help_ : history_)->verticalScrollBar();
    return bar->value() >= bar->maximum();
}

void OverlayView::ScrollLines(int lines) {
    QScrollBar* bar = (shown_ == Overlay::Help ? help_ : history_)->verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

void OverlayView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Opaque: no story text shows through the panel.
    p.fillRect(rect(), QColor(8, 8, 32));
}

void OverlayView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit clicked();
}

bool OverlayView::eventFilter(QObject* watched, QEvent* event) {
    if (history_ && help_ && (watched == history_->viewport() || watched == help_->viewport()) &&
        event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit clicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vern::qt
