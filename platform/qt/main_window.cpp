// Building Form3's widgets once from the model, forwarding the player's actions to the game and
// copying the model back after each.
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStandardPaths>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>
#include <iostream>

#include "accessible.h"
#include "audio_player.h"
#include "battle/preview.h"
#include "catalogue/wishes.h"
#include "io/cp932.h"
#include "record_window.h"
#include "settings.h"
#include "settings_window.h"
#include "shell/keys.h"
#include "shell/reading.h"

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

// The keys that act while held (fast-forward, the battle's pace): they count as held after a
// moment, so that a chord (Control with +, Shift with a letter) does not start them.
bool HoldKey(const std::string& key) {
    return key == "Control_L" || key == "Control_R" || key == "Shift_L" || key == "Shift_R";
}

// The largest quarter step at or below a zoom (a hair below a step counts as the step).
double FloorQuarter(double zoom) {
    return std::floor(zoom * 4 + 1e-9) / 4;
}

// The menus' font, which message boxes and the name dialog share, at a zoom.
QFont MenuFont(double zoom) {
    return ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, zoom);
}

// The text speeds of the settings window, in characters a second (0: at once).
constexpr std::array<int, 4> kTextSpeeds{0, 12, 25, 50};

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
    InstallAccessibility();
    // Message boxes and the name dialog take the application's font, at the window's zoom.
    QApplication::setFont(MenuFont(zoom_));
    // The stage fills the window below the menu bar; the client area, the game's own window
    // at the current zoom, sits in its middle and grows and shrinks with it.
    stage_ = new QWidget(this);
    stage_->setObjectName(QStringLiteral("Stage"));
    stage_->setAutoFillBackground(true);
    stage_->setMinimumSize(Px(game_.f.ClientWidth, kMinZoom), Px(game_.f.ClientHeight, kMinZoom));
    stage_->installEventFilter(this);
    setCentralWidget(stage_);
    // The board is drawn in the client area itself; the command buttons lie on it, and the
    // story panel, made the first time it shows, covers everything while it shows.
    client_ = new BoardView(stage_);
    client_->setFixedSize(Px(game_.f.ClientWidth, zoom_), Px(game_.f.ClientHeight, zoom_));
    client_->onClick = [this](Control c, int index) { OnClick(c, index); };
    client_->onHoverSlot = [this] { SyncComforts(); };
    // The menus and then the sound come after the first paint: nothing delays it.
    audio_ = new AudioPlayer(
        QDir(QString::fromStdString(game_.svc.AppPath())).filePath(QStringLiteral("audio")), this);
    client_->afterFirstPaint = [this] {
        QTimer::singleShot(0, this, [this] {
            EnsureMenus();
            emit firstPainted();
            QTimer::singleShot(0, this, [this] { audio_->Start(); });
        });
    };
    stage_->resize(client_->size());
    BuildActions();
    BuildMenus();
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] {
        if (notice_) notice_->hide();
    });
    setFocusPolicy(Qt::StrongFocus);

    // The zoom keys: the desktop's own sequences and ours, each once, since an action that
    // lists a press twice finds it ambiguous and does nothing. Ours are = for + without Shift;
    // where + needs Shift, the desktop delivers Ctrl+Shift+= as Ctrl++ as well, so Ctrl++
    // stands for that press and Ctrl+Shift+= must not be listed besides.
    const auto zoomAction = [this](QList<QKeySequence> keys, QKeySequence ours, auto run) {
        if (!keys.contains(ours)) keys.append(ours);
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    };
    zoomAction(QKeySequence::keyBindings(QKeySequence::ZoomIn),
               QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { ZoomStep(1); });
    zoomAction(QKeySequence::keyBindings(QKeySequence::ZoomOut),
               QKeySequence(Qt::CTRL | Qt::Key_Underscore), [this] { ZoomStep(-1); });
    zoomAction({}, QKeySequence(Qt::CTRL | Qt::Key_0), [this] { ZoomTo(1); });

    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(game_.f.Timer1.Interval);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::OnTick);

    // The typing of the story text goes on at the screen's pace, by the clock.
    typingTimer_.setInterval(20);
    connect(&typingTimer_, &QTimer::timeout, this, [this] {
        const int ms = static_cast<int>(typingClock_.restart());
        if (!game_.busy) Elapse(game_, ms);
        Sync();
    });

    fastForwardDelay_.setSingleShot(true);
    fastForwardDelay_.setInterval(kHoldMs);
    connect(&fastForwardDelay_, &QTimer::timeout, this,
            [this] { Handle([&] { KeyDown(game_, heldControl_); }); });
    Sync();
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::MakeStoryPanel() {
    if (picture2_) return;
    picture2_ = new PictureView(client_);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setAccessibleName(QStringLiteral("物語"));
    image5_ = new PictureView(picture2_);
    image5_->setObjectName(QStringLiteral("Image5"));
    image5_->setAttribute(Qt::WA_TransparentForMouseEvents);
    image5_->setAccessibleName(QStringLiteral("場面の絵"));
    label7_ = new LabelView(picture2_);
    label7_->setObjectName(QStringLiteral("Label7"));
    picture3_ = new PictureView(picture2_);
    picture3_->setObjectName(QStringLiteral("Picture3"));
    picture3_->setAccessibleName(QStringLiteral("人物の絵"));
    // A click anywhere on the story panel reads on, like ≫.
    connect(picture2_, &PictureView::clicked, this, [this] { OnClick(Control::Picture2, 0); });
    connect(picture3_, &PictureView::clicked, this, [this] { OnClick(Control::Picture2, 0); });
    connect(label7_, &LabelView::clicked, this, [this] { OnClick(Control::Label7, 0); });
    command2_ = AddButton(picture2_, QStringLiteral("Command2"), Control::Command2, 0);
    command3_ = AddButton(picture2_, QStringLiteral("Command3"), Control::Command3, 0);
    for (int i = 0; i <= 1; ++i)
        command4_.push_back(AddButton(picture2_, Indexed("Command4", i), Control::Command4, i));
    // The mark of what runs and the system buttons, in the band under the text.
    storyMark_ = new QLabel(picture2_);
    storyMark_->setObjectName(QStringLiteral("StoryMark"));
    storyMark_->setAccessibleDescription(QStringLiteral("オート・スキップの印"));
    storyMark_->setAttribute(Qt::WA_TransparentForMouseEvents);
    storyMark_->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(0, 70, 0); color: white; padding: 0px 4px; }"));
    storyMark_->hide();
    const std::array<const char*, 4> names{"SystemAuto", "SystemSkip", "SystemHistory",
                                           "SystemBack"};
    const std::array<const char*, 4> captions{"オート", "スキップ", "履歴", "戻る"};
    for (std::size_t i = 0; i < systemButtons_.size(); ++i) {
        auto* button = new FaceButton(QString::fromUtf8(captions[i]), picture2_);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setFocusPolicy(Qt::NoFocus);
        button->setCheckable(i < 2);
        button->setAccessibleName(QString::fromUtf8(captions[i]));
        connect(button, &QPushButton::clicked, this, [this, i] {
            Handle([&] {
                switch (i) {
                case 0: ToggleAuto(game_); break;
                case 1: ToggleSkip(game_); break;
                case 2: KeyDown(game_, "Prior"); break;
                default: StepBack(game_); break;
                }
            });
        });
        systemButtons_[i] = button;
    }
    // A right click on the story panel hides the text to show the picture whole.
    for (QWidget* w : {static_cast<QWidget*>(picture2_), static_cast<QWidget*>(label7_),
                       static_cast<QWidget*>(picture3_)})
        w->installEventFilter(this);
    if (overlay_) overlay_->raise();
}

