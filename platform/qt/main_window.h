// The main window Form3 in Qt: menus, the client area with every control of the model, and
// Timer1. Clicks, menu commands and timer ticks go to the game through shell/events.h; after
// each the window copies the model onto its widgets again.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "board_view.h"
#include "overlay.h"
#include "render.h"
// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "shell/events.h"
#endif

class QAction;
class QDialog;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;

namespace vern::qt {

class AudioPlayer;
class PlayerSettings;
class RecordWindow;
class SettingsWindow;
struct SettingRow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Game& game, double zoom, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The smallest zoom the window goes down to.
    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 8;
    // How long Control must be held before fast-forward starts, in milliseconds.
    static constexpr int kHoldMs = 150;

    double zoom() const { return zoom_; }
    // Zooms the whole window (controls, fonts, pictures, menus, dialogs) and fits the window
    // around it, never beyond the screen. A window in full screen or maximized keeps its size
    // and its zoom, the one that fills it.
    void ZoomTo(double zoom);
    // The zoom at which the client area fits an area of this size whole.
    double FitZoom(QSize area) const;
    // The zoom at which the whole window, its menu bar and the frame around it fit the screen.
    double ScreenFit() const;
    Game& game() { return game_; }
    // The client area under the menu bar: the board, with the buttons and the story panel on it.
    BoardView* client() const { return client_; }
    QTimer& timer() { return timer_; }

    // Copies the whole model onto the widgets.
    void Sync();
    // Makes the menus behind the menu bar's titles now (they are otherwise made just after the
    // window's first paint).
    void EnsureMenus();
    // Lets Timer1 tick on its own (the script mode ticks by command instead).
    void StartTimer();
    // Whether the last close request reached the game (it asks before the program ends); false
    // when another event was running or the game had already ended.
    bool closeReacted() const { return closeReacted_; }

    // The X keysym name the game knows a key by ("Return", "Control_L", "a" …); empty for a
    // key the game has no use for.
    static std::string KeyName(const QKeyEvent& e);

    // The settings the window keeps and the settings window changes; without them the window
    // keeps its own for the run.
    void SetSettings(PlayerSettings* settings);
    PlayerSettings& settings();
    // Every setting the player can change, as the settings window shows them.
    std::vector<SettingRow> SettingRows();
    // 設定… (F3): the settings window, opened or brought up; F3 in it closes it.
    void ShowSettings();
    SettingsWindow* settingsWindow() const { return settingsWindow_; }
    // Puts every setting back to its default (初期設定に戻す).
    void ResetSettings();

    // 記録… (F2): the record window, read afresh; F2 in it closes it.
    void ShowRecords();
    RecordWindow* recordWindow() const { return recordWindow_; }
    // A record was written: a small picture of the board as it stands is kept at file.
    void WriteRecordPicture(const QString& file);
    // A short notice over the top right of the board, gone after a moment.
    void ShowNotice(const QString& text);

    // The music and the effects (started after the first paint).
    AudioPlayer* audio() const { return audio_; }
    // The volumes and mute from the settings; M toggles mute.
    void ApplyAudioSettings();
    void ToggleMute();

    // The story panel's comforts (the mark of what runs, オート or スキップ, and the system
    // buttons for the mouse, オート, スキップ, 履歴 and 戻る, in the band under the text) and the
    // ways of reading (the text's speed, auto's pace, the skip of unread text), from the
    // settings.
    void ApplyReadingSettings();

    // Full screen (F11, Alt+Enter): the game scaled to fill the screen, black around it. The
    // setting, the menu and the settings window follow the window, also when the desktop takes
    // it in or out of full screen by itself.
    void SetFullscreen(bool on);
    bool fullscreen() const { return isFullScreen(); }

    // Once dialog (a window of the game's own, a box, the name dialog) closes, the window under
    // it has the keys again.
    static void GiveKeysBackOnClose(QDialog* dialog);

    // The zoom a first start opens at on a screen with this available area: the largest quarter
    // step at which the window (its menu bar menuBarHeight high at 1×) takes at most two thirds
    // of the screen's height and fits its width.
    static double FirstZoom(QSize available, int menuBarHeight);

