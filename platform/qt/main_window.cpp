// Building Form3's widgets once from the model, forwarding the player's actions to the game and
// copying the model back after each.
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "catalogue/wishes.h"
#include "shell/keys.h"

namespace vern::qt {

namespace {

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

void ApplyButton(QPushButton* b, const Button& model, double zoom) {
    b->setGeometry(ToRect(model.r, zoom));
    const QString text = ToMenuText(model.Caption);
    if (b->text() != text) b->setText(text);
    const QFont font = ToFont(model.font, zoom);
    if (b->font() != font) b->setFont(font);
    b->setEnabled(model.Enabled);
    b->setVisible(model.Visible);
}

void ApplyAction(QAction* a, const MenuItem& item) {
    const QString text = ToMenuText(item.Caption);
    if (a->text() != text) a->setText(text);
    a->setEnabled(item.Enabled);
}

// Shown after the window's caption while auto-advance reads the story on.
constexpr const char* kAutoSign = "　［オート］";
constexpr const char* kAutoTip = "オートで読み進めています（A で止める）";

// A fault in the game itself (an index out of range, say): report it and stop, rather than
// let the exception cross Qt's event loop.
[[noreturn]] void Fail(const char* what) {
    std::cerr << "vernadora: internal error: " << what << std::endl;
    std::abort();
}

} // namespace

MainWindow::MainWindow(Game& game, double zoom, QWidget* parent)
    : QMainWindow(parent), game_(game), zoom_(zoom) {
    setObjectName(QStringLiteral("Form3"));
    // The stage fills the window below the menu bar; the client area, the game's own window
    // at the current zoom, sits in its middle and grows and shrinks with it.
    stage_ = new QWidget(this);
    stage_->setObjectName(QStringLiteral("Stage"));
    stage_->setAutoFillBackground(true);
    stage_->setMinimumSize(Px(game_.f.ClientWidth, kMinZoom), Px(game_.f.ClientHeight, kMinZoom));
    stage_->installEventFilter(this);
    setCentralWidget(stage_);
    client_ = new QWidget(stage_);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    client_->setFixedSize(Px(game_.f.ClientWidth, zoom_), Px(game_.f.ClientHeight, zoom_));
    stage_->resize(client_->size());
    BuildMenus();

    // Children are stacked in the order they are made, the first lowest: the lines and shapes
    // of the board, its labels, the hint catcher Label9 over them, then the buttons and the
    // picture boxes, and last the story panel that covers everything while it shows.
    line1_ = new LineView(client_);
    line1_->setObjectName(QStringLiteral("Line1"));
    for (int i = 0; i <= 9; ++i) {
        shape1_.push_back(new ShapeView(client_));
        shape1_.back()->setObjectName(Indexed("Shape1", i));
    }
    for (int i = 0; i <= 4; ++i) {
        line2_.push_back(new LineView(client_));
        line2_.back()->setObjectName(Indexed("Line2", i));
    }
    for (int i = 0; i <= 4; ++i) {
        label6_.push_back(new LabelView(client_));
        label6_.back()->setObjectName(Indexed("Label6", i));
    }
    for (int i = 0; i <= 9; ++i) {
        label2_.push_back(AddLabel(client_, Indexed("Label2", i), Control::Label2, i));
        label3_.push_back(AddLabel(client_, Indexed("Label3", i), Control::Label3, i));
        label4_.push_back(AddLabel(client_, Indexed("Label4", i), Control::Label4, i));
    }
    for (int i = 0; i <= 9; ++i) {
        // The knock-down cross has no click of its own: the marker under it takes the click.
        label5_.push_back(new LabelView(client_));
        label5_.back()->setObjectName(Indexed("Label5", i));
        label5_.back()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (int i = 0; i <= 9; ++i)
        label8_.push_back(AddLabel(client_, Indexed("Label8", i), Control::Label8, i));
    label1_ = new LabelView(client_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label9_ = AddLabel(client_, QStringLiteral("Label9"), Control::Label9, 0);
    for (int i = 0; i <= 3; ++i)
        command1_.push_back(AddButton(client_, Indexed("Command1", i), Control::Command1, i));
    picture1_ = new PictureView(client_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    connect(picture1_, &PictureView::clicked, this, [this] { OnClick(Control::Picture1, 0); });

    picture2_ = new PictureView(client_);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    image5_ = new PictureView(picture2_);
    image5_->setObjectName(QStringLiteral("Image5"));
    image5_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label7_ = new LabelView(picture2_);
    label7_->setObjectName(QStringLiteral("Label7"));
    picture3_ = new PictureView(picture2_);
    picture3_->setObjectName(QStringLiteral("Picture3"));
    // A click anywhere on the story panel reads on, like ≫.
    connect(picture2_, &PictureView::clicked, this, [this] { OnClick(Control::Picture2, 0); });
    connect(picture3_, &PictureView::clicked, this, [this] { OnClick(Control::Picture2, 0); });
    connect(label7_, &LabelView::clicked, this, [this] { OnClick(Control::Label7, 0); });
    command2_ = AddButton(picture2_, QStringLiteral("Command2"), Control::Command2, 0);
    command3_ = AddButton(picture2_, QStringLiteral("Command3"), Control::Command3, 0);
    for (int i = 0; i <= 1; ++i)
        command4_.push_back(AddButton(picture2_, Indexed("Command4", i), Control::Command4, i));

    // Over everything: the keyboard focus on the board, then the panels for the player.
    focusFrame_ = new QFrame(client_);
    focusFrame_->setObjectName(QStringLiteral("BoardFocus"));
    focusFrame_->setStyleSheet(
        QStringLiteral("#BoardFocus { border: 2px dashed #E0A000; background: transparent; }"));
    focusFrame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    focusFrame_->hide();
    overlay_ = new OverlayView(client_);
    connect(overlay_, &OverlayView::clicked, this,
            [this] { Handle([&] { KeyDown(game_, "Escape"); }); });
    setFocusPolicy(Qt::StrongFocus);

    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(game_.f.Timer1.Interval);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::OnTick);

    fastForwardDelay_.setSingleShot(true);
    fastForwardDelay_.setInterval(kHoldMs);
    connect(&fastForwardDelay_, &QTimer::timeout, this,
            [this] { Handle([&] { KeyDown(game_, heldControl_); }); });
    Sync();
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
}

double MainWindow::FitZoom(QSize area) const {
    const double w = area.width() * 15.0 / game_.f.ClientWidth;
    const double h = area.height() * 15.0 / game_.f.ClientHeight;
    return std::max(kMinZoom, std::min(w, h));
}

void MainWindow::SetZoom(double zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    client_->setFixedSize(Px(game_.f.ClientWidth, zoom_), Px(game_.f.ClientHeight, zoom_));
    const QFont menuFont = ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, zoom_);
    for (QWidget* w : {static_cast<QWidget*>(menuBar()), static_cast<QWidget*>(wishMenu_),
                       static_cast<QWidget*>(fileMenu_)})
        w->setFont(menuFont);
    // Message boxes and the name dialog take the application's font.
    QApplication::setFont(menuFont);
    Centre();
    Sync();
    emit zoomChanged(zoom_);
}

void MainWindow::ZoomTo(double zoom) {
    const QSize screen = this->screen() ? this->screen()->availableGeometry().size() : QSize();
    const int bar = menuBar()->sizeHint().height();
    // Never larger than the screen can show whole (the frame takes a little more).
    if (screen.isValid()) zoom = std::min(zoom, FitZoom(screen - QSize(16, bar + 48)));
    zoom = std::max(kMinZoom, zoom);
    SetZoom(zoom);
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
}

void MainWindow::Centre() {
    client_->move((stage_->width() - client_->width()) / 2,
                  (stage_->height() - client_->height()) / 2);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stage_ && event->type() == QEvent::Resize) {
        // A zoom whose client area already fills the stage to the pixel stays as it is.
        const double fit = FitZoom(stage_->size());
        const auto size = [this](double z) {
            return QSize(Px(game_.f.ClientWidth, z), Px(game_.f.ClientHeight, z));
        };
        if (size(fit) != size(zoom_)) SetZoom(fit);
        Centre();
    }
    return QMainWindow::eventFilter(watched, event);
}

LabelView* MainWindow::AddLabel(QWidget* parent, const QString& name, Control c, int index) {
    auto* label = new LabelView(parent);
    label->setObjectName(name);
    connect(label, &LabelView::clicked, this, [this, c, index] { OnClick(c, index); });
    return label;
}

QPushButton* MainWindow::AddButton(QWidget* parent, const QString& name, Control c, int index) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, c, index] { OnClick(c, index); });
    return button;
}