double MainWindow::ScreenFit() const {
    const QSize screen = this->screen() ? this->screen()->availableGeometry().size() : QSize();
    if (!screen.isValid()) return kMaxZoom;
    return FitZoom(screen - kFrameRoom - QSize(0, menuBar()->sizeHint().height()));
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
    const QFont menuFont = MenuFont(zoom_);
    menuBar()->setFont(menuFont);
    for (QMenu* menu : {wishMenu_, fileMenu_, systemMenu_})
        if (menu) menu->setFont(menuFont);
    if (settingsWindow_) {
        settingsWindow_->SetZoom(zoom_);
        settingsWindow_->Refresh();
    }
    if (recordWindow_) recordWindow_->SetZoom(zoom_);
    // Message boxes and the name dialog take the application's font.
    QApplication::setFont(menuFont);
    Centre();
    Sync();
    emit zoomChanged(zoom_);
}

void MainWindow::ZoomStep(int quarters) {
    // Steps land on exact quarters, also from a zoom that fitting left a hair off one.
    const double q = zoom_ * 4;
    const double base = quarters > 0 ? std::floor(q + 0.05) : std::ceil(q - 0.05);
    ZoomTo((base + quarters) / 4);
}

void MainWindow::ZoomTo(double zoom) {
    // Full screen and a maximized window are the board's whatever the zoom: it fills them. A
    // zoom there would resize the window, which the desktop answers by taking it out of full
    // screen or maximized, to a corner, while the setting still said full screen.
    if (Filled()) return;
    // Never larger than the screen can show whole: then the largest quarter step that fits.
    const double fit = ScreenFit();
    if (zoom > fit) zoom = FloorQuarter(fit);
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    SetZoom(zoom);
    // The window's smallest size still counts the menu bar at the old zoom until its layout is
    // done again: without this a smaller zoom would leave a band of the old bar's height over.
    // Meanwhile the stage passes through a size of no meaning, which must not refit the zoom.
    {
        const QScopedValueRollback<bool> relayout(relayingOut_, true);
        layout()->activate();
    }
    resize(client_->width(), client_->height() + menuBar()->sizeHint().height());
}