    // S: the window at its present zoom as a PNG in the player's pictures folder (else folder),
    // named by the date and time; a short notice says where. Returns the file, or "" on failure.
    QString TakeScreenshot(const QString& folder = QString());

  protected:
    // Tab belongs to the game (the skip), not to moving the focus between widgets.
    bool focusNextPrevChild(bool) override { return false; }
    // The close box asks what ゲームの終了 asks; the window closes only when the game ends.
    void closeEvent(QCloseEvent* event) override;
    // Keys and the wheel go to the game as its own key events; the window only translates.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window losing the keyboard (another window, or a dialog of the game's) lets go of
    // every held key: their release would never reach the window.
    bool event(QEvent* event) override;

  signals:
    // The game has ended; the window is closed.
    void ended();
    void zoomChanged(double zoom);
    // The window moved, was resized, maximized or restored.
    void placeChanged();
    // The window has been drawn for the first time, and its menus made: what can wait until
    // the player sees the game is done from here on.
    void firstPainted();

  private:
    // One of the game's own windows (settings, records) shown over the game's and given the
    // keys.
    void ShowOwnWindow(QDialog* window);
    // Closes window when it is shown and has the keys; true when it did.
    static bool ClosedByItsOwnKey(QDialog* window);
    template <typename F> void Handle(F&& event);
    void OnClick(Control c, int index);
    void OnMenu(MenuCommand m, int index);
    void OnTick();

    QPushButton* AddButton(QWidget* parent, const QString& name, Control c, int index);
    // The story panel and the panels over the window are made the first time they show.
    void MakeStoryPanel();
    void ZoomStep(int quarters);
    // The window went in or out of full screen.
    void FullscreenChanged();
    // In full screen or maximized: the board fills the window at the zoom that fits it.
    bool Filled() const { return isFullScreen() || isMaximized(); }
    void SetZoom(double zoom);
    void Centre();
    void BuildMenus();
    void SyncMenus();
    // Closes an open menu and takes the keyboard back from the menu bar.
    void CloseMenus();
    void BuildActions();
    // The comforts around the game's screens: the panels over the window, the keyboard focus
    // on the board, the pointer and tooltips of the board, the auto-advance sign.
    void SyncComforts();
    void SyncStoryComforts(double z);

    Game& game_;
    double zoom_;
    QWidget* stage_ = nullptr;
    BoardView* client_ = nullptr;
    QTimer timer_;

    PictureView* picture2_ = nullptr;
    PictureView* image5_ = nullptr;
    LabelView* label7_ = nullptr;
    PictureView* picture3_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    std::vector<QPushButton*> command4_;
    AudioPlayer* audio_ = nullptr;
    QLabel* storyMark_ = nullptr;
    std::array<QPushButton*, 4> systemButtons_{}; // オート, スキップ, 履歴, 戻る
    bool storyMarkShown_ = true;
    bool systemButtonsShown_ = true;
    // The story text typing itself out: time passes for it while it types.
    QTimer typingTimer_;
    QElapsedTimer typingClock_;

    QAction* wishTitle_ = nullptr; // the titles, until the menus take their places
    QAction* fileTitle_ = nullptr;
    QAction* systemTitle_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    QAction* recordsAction_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* fullscreenAction_ = nullptr;
    QAction* helpAction_ = nullptr;
    PlayerSettings* settings_ = nullptr;
    std::unique_ptr<PlayerSettings> ownSettings_;
    SettingsWindow* settingsWindow_ = nullptr;
    RecordWindow* recordWindow_ = nullptr;
    QLabel* notice_ = nullptr;
    QTimer noticeTimer_;
    QMenu* wishMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::vector<QAction*> wishes_;
    QAction* save_ = nullptr;
    QAction* load_ = nullptr;
    QAction* restart_ = nullptr;
    QAction* quit_ = nullptr;
    bool closeReacted_ = false;
    // A zoom change lays the window out anew before it takes its new size: the stage's sizes
    // in between only centre the game.
    bool relayingOut_ = false;

    OverlayView* overlay_ = nullptr;
    int wheelAngle_ = 0; // the wheel's turn not yet taken as a step
    QTimer fastForwardDelay_;
    std::string heldControl_;
};

} // namespace vern::qt
