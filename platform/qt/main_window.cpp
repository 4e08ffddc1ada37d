// Building Form3's widgets once from the model, forwarding the player's actions to the game and
// copying the model back after each.
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <cstdlib>
#include <exception>
#include <iostream>

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
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    client_->setFixedSize(Px(game_.f.ClientWidth, zoom_), Px(game_.f.ClientHeight, zoom_));
    setCentralWidget(client_);
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
    command2_ = AddButton(picture2_, QStringLiteral("Command2"), Control::Command2, 0);
    command3_ = AddButton(picture2_, QStringLiteral("Command3"), Control::Command3, 0);
    for (int i = 0; i <= 1; ++i)
        command4_.push_back(AddButton(picture2_, Indexed("Command4", i), Control::Command4, i));

    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(game_.f.Timer1.Interval);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::OnTick);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Sync();
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
    const QString title = ToText(f.Caption);
    if (windowTitle() != title) setWindowTitle(title);
    SyncMenus();

    QPalette palette = client_->palette();
    if (palette.color(QPalette::Window) != ToColor(f.BackColor)) {
        palette.setColor(QPalette::Window, ToColor(f.BackColor));
        client_->setPalette(palette);
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
}

} // namespace vern::qt