void MainWindow::Centre() {
    client_->move((stage_->width() - client_->width()) / 2,
                  (stage_->height() - client_->height()) / 2);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (picture2_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        (watched == picture2_ || watched == label7_ || watched == picture3_)) {
        Handle([&] {
            if (!ShowStoryText(game_)) HideStoryText(game_);
        });
        return true;
    }
    if ((watched == wishMenu_ || watched == fileMenu_ || watched == systemMenu_) && wishMenu_ &&
        event->type() == QEvent::KeyPress) {
        const std::string key = KeyName(*static_cast<QKeyEvent*>(event));
        if (key == "F1" || key == "Prior") {
            CloseMenus();
            Handle([&] { KeyDown(game_, key); });
            return true;
        }
    }
    if (watched == stage_ && event->type() == QEvent::Resize) {
        // A zoom whose client area already fills the stage to the pixel stays as it is; a
        // quarter step that fills it as well as the exact fit is taken instead of the fit, so
        // that the zoom keys and a remembered zoom stay on their steps.
        const double fit = FitZoom(stage_->size());
        const auto size = [this](double z) {
            return QSize(Px(game_.f.ClientWidth, z), Px(game_.f.ClientHeight, z));
        };
        const double quarter = std::round(fit * 4) / 4;
        const QSize exact = size(fit), stepped = size(quarter);
        double z = fit;
        if (quarter >= kMinZoom && stepped.width() <= stage_->width() &&
            stepped.height() <= stage_->height() && exact.width() - stepped.width() <= 1 &&
            exact.height() - stepped.height() <= 1)
            z = quarter;
        // (The stage's passing size while a zoom change lays the window out changes nothing.)
        if (!relayingOut_ && (size(z) != size(zoom_) || (z == quarter && z != zoom_))) SetZoom(z);
        Centre();
    }
    return QMainWindow::eventFilter(watched, event);
}

QPushButton* MainWindow::AddButton(QWidget* parent, const QString& name, Control c, int index) {
    auto* button = new FaceButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, c, index] { OnClick(c, index); });
    return button;
}

void MainWindow::BuildMenus() {
    // The menu bar shows its titles from the first paint on; the menus behind them are made
    // just after it (or at once when something needs them), since nothing opens them sooner.
    // The game's two menus come first, as the game has them; システム after them is the
    // player's own.
    // The bar is made whole before it joins the window: each change to a bar in a window lays
    // it out anew, measuring every title.
    // The bar stays in the window on every desktop: a desktop whose panel shows the programs'
    // menus (a global menu) would otherwise take it out of the window, which is made to show
    // it above the board at the window's zoom. Not offering it also spares the start a question
    // over the session bus, and a wait of up to 25 s when the panel's service does not answer.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    auto* bar = new QMenuBar;
    bar->setFont(MenuFont(zoom_));
    for (QAction** title : {&wishTitle_, &fileTitle_, &systemTitle_}) {
        *title = bar->addAction(QString());
        connect(*title, &QAction::triggered, this, [this, title] {
            EnsureMenus();
            QMenu* menu = title == &wishTitle_   ? wishMenu_
                          : title == &fileTitle_ ? fileMenu_
                                                 : systemMenu_;
            menuBar()->setActiveAction(menu->menuAction());
        });
    }
    ApplyAction(wishTitle_, game_.f.願い一覧);
    ApplyAction(fileTitle_, game_.f.ファイル);
    systemTitle_->setText(QStringLiteral("システム"));
    setMenuBar(bar);
}

void MainWindow::BuildActions() {
    // The keys of the システム menu work from the start, before the menu itself is made.
    recordsAction_ = new QAction(QStringLiteral("記録…"), this);
    recordsAction_->setObjectName(QStringLiteral("記録"));
    recordsAction_->setShortcut(QKeySequence(Qt::Key_F2));
    connect(recordsAction_, &QAction::triggered, this, &MainWindow::ShowRecords);
    settingsAction_ = new QAction(QStringLiteral("設定…"), this);
    settingsAction_->setObjectName(QStringLiteral("設定"));
    settingsAction_->setShortcut(QKeySequence(Qt::Key_F3));
    connect(settingsAction_, &QAction::triggered, this, &MainWindow::ShowSettings);
    fullscreenAction_ = new QAction(QStringLiteral("全画面"), this);
    fullscreenAction_->setObjectName(QStringLiteral("全画面"));
    fullscreenAction_->setCheckable(true);
    fullscreenAction_->setShortcuts({QKeySequence(Qt::Key_F11),
                                     QKeySequence(Qt::ALT | Qt::Key_Return),
                                     QKeySequence(Qt::ALT | Qt::Key_Enter)});
    connect(fullscreenAction_, &QAction::triggered, this,
            [this] { SetFullscreen(!isFullScreen()); });
    helpAction_ = new QAction(QStringLiteral("キー一覧"), this);
    helpAction_->setObjectName(QStringLiteral("キー一覧"));
    helpAction_->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpAction_, &QAction::triggered, this,
            [this] { Handle([&] { KeyDown(game_, "F1"); }); });
    for (QAction* a : {recordsAction_, settingsAction_, fullscreenAction_, helpAction_}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
}