void MainWindow::BuildMenus() {
    const QFont menuFont = ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, zoom_);
    menuBar()->setFont(menuFont);
    wishMenu_ = menuBar()->addMenu(QString());
    wishMenu_->setObjectName(QStringLiteral("願い一覧"));
    wishMenu_->setFont(menuFont);
    for (int i = 0; i <= 12; ++i) {
        QAction* a = wishMenu_->addAction(QString());
        a->setObjectName(Indexed("願い", i));
        connect(a, &QAction::triggered, this, [this, i] { OnMenu(MenuCommand::願い, i); });
        wishes_.push_back(a);
    }
    fileMenu_ = menuBar()->addMenu(QString());
    fileMenu_->setObjectName(QStringLiteral("ファイル"));
    fileMenu_->setFont(menuFont);
    const auto add = [this](const char* name, MenuCommand m) {
        QAction* a = fileMenu_->addAction(QString());
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, [this, m] { OnMenu(m, 0); });
        return a;
    };
    save_ = add("セーブ", MenuCommand::セーブ);
    load_ = add("ロード", MenuCommand::ロード);
    restart_ = add("始めから", MenuCommand::始めから);
    quit_ = add("ゲームの終了", MenuCommand::ゲームの終了);
}

void MainWindow::StartTimer() {
    timer_.start();
}

