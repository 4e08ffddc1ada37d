// The history and the key list over the window, in the game's own font.
#include "overlay.h"

#include <QEvent>
#include <QLabel>
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
    history_ = new QPlainTextEdit(this);
    history_->setObjectName(QStringLiteral("History"));
    history_->setReadOnly(true);
    history_->setFocusPolicy(Qt::NoFocus);
    history_->setFrameShape(QFrame::NoFrame);
    history_->setTextInteractionFlags(Qt::NoTextInteraction);
    history_->viewport()->installEventFilter(this);
    QPalette palette = history_->palette();
    palette.setColor(QPalette::Base, QColor(0, 0, 0, 0));
    palette.setColor(QPalette::Text, Qt::white);
    history_->setPalette(palette);
    help_ = new QLabel(this);
    help_->setObjectName(QStringLiteral("Help"));
    help_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help_->setStyleSheet(QStringLiteral("color: white;"));
    help_->setAttribute(Qt::WA_TransparentForMouseEvents);
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
        const bool grown = ui.history.size() != historyCount_ ||
                           (!ui.history.empty() && ui.history.back() != historyBack_);
        if (opening || grown) {
            QString text;
            for (const std::string& entry : ui.history) {
                if (!text.isEmpty()) text += QStringLiteral("\n――――\n");
                text += ToText(entry);
            }
            history_->setPlainText(text);
            historyCount_ = ui.history.size();
            historyBack_ = ui.history.empty() ? std::string() : ui.history.back();
        }
        // Opened at the newest entry.
        if (opening)
            history_->verticalScrollBar()->setValue(history_->verticalScrollBar()->maximum());
    } else {
        help_->setGeometry(inner);
        help_->setFont(ToFont(Font{"ＭＳ Ｐゴシック", 10.5, true}, zoom));
        if (help_->text().isEmpty()) help_->setText(HelpText());
    }
    shown_ = ui.overlay;
    show();
    raise();
}

void OverlayView::ScrollPages(int pages) {
    QScrollBar* bar = history_->verticalScrollBar();
    bar->setValue(bar->value() + pages * bar->pageStep());
}

void OverlayView::ScrollLines(int lines) {
    QScrollBar* bar = history_->verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

void OverlayView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(8, 8, 32, 246));
}

void OverlayView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit clicked();
}

bool OverlayView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == history_->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit clicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vern::qt