void MainWindow::EnsureMenus() {
    if (wishMenu_) return;
    const QFont menuFont = MenuFont(zoom_);
    wishMenu_ = new QMenu(this);
    wishMenu_->setObjectName(QStringLiteral("願い一覧"));
    wishMenu_->setFont(menuFont);
    for (int i = 0; i <= 12; ++i) {
        QAction* a = wishMenu_->addAction(QString());
        a->setObjectName(Indexed("願い", i));
        connect(a, &QAction::triggered, this, [this, i] { OnMenu(MenuCommand::願い, i); });
        wishes_.push_back(a);
    }
    fileMenu_ = new QMenu(this);
    fileMenu_->setObjectName(QStringLiteral("ファイル"));
    // A panel key pressed in an open menu closes the menu and opens the panel.
    wishMenu_->installEventFilter(this);
    fileMenu_->installEventFilter(this);

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
    systemMenu_ = new QMenu(QStringLiteral("システム"), this);
    systemMenu_->setObjectName(QStringLiteral("システム"));
    systemMenu_->setFont(menuFont);
    systemMenu_->installEventFilter(this);
    systemMenu_->addAction(recordsAction_);
    systemMenu_->addAction(settingsAction_);
    systemMenu_->addAction(fullscreenAction_);
    systemMenu_->addAction(helpAction_);
    // The menus take the places of the titles that stood for them.
    menuBar()->insertMenu(wishTitle_, wishMenu_);
    menuBar()->insertMenu(fileTitle_, fileMenu_);
    menuBar()->insertMenu(systemTitle_, systemMenu_);
    for (QAction* title : {wishTitle_, fileTitle_, systemTitle_}) {
        menuBar()->removeAction(title);
        title->deleteLater();
    }
    wishTitle_ = fileTitle_ = systemTitle_ = nullptr;
    SyncMenus();
}

void MainWindow::CloseMenus() {
    for (int guard = 0; guard < 8; ++guard) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) break;
        popup->close();
    }
    if (menuBar()->activeAction()) menuBar()->setActiveAction(nullptr);
    if (menuBar()->hasFocus()) setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetSettings(PlayerSettings* settings) {
    settings_ = settings;
    game_.ui.battleAdditions = this->settings().Choice("battle_additions", 2, 1) == 1;
    game_.ui.autosave = this->settings().Choice("autosave", 2, 1) == 1;
    ApplyReadingSettings();
    ApplyAudioSettings();
    Sync();
}

PlayerSettings& MainWindow::settings() {
    if (settings_) return *settings_;
    if (!ownSettings_) ownSettings_ = std::make_unique<PlayerSettings>(std::string());
    return *ownSettings_;
}

std::vector<SettingRow> MainWindow::SettingRows() {
    std::vector<SettingRow> rows;
    const QStringList offOn{QStringLiteral("切"), QStringLiteral("入")};
    // The zoom in quarter steps, from half size to the largest the screen shows whole.
    const double largest = std::max(1.0, FloorQuarter(ScreenFit()));
    QStringList zooms;
    for (double z = kMinZoom; z <= largest + 1e-9; z += 0.25)
        zooms << QStringLiteral("%1%").arg(qRound(z * 100));
    // In full screen or maximized the board fills the window at its own zoom: the row shows the
    // nearest step and waits for a window of its own.
    const int lastZoom = static_cast<int>(zooms.size()) - 1;
    rows.push_back(
        {QStringLiteral("zoom"), QStringLiteral("拡大率"), zooms,
         [this, lastZoom] { return std::clamp(qRound((zoom_ - kMinZoom) * 4), 0, lastZoom); },
         [this](int i) { ZoomTo(kMinZoom + i * 0.25); }, [this] { return !Filled(); }});
    rows.push_back({QStringLiteral("fullscreen"), QStringLiteral("全画面"), offOn,
                    [this] { return isFullScreen() ? 1 : 0; },
                    [this](int i) { SetFullscreen(i == 1); }});
    rows.push_back({QStringLiteral("autosave"), QStringLiteral("オートセーブ"), offOn,
                    [this] { return game_.ui.autosave ? 1 : 0; },
                    [this](int i) {
                        game_.ui.autosave = i == 1;
                        settings().SetChoice("autosave", i);
                    }});
    // A row kept in the settings file as the index of its choice; apply puts it to work.
    const auto choiceRow = [this](const char* name, const char* label, QStringList choices,
                                  int fallback, std::function<void()> apply) {
        const std::string key = name;
        const int count = static_cast<int>(choices.size());
        return SettingRow{
            QString::fromLatin1(name), QString::fromUtf8(label), choices,
            [this, key, count, fallback] { return settings().Choice(key, count, fallback); },
            [this, key, apply](int i) {
                settings().SetChoice(key, i);
                apply();
            }};
    };
    // Reading the story.
    const auto readingRow = [this, choiceRow](const char* name, const char* label,
                                              QStringList choices, int fallback) {
        return choiceRow(name, label, std::move(choices), fallback, [this] {
            ApplyReadingSettings();
            Sync();
        });
    };
    rows.push_back(readingRow("text_speed", "文字の速さ",
                              {QStringLiteral("瞬間"), QStringLiteral("遅い"),
                               QStringLiteral("普通"), QStringLiteral("速い")},
                              0));
    rows.push_back(readingRow("auto_speed", "オートの速さ",
                              {QStringLiteral("遅い"), QStringLiteral("普通"),
                               QStringLiteral("速い"), QStringLiteral("とても速い")},
                              1));
    rows.push_back(readingRow("skip_unread", "未読も飛ばす", offOn, 0));
    rows.push_back(readingRow("system_buttons", "システムボタン",
                              {QStringLiteral("非表示"), QStringLiteral("表示")}, 1));
    rows.push_back(readingRow("story_mark", "オート・スキップの印",
                              {QStringLiteral("非表示"), QStringLiteral("表示")}, 1));
    // Music and sound.
    QStringList levels;
    for (int v = 0; v <= 10; ++v) levels << QStringLiteral("%1%").arg(v * 10);
    const auto audioRow = [this, choiceRow](const char* name, const char* label,
                                            QStringList choices, int fallback) {
        return choiceRow(name, label, std::move(choices), fallback,
                         [this] { ApplyAudioSettings(); });
    };
    rows.push_back(audioRow("music_volume", "音楽の音量", levels, 7));
    rows.push_back(audioRow("effects_volume", "効果音の音量", levels, 7));
    rows.push_back(audioRow("mute", "消音（M）", offOn, 0));
    rows.push_back({QStringLiteral("battle_additions"), QStringLiteral("戦いの補助表示"), offOn,
                    [this] { return game_.ui.battleAdditions ? 1 : 0; },
                    [this](int i) {
                        game_.ui.battleAdditions = i == 1;
                        Sync();
                    }});
    return rows;
}