template <typename F> void MainWindow::Handle(F&& event) {
    try {
        event();
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    // An event dropped behind a dialog leaves the screen to the event that is running.
    if (game_.busy) return;
    Sync();
    if (game_.ended) {
        timer_.stop();
        close();
        emit ended();
    }
}

void MainWindow::OnClick(Control c, int index) {
    Handle([&] { Click(game_, c, index); });
}

void MainWindow::OnMenu(MenuCommand m, int index) {
    Handle([&] { Menu(game_, m, index); });
}

void MainWindow::OnTick() {
    Handle([&] { Tick(game_); });
}

void MainWindow::SyncComforts() {
    const UiState& ui = game_.ui;
    overlay_->Apply(ui, client_->size(), zoom_);
    menuBar()->setEnabled(ui.overlay == Overlay::None);

    // The pointer says where a click picks a unit; the wish glyph names its wish.
    const bool picks = BoardPicks(game_);
    const Qt::CursorShape shape = picks ? Qt::PointingHandCursor : Qt::ArrowCursor;
    for (int i = 0; i <= 9; ++i) {
        for (QWidget* w : {static_cast<QWidget*>(label2_[i]), static_cast<QWidget*>(label3_[i]),
                           static_cast<QWidget*>(label4_[i]), static_cast<QWidget*>(label8_[i])})
            if (w->cursor().shape() != shape) w->setCursor(shape);
        const QString tip =
            game_.f.Label4[i].Caption.empty() ? QString() : ToText(WishName(game_.s.UnitWish[i]));
        if (label4_[i]->toolTip() != tip) label4_[i]->setToolTip(tip);
    }
    if (picks && ui.focus >= 0 && ui.focus <= 9) {
        const QRect row = ToRect(game_.f.Label2[ui.focus].r, zoom_)
                              .united(ToRect(game_.f.Label3[ui.focus].r, zoom_))
                              .adjusted(-3, -3, 3, 3);
        focusFrame_->setGeometry(row);
        focusFrame_->show();
        focusFrame_->raise();
        overlay_->raise();
    } else {
        focusFrame_->hide();
    }
    const QString tip = ui.autoAdvance ? QString::fromUtf8(kAutoTip) : QString();
    if (command3_->toolTip() != tip) command3_->setToolTip(tip);
}

std::string MainWindow::KeyName(const QKeyEvent& e) {
    const int k = e.key();
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return std::string(1, static_cast<char>('0' + k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return std::string(1, static_cast<char>('a' + k - Qt::Key_A));
    switch (k) {
    case Qt::Key_Return: return "Return";
    case Qt::Key_Enter: return "KP_Enter";
    case Qt::Key_Space: return "space";
    case Qt::Key_Left: return "Left";
    case Qt::Key_Right: return "Right";
    case Qt::Key_Up: return "Up";
    case Qt::Key_Down: return "Down";
    case Qt::Key_Escape: return "Escape";
    case Qt::Key_PageUp: return "Prior";
    case Qt::Key_PageDown: return "Next";
    case Qt::Key_F1: return "F1";
    case Qt::Key_F10: return "F10";
    case Qt::Key_Backspace: return "BackSpace";
    // X tells the two Control keys apart by their keysym; elsewhere the left one stands in.
    case Qt::Key_Control: return e.nativeVirtualKey() == 0xFFE4 ? "Control_R" : "Control_L";
    default: return "";
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Control with +, - or 0 zooms; Control alone, held, fast-forwards (after a moment, so
    // that a zoom chord does not read the story on).
    if (event->modifiers() & Qt::ControlModifier && event->key() != Qt::Key_Control) {
        fastForwardDelay_.stop();
        const int k = event->key();
        if (k == Qt::Key_Plus || k == Qt::Key_Equal)
            ZoomTo(std::floor(zoom_ * 4 + 1e-9) / 4 + 0.25);
        if (k == Qt::Key_Minus) ZoomTo(std::ceil(zoom_ * 4 - 1e-9) / 4 - 0.25);
        if (k == Qt::Key_0) ZoomTo(1);
        event->accept();
        return;
    }
    const std::string key = KeyName(*event);
    if (key.empty() || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    if (key == "F10") {
        // The menu bar, for the arrows and Return.
        for (QMenu* menu : {wishMenu_, fileMenu_})
            if (menuBar()->isEnabled() && menu->menuAction()->isEnabled()) {
                menuBar()->setActiveAction(menu->menuAction());
                break;
            }
        return;
    }
    // A held key acts once; only reading on and moving repeat.
    const bool repeats = key == "Return" || key == "space" || key == "Right" || key == "Left" ||
                         key == "Up" || key == "Down" || key == "Prior";
    if (event->isAutoRepeat() && !repeats) return;
    if (key == "Control_L" || key == "Control_R") {
        heldControl_ = key;
        fastForwardDelay_.start();
        return;
    }
    if (game_.ui.overlay == Overlay::History) {
        if (key == "Prior") overlay_->ScrollPages(-1);
        if (key == "Up") overlay_->ScrollLines(-1);
        if (key == "Down") overlay_->ScrollLines(1);
    }
    Handle([&] { KeyDown(game_, key); });
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    const std::string key = KeyName(*event);
    if (key.empty() || event->isAutoRepeat()) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // Control let go before it counted as held does nothing.
    if ((key == "Control_L" || key == "Control_R") && fastForwardDelay_.isActive()) {
        fastForwardDelay_.stop();
        return;
    }
    Handle([&] { KeyUp(game_, key); });
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        fastForwardDelay_.stop();
        heldControl_.clear();
        Handle([&] { FocusLost(game_); });
    }
    return QMainWindow::event(event);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheelAngle_ += event->angleDelta().y();
    // Up opens the history (and scrolls it); down reads the story on.
    for (; wheelAngle_ >= 120; wheelAngle_ -= 120) {
        if (game_.ui.overlay == Overlay::History)
            overlay_->ScrollLines(-3);
        else
            Handle([&] { KeyDown(game_, "Prior"); });
    }
    for (; wheelAngle_ <= -120; wheelAngle_ += 120) {
        if (game_.ui.overlay == Overlay::History)
            overlay_->ScrollLines(3);
        else
            Handle([&] { Click(game_, Control::Picture2); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closeReacted_ = false;
    if (!game_.ended) Handle([&] { closeReacted_ = CloseBox(game_); });
    if (game_.ended)
        event->accept();
    else
        event->ignore();
}

void MainWindow::SyncMenus() {
    const Form3& f = game_.f;
    wishMenu_->setTitle(ToMenuText(f.願い一覧.Caption));
    wishMenu_->menuAction()->setEnabled(f.願い一覧.Enabled);
    for (int i = 0; i <= 12; ++i) ApplyAction(wishes_[i], f.願い[i]);
    fileMenu_->setTitle(ToMenuText(f.ファイル.Caption));
    fileMenu_->menuAction()->setEnabled(f.ファイル.Enabled);
    ApplyAction(save_, f.セーブ);
    ApplyAction(load_, f.ロード);
    ApplyAction(restart_, f.始めから);
    ApplyAction(quit_, f.ゲームの終了);
}

void MainWindow::Sync() {
    const Form3& f = game_.f;
    const double z = zoom_;
    const QString title =
        ToText(f.Caption) + (game_.ui.autoAdvance ? QString::fromUtf8(kAutoSign) : QString());
    if (windowTitle() != title) setWindowTitle(title);
    SyncMenus();

    QPalette palette = client_->palette();
    if (palette.color(QPalette::Window) != ToColor(f.BackColor)) {
        palette.setColor(QPalette::Window, ToColor(f.BackColor));
        client_->setPalette(palette);
        stage_->setPalette(palette);
    }

    line1_->Apply(f.Line1, z);
    for (int i = 0; i <= 9; ++i) {
        shape1_[i]->Apply(f.Shape1[i], z);
        label2_[i]->Apply(f.Label2[i], z);
        label3_[i]->Apply(f.Label3[i], z);
        label4_[i]->Apply(f.Label4[i], z);
        label5_[i]->Apply(f.Label5[i], z);
        label8_[i]->Apply(f.Label8[i], z);
    }
    for (int i = 0; i <= 4; ++i) {
        line2_[i]->Apply(f.Line2[i], z);
        label6_[i]->Apply(f.Label6[i], z);
    }
    label1_->Apply(f.Label1, z);
    label9_->Apply(f.Label9, z);
    for (int i = 0; i <= 3; ++i) ApplyButton(command1_[i], f.Command1[i], z);
    picture1_->Apply(f.Picture1, z);

    picture2_->Apply(f.Picture2, z);
    image5_->Apply(f.Image5, z);
    label7_->Apply(f.Label7, z);
    picture3_->Apply(f.Picture3, z);
    ApplyButton(command2_, f.Command2, z);
    ApplyButton(command3_, f.Command3, z);
    for (int i = 0; i <= 1; ++i) ApplyButton(command4_[i], f.Command4[i], z);

    if (timer_.interval() != f.Timer1.Interval) timer_.setInterval(f.Timer1.Interval);
    SyncComforts();
}

} // namespace vern::qt