void MainWindow::ShowSettings() {
    CloseMenus();
    if (ClosedByItsOwnKey(settingsWindow_)) return;
    if (!settingsWindow_) {
        settingsWindow_ = new SettingsWindow(
            SettingRows(), [this] { ResetSettings(); }, zoom_, this);
        settingsWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
        GiveKeysBackOnClose(settingsWindow_);
        // The システム keys work in the settings as on the board: F2 opens the records, F3
        // closes the settings again, F11 takes the game in or out of full screen.
        for (QAction* a : {recordsAction_, settingsAction_, fullscreenAction_})
            settingsWindow_->addAction(a);
    }
    settingsWindow_->Refresh();
    ShowOwnWindow(settingsWindow_);
}

void MainWindow::ResetSettings() {
    settings().ResetToDefaults();
    // Out of full screen at 1×, back where the window was before full screen: resized at once,
    // it kept the full screen's place, its title bar above the screen's top.
    const bool wasFull = isFullScreen();
    const QRect normal = normalGeometry();
    SetFullscreen(false);
    ZoomTo(1);
    if (wasFull && normal.isValid()) move(normal.topLeft());
    game_.ui.battleAdditions = true;
    game_.ui.autosave = true;
    ApplyReadingSettings();
    ApplyAudioSettings();
    Sync();
    settings().Changed(*this);
}

void MainWindow::ShowRecords() {
    CloseMenus();
    if (ClosedByItsOwnKey(recordWindow_)) return;
    if (game_.busy || game_.ended) return;
    if (!recordWindow_) {
        recordWindow_ = new RecordWindow(
            game_,
            [this](const std::function<void()>& action) {
                Handle([&] { RunEvent(game_, action); });
            },
            zoom_, this);
        GiveKeysBackOnClose(recordWindow_);
        // F2 closes the records again. The other keys stay with the board: the records hold
        // the game until they close, and a window opened over them could not be used.
        recordWindow_->addAction(recordsAction_);
    }
    recordWindow_->Refresh();
    ShowOwnWindow(recordWindow_);
}

void MainWindow::ShowOwnWindow(QDialog* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

bool MainWindow::ClosedByItsOwnKey(QDialog* window) {
    // The key that opened the window, pressed in it, closes it again.
    if (!window || !window->isVisible() || !window->isActiveWindow()) return false;
    window->close();
    return true;
}

void MainWindow::GiveKeysBackOnClose(QDialog* dialog) {
    // A desktop's window manager hands the keys to the window under one that closes; without
    // one they go to no window at all, and the game's keys would do nothing until a click.
    // (The dialog is already hidden when it says it has finished.)
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog] {
        QWidget* under = dialog->parentWidget();
        if (under && under->isVisible()) under->activateWindow();
    });
}

void MainWindow::WriteRecordPicture(const QString& file) {
    if (file.isEmpty()) return;
    // The board as the record holds it, without the notice over it.
    Sync();
    const bool noticeShown = notice_ && notice_->isVisible();
    if (noticeShown) notice_->hide();
    const QImage board = client_->grab().toImage();
    if (noticeShown) notice_->show();
    const QImage small =
        board.scaledToWidth(RecordWindow::kKeptPictureWidth, Qt::SmoothTransformation);
    // A fresh file of the game's own (never through what is there); a failure only loses the
    // picture, never the record.
    QSaveFile out(file);
    out.setDirectWriteFallback(false);
    if (out.open(QIODevice::WriteOnly) && small.save(&out, "PNG")) out.commit();
}

void MainWindow::SetFullscreen(bool on) {
    if (on == isFullScreen()) return;
    if (on)
        showFullScreen();
    else
        showNormal();
}

void MainWindow::FullscreenChanged() {
    settings().SetFullscreen(isFullScreen());
    Sync();
    if (settingsWindow_) settingsWindow_->Refresh();
}

double MainWindow::FirstZoom(QSize available, int menuBarHeight) {
    double zoom = kMinZoom;
    for (double z = kMinZoom; z <= kMaxZoom; z += 0.25) {
        const int height =
            static_cast<int>(std::lround((5505 / 15.0 + menuBarHeight) * z)); // the bar scales too
        const int width = static_cast<int>(std::lround(6855 * z / 15.0));
        if (3 * height > 2 * available.height() || width > available.width() * 9 / 10) break;
        zoom = z;
    }
    return zoom;
}

QString MainWindow::TakeScreenshot(const QString& folder) {
    QString where = folder;
    if (where.isEmpty()) {
        // The player's pictures folder when there is one; else the game's data folder.
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        const QFileInfo info(pictures);
        where = !pictures.isEmpty() && info.isDir() && info.isWritable()
                    ? pictures
                    : QString::fromStdString(game_.svc.SaveFolder());
    }
    if (where.isEmpty()) return QString();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString file = QDir(where).filePath(QStringLiteral("vernadora-%1.png").arg(stamp));
    for (int n = 2; QFileInfo::exists(file) && n < 100; ++n)
        file = QDir(where).filePath(QStringLiteral("vernadora-%1-%2.png").arg(stamp).arg(n));
    if (notice_) notice_->hide();
    const QImage shot = grab().toImage();
    // Written as a file of the player's own: a fresh file, never through what is there.
    QSaveFile out(file);
    out.setDirectWriteFallback(false);
    if (QFileInfo(file).exists() || !out.open(QIODevice::WriteOnly) || !shot.save(&out, "PNG") ||
        !out.commit()) {
        ShowNotice(QStringLiteral("スクリーンショットを保存できませんでした"));
        return QString();
    }
    ShowNotice(QStringLiteral("スクリーンショット：%1").arg(QFileInfo(file).fileName()));
    return file;
}

void MainWindow::ShowNotice(const QString& text) {
    if (!notice_) {
        notice_ = new QLabel(client_);
        notice_->setObjectName(QStringLiteral("Notice"));
        notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice_->setStyleSheet(QStringLiteral(
            "QLabel { background: rgba(8, 8, 32, 200); color: white; padding: 3px 6px; }"));
    }
    notice_->setFont(ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, zoom_));
    notice_->setText(text);
    notice_->adjustSize();
    notice_->move(client_->width() - notice_->width() - Px(60, zoom_), Px(60, zoom_));
    notice_->show();
    notice_->raise();
    noticeTimer_.start(2500);
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
    if (ui.overlay != Overlay::None && !overlay_) {
        overlay_ = new OverlayView(client_);
        connect(overlay_, &OverlayView::clicked, this,
                [this] { Handle([&] { KeyDown(game_, "Escape"); }); });
    }
    if (overlay_) overlay_->Apply(ui, client_->size(), zoom_);
    // A panel closes any menu first, and the menu bar never keeps the keyboard behind it.
    if (ui.overlay != Overlay::None) CloseMenus();
    menuBar()->setEnabled(ui.overlay == Overlay::None);

    // The pointer says where a click picks a unit; the wish glyph names its wish.
    const bool picks = BoardPicks(game_);
    client_->SetPicking(picks);
    std::vector<QString> tips(10);
    for (int i = 0; i <= 9; ++i)
        if (!game_.f.Label4[i].Caption.empty()) tips[i] = ToText(WishName(game_.s.UnitWish[i]));
    client_->SetWishTips(std::move(tips));
    client_->SetFocusSlot(picks ? ui.focus : -1);

    // The battle additions: the enemies' plans, the turn's order, the phase and a pick foreseen.
    BoardAdditions additions;
    additions.keys = ui.boardKeys;
    additions.shown = ui.battleAdditions && InTurn(game_) && ui.overlay == Overlay::None;
    if (additions.shown) {
        additions.intents = ForecastIntents(game_);
        additions.order = ForecastOrder(game_);
        additions.phase = ForecastPhase(game_);
        const int slot =
            client_->hoveredSlot() >= 0 ? client_->hoveredSlot() : (picks ? ui.focus : -1);
        if (slot >= 0) additions.pick = ForecastPick(game_, slot);
    }
    client_->SetAdditions(std::move(additions));
    // The choice is the player's own and is remembered.
    if (settings().Choice("battle_additions", 2, 1) != (ui.battleAdditions ? 1 : 0)) {
        settings().SetChoice("battle_additions", ui.battleAdditions ? 1 : 0);
        if (settingsWindow_) settingsWindow_->Refresh();
    }
    if (command3_) {
        const QString tip = ui.autoAdvance ? QString::fromUtf8(kAutoTip) : QString();
        if (command3_->toolTip() != tip) command3_->setToolTip(tip);
    }
}

void MainWindow::SyncStoryComforts(double z) {
    const UiState& ui = game_.ui;
    const bool hidden = ui.textHidden || !game_.f.Picture2.Visible;
    // The band under the text, between its bottom edge and the panel's.
    const Rect& text = game_.f.Label7.r;
    const int top = text.Top + text.Height + 20;
    const int height = game_.f.Picture2.r.Height - top - 20;
    const QFont font = ToFont(Font{"ＭＳ Ｐゴシック", 8, false}, z);
    const QString mark = ToText(StoryMark(game_));
    storyMark_->setVisible(storyMarkShown_ && !hidden && !mark.isEmpty());
    if (storyMark_->isVisible()) {
        if (storyMark_->font() != font) storyMark_->setFont(font);
        storyMark_->setText(QStringLiteral("▶ ") + mark);
        storyMark_->adjustSize();
        storyMark_->setGeometry(Px(text.Left, z), Px(top, z), storyMark_->width(), Px(height, z));
    }
    // From the right edge of the text leftwards: 戻る, 履歴, スキップ, オート.
    int right = text.Left + text.Width;
    constexpr int kWidth = 600, kGap = 60;
    for (std::size_t k = systemButtons_.size(); k-- > 0;) {
        QPushButton* b = systemButtons_[k];
        b->setVisible(systemButtonsShown_ && !hidden);
        if (!b->isVisible()) continue;
        if (b->font() != font) b->setFont(font);
        b->setGeometry(Px(right - kWidth, z), Px(top, z), Px(kWidth, z), Px(height, z));
        right -= kWidth + kGap;
    }
    if (!systemButtonsShown_ || hidden) return;
    const bool reads = Clickable(game_, Control::Command2, 0);
    systemButtons_[0]->setEnabled(ui.autoAdvance || reads);
    systemButtons_[0]->setChecked(ui.autoAdvance);
    systemButtons_[1]->setEnabled(game_.s.FastForward == kTrue ||
                                  Clickable(game_, Control::Command3, 0));
    systemButtons_[1]->setChecked(game_.s.FastForward == kTrue);
    systemButtons_[2]->setEnabled(ui.overlay == Overlay::None);
    systemButtons_[3]->setEnabled(!ui.back.empty());
}

void MainWindow::ApplyAudioSettings() {
    PlayerSettings& s = settings();
    audio_->SetVolumes(s.Choice("music_volume", 11, 7) * 10, s.Choice("effects_volume", 11, 7) * 10,
                       s.Choice("mute", 2, 0) == 1);
}

void MainWindow::ToggleMute() {
    const bool muted = settings().Choice("mute", 2, 0) == 0;
    settings().SetChoice("mute", muted ? 1 : 0);
    ApplyAudioSettings();
    if (settingsWindow_) settingsWindow_->Refresh();
    ShowNotice(muted ? QStringLiteral("消音") : QStringLiteral("消音を解除"));
}

void MainWindow::ApplyReadingSettings() {
    PlayerSettings& s = settings();
    game_.ui.textSpeed = kTextSpeeds[static_cast<std::size_t>(s.Choice("text_speed", 4, 0))];
    game_.ui.autoSpeed = s.Choice("auto_speed", 4, 1);
    game_.ui.skipUnread = s.Choice("skip_unread", 2, 0) == 1;
    systemButtonsShown_ = s.Choice("system_buttons", 2, 1) == 1;
    storyMarkShown_ = s.Choice("story_mark", 2, 1) == 1;
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
    case Qt::Key_F5: return "F5";
    case Qt::Key_F9: return "F9";
    case Qt::Key_F10: return "F10";
    case Qt::Key_Backspace: return "BackSpace";
    case Qt::Key_Tab: return "Tab";
    case Qt::Key_Home: return "Home";
    case Qt::Key_End: return "End";
    // X tells the two Control keys apart by their keysym; elsewhere the left one stands in.
    case Qt::Key_Control: return e.nativeVirtualKey() == 0xFFE4 ? "Control_R" : "Control_L";
    case Qt::Key_Shift: return e.nativeVirtualKey() == 0xFFE2 ? "Shift_R" : "Shift_L";
    default: return "";
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Control alone, held, fast-forwards (after a moment, so that a chord such as the zoom
    // keys does not read the story on); Control with another key is no key of the game's.
    if (event->modifiers() & Qt::ControlModifier && event->key() != Qt::Key_Control) {
        fastForwardDelay_.stop();
        event->accept();
        return;
    }
    const std::string key = KeyName(*event);
    if (key.empty() || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    if (key == "s" && !event->isAutoRepeat()) {
        TakeScreenshot();
        return;
    }
    if (key == "m" && !event->isAutoRepeat()) {
        ToggleMute();
        return;
    }
    if (key == "F10") {
        // The menu bar, for the arrows and Return.
        EnsureMenus();
        for (QMenu* menu : {wishMenu_, fileMenu_, systemMenu_})
            if (menuBar()->isEnabled() && menu->menuAction()->isEnabled()) {
                menuBar()->setActiveAction(menu->menuAction());
                break;
            }
        return;
    }
    // A held key acts once; only reading on and moving repeat, and never into the next screen.
    const bool repeats = key == "Return" || key == "space" || key == "Right" || key == "Left" ||
                         key == "Up" || key == "Down" || key == "Prior" || key == "BackSpace";
    if (event->isAutoRepeat() && !repeats) return;
    if (HoldKey(key)) {
        heldControl_ = key;
        fastForwardDelay_.start();
        return;
    }
    if (game_.ui.overlay != Overlay::None && overlay_) {
        if (key == "Prior") overlay_->ScrollPages(-1);
        if (key == "Next" && game_.ui.overlay == Overlay::Help) overlay_->ScrollPages(1);
        if (key == "Up") overlay_->ScrollLines(-1);
        if (key == "Down") overlay_->ScrollLines(1);
        if (key == "Home" || key == "End") overlay_->ScrollToEnd(key == "End");
        // Page Down pages down the history; the game closes it only from its end.
        if (key == "Next" && game_.ui.overlay == Overlay::History) {
            game_.ui.historyAtBottom = overlay_->AtBottom();
            if (!game_.ui.historyAtBottom) overlay_->ScrollPages(1);
        }
    }
    if (event->isAutoRepeat())
        Handle([&] { KeyRepeat(game_, key); });
    else
        Handle([&] { KeyDown(game_, key); });
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    const std::string key = KeyName(*event);
    if (key.empty() || event->isAutoRepeat()) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // Control or Shift let go before it counted as held does nothing.
    if (HoldKey(key) && fastForwardDelay_.isActive()) {
        fastForwardDelay_.stop();
        return;
    }
    Handle([&] { KeyUp(game_, key); });
}

bool MainWindow::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange)
        emit placeChanged();
    // In or out of full screen, by the game's keys or by the desktop; maximized or not.
    if (type == QEvent::WindowStateChange) {
        if ((static_cast<QWindowStateChangeEvent*>(event)->oldState() ^ windowState()) &
            Qt::WindowFullScreen)
            FullscreenChanged();
        else if (settingsWindow_)
            settingsWindow_->Refresh();
    }
    if (type == QEvent::WindowDeactivate) {
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
        if (game_.ui.overlay != Overlay::None && overlay_)
            overlay_->ScrollLines(-3);
        else
            Handle([&] { KeyDown(game_, "Prior"); });
    }
    for (; wheelAngle_ <= -120; wheelAngle_ += 120) {
        // At the end of the history the wheel closes it.
        if (game_.ui.overlay == Overlay::History && overlay_ && overlay_->AtBottom())
            Handle([&] { KeyDown(game_, "Escape"); });
        else if (game_.ui.overlay != Overlay::None && overlay_)
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
    fullscreenAction_->setChecked(isFullScreen());
    if (!wishMenu_) {
        ApplyAction(wishTitle_, f.願い一覧);
        ApplyAction(fileTitle_, f.ファイル);
        return;
    }
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
    }
    // Around the game: its own colour in a window, black in full screen.
    const QColor around = isFullScreen() ? QColor(Qt::black) : ToColor(f.BackColor);
    if (stage_->palette().color(QPalette::Window) != around) {
        QPalette stage = stage_->palette();
        stage.setColor(QPalette::Window, around);
        stage_->setPalette(stage);
    }

    client_->Apply(f, z);
    // What a screen reader hears: the message panel's and the hint's new texts, the rows and
    // the buttons as they change.
    SyncBoardAccessibility(client_);

    if (f.Picture2.Visible) MakeStoryPanel();
    if (picture2_) {
        // While the player looks at the picture, the text and the panel's buttons step aside
        // (the model keeps them as they are).
        const bool hidden = game_.ui.textHidden;
        Label text = f.Label7;
        // While it types, the part typed so far.
        if (!TypingDone(game_)) text.Caption = FirstChars(text.Caption, TypedChars(game_));
        Button read = f.Command2, fast = f.Command3;
        std::array<Button, 2> choice{f.Command4[0], f.Command4[1]};
        PictureBox mark = f.Picture3;
        if (hidden) {
            text.Visible = read.Visible = fast.Visible = mark.Visible = false;
            choice[0].Visible = choice[1].Visible = false;
        }
        picture2_->Apply(f.Picture2, z);
        image5_->Apply(f.Image5, z);
        label7_->Apply(text, z);
        // Read whole at once, also while it types itself out.
        label7_->SetSpokenText(hidden ? QString() : ToText(f.Label7.Caption));
        picture3_->Apply(mark, z);
        ApplyButton(command2_, read, z);
        ApplyButton(command3_, fast, z);
        for (int i = 0; i <= 1; ++i) {
            ApplyButton(command4_[i], choice[i], z);
            static_cast<FaceButton*>(command4_[i])->SetMarked(game_.ui.choiceFocus == i);
        }
        SyncStoryComforts(z);
    }
    // The text types itself out while time passes.
    const bool typing = f.Picture2.Visible && !TypingDone(game_);
    if (typing && !typingTimer_.isActive()) {
        typingClock_.start();
        typingTimer_.start();
    } else if (!typing && typingTimer_.isActive()) {
        typingTimer_.stop();
    }

    // Control or Shift held on the board steps at the fast-forward tick.
    const int interval = game_.ui.paceHeld && !f.Picture2.Visible ? 25 : f.Timer1.Interval;
    if (timer_.interval() != interval) timer_.setInterval(interval);
    SyncComforts();
}

} // namespace vern::qt
