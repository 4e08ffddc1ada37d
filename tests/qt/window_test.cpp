// The window on the offscreen platform: where the controls lie at two zooms, which widget a
// click on the board reaches, how clicks route to the game, the timer behind a message box,
// the end of the program and the name dialog.
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "folders.h"
#include "identity.h"
#include "main_window.h"
#include "name_dialog.h"
#include "qt_services.h"
#include "record_window.h"
#include "render.h"
#include "script_runner.h"
#include "settings.h"
#include "settings_window.h"

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "catalogue/wishes.h"
#include "fake_services.h"
#include "screen/load_cg.h"
#include "screen/name_dialog.h"
#include "screen/panels.h"
#include "shell/events.h"
#include "story/dispatcher.h"
#endif

namespace vern::qt::test {
namespace {

// An opened game (start screen) in its window.
struct Fixture {
    explicit Fixture(double zoom = 1) : g(svc) {
        g.rng.Seed(7);
        g.rng.fixedSeed = true;
        Open(g);
        w = std::make_unique<MainWindow>(g, zoom);
        w->show();
    }
    template <typename T = QWidget> T* Widget(const QString& name) const {
        T* widget = w->findChild<T*>(name);
        if (!widget) qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    // Where a control lies in the client area: a control the board draws, or a widget.
    QRect Place(const QString& name) const {
        const QRect board = w->client()->RectOf(name);
        if (!board.isNull()) return board;
        QWidget* widget = Widget(name);
        return QRect(widget->mapTo(w->client(), QPoint(0, 0)), widget->size());
    }
    // A control's box as its parent holds it (the client area for the board's controls).
    QRect Geometry(const QString& name) const {
        const QRect board = w->client()->RectOf(name);
        return board.isNull() ? Widget(name)->geometry() : board;
    }
    bool Shown(const QString& name) const {
        if (!w->client()->RectOf(name).isNull()) {
            for (const BoardItem& item : w->client()->Items())
                if (item.name == name) return true;
            return false;
        }
        return Widget(name)->isVisible();
    }
    // What a real click at the centre of `name` lands on: the name of the widget there (the
    // child of the client area), or of the board's control there; empty for none.
    QString HitAt(const QString& name) const {
        const QPoint at = Place(name).center();
        if (QWidget* widget = w->client()->childAt(at)) {
            while (widget->parentWidget() != w->client() &&
                   widget->parentWidget()->objectName() != QLatin1String("Picture2"))
                widget = widget->parentWidget();
            return widget->objectName();
        }
        const std::optional<BoardItem> item = w->client()->ItemAt(at);
        return item ? item->name : QString();
    }
    // A real click at the centre of `name`, reaching whatever lies there.
    void ClickOn(const QString& name) const {
        const QPoint at = Place(name).center();
        QWidget* widget = w->client()->childAt(at);
        if (!widget) widget = w->client();
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->mapFrom(w->client(), at));
    }
    // The name dialog for the hero, open over the window.
    std::unique_ptr<NameDialog> NameDialogOpen() {
        g.s.NameNo = 1;
        g.n = MakeNameInp();
        g.n.open = true;
        NameInp_Form_Load(g);
        auto dialog = std::make_unique<NameDialog>(g, 1, w.get());
        dialog->show();
        return dialog;
    }
    FakeServices svc;
    Game g;
    std::unique_ptr<MainWindow> w;
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void everyControlOfTheModelHasItsView();
    void fontsFollowTheZoom();
    void menus();
    void theApplicationIsKnownByItsNameAndIcon();
    void theWindowRemembersItsZoomAndPlace();
    void aRestoredPlaceMustStillBeOnAScreen_data();
    void aRestoredPlaceMustStillBeOnAScreen();
    void theKindOfInstallChoosesTheSaveFolder();
    void everySettingAppliesAtOnceAndComesBackAfterARestart();
    void theSystemKeysWorkInTheGamesOwnWindows();
    void fullScreenFillsTheScreenInBlack();
    void aFilledWindowKeepsItsZoomAndTheSettingFollowsIt();
    void aFirstStartOpensAtASizeForTheScreen_data();
    void aFirstStartOpensAtASizeForTheScreen();
    void theTextStepsAsideToShowThePicture();
    void aScreenshotIsAPngOfTheWindow();
    void theBattleAdditionsCoverNoNameFigureOrButton();
    void anUnchangedBoardIsNotDrawnAgain();
    void whatTheWindowShowsIsTheBoardDrawnWhole();
    void theDataFolderIsThePlayersOwn();
    void theRecordWindowKeepsLabelledRecordsFromTheKeyboard();
    void theRecordWindowFitsTheScreenAtAnyZoom();
    void aRecordsPictureIsReadSmallOrNotAtAll_data();
    void aRecordsPictureIsReadSmallOrNotAtAll();
    void everyLineOfTheKeyListFitsItsPanel();
    void readingTheStoryFromTheWindow();
    void boardClicksOnHpWishAndMarkerActAsTheName_data();
    void boardClicksOnHpWishAndMarkerActAsTheName();
    void hintCatcherLiesOverTheBoardAndTakesItsClicks();
    void infoPictureDismissesTheHint();
    void storyPanelCoversTheBoard();
    void timerTickBehindAMessageBoxIsDropped();
    void endingTheGameClosesTheWindow();
    void closeBoxAsksAndWaitsBehindADialog();
    void pictureTheWindowCannotDrawIsTheFallback();
    void aButtonFaceIsTheSameDrawnStraightAndFromItsCopy_data();
    void aButtonFaceIsTheSameDrawnStraightAndFromItsCopy();
    void keysAndTheWheelReachTheGameAsItsOwnKeys();
    void losingTheKeyboardLetsGoOfControl();
    void aPanelKeyClosesTheMenuFirst();
    void everythingScalesWithTheWindow_data();
    void everythingScalesWithTheWindow();
    void zoomKeys();
    void messageBoxesFollowTheStartingZoom();
    void boardShowsWhereAClickPicksAndNamesWishes();
    void nameDialogFeedsTheGameAndFollowsIt();
    void realMessageBoxAndModalNameDialog();
};

namespace {
QtMessageHandler qtestHandler = nullptr;
} // namespace

void WindowTest::initTestCase() {
    // The offscreen platform says so for every fixed-size window; nothing to see.
    qtestHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains("propagateSizeHints")) qtestHandler(type, context, message);
        });
}

void WindowTest::layout_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("rect"); // at zoom 1
    const QList<QPair<QString, QRect>> controls = {
        {"client", QRect(0, 0, 457, 367)},     {"Label1", QRect(8, 8, 441, 81)},
        {"Label2_5", QRect(296, 96, 153, 17)}, {"Label3_2", QRect(8, 192, 153, 17)},
        {"Shape1_9", QRect(272, 264, 17, 17)}, {"Command1_3", QRect(8, 312, 97, 33)},
        {"Label9", QRect(0, 0, 457, 367)},     {"Picture2", QRect(0, 0, 457, 367)},
        {"Command2", QRect(392, 232, 57, 33)},
    };
    for (double zoom : {1.0, 2.0})
        for (const auto& [name, rect] : controls)
            QTest::addRow("%s@%g", qPrintable(name), zoom) << zoom << name << rect;
}

void WindowTest::layout() {
    QFETCH(double, zoom);
    QFETCH(QString, control);
    QFETCH(QRect, rect);
    Fixture t(zoom);
    const QRect expected(rect.topLeft() * zoom, rect.size() * zoom);
    if (control == "client") {
        // The window opens at its zoom: the menu bar and the client area under it, nothing more.
        QCOMPARE(t.w->client()->geometry(), expected);
        QCOMPARE(t.w->client()->mapTo(t.w.get(), QPoint(0, 0)),
                 QPoint(0, t.w->menuBar()->geometry().bottom() + 1));
        QCOMPARE(t.w->size(),
                 QSize(expected.width(),
                       t.w->client()->mapTo(t.w.get(), QPoint(0, 0)).y() + expected.height()));
    } else {
        // The story panel is made the first time it shows.
        t.g.f.Picture2.Visible = true;
        t.w->Sync();
        QCOMPARE(t.Geometry(control), expected);
    }
}

void WindowTest::everyControlOfTheModelHasItsView() {
    for (double zoom : {1.0, 2.5}) {
        Fixture t(zoom);
        const Form3& f = t.g.f;
        BoardView* board = t.w->client();
        // The board draws every indexed control with every index, where the model puts it.
        const auto check = [&](const char* name, int count, auto rectOf) {
            for (int i = 0; i < count; ++i) {
                const QString n = QStringLiteral("%1_%2").arg(name).arg(i);
                QCOMPARE(board->RectOf(n), ToRect(rectOf(i), zoom));
                QVERIFY2(board->rect().contains(board->RectOf(n)), qPrintable(n));
            }
            QVERIFY(board->RectOf(QStringLiteral("%1_%2").arg(name).arg(count)).isNull());
        };
        check("Label2", 10, [&](int i) { return f.Label2[i].r; });
        check("Label3", 10, [&](int i) { return f.Label3[i].r; });
        check("Label4", 10, [&](int i) { return f.Label4[i].r; });
        check("Label5", 10, [&](int i) { return f.Label5[i].r; });
        check("Label8", 10, [&](int i) { return f.Label8[i].r; });
        check("Shape1", 10, [&](int i) { return f.Shape1[i].r; });
        check("Label6", 5, [&](int i) { return f.Label6[i].r; });
        check("Command1", 4, [&](int i) { return f.Command1[i].r; });
        QCOMPARE(board->RectOf("Label1"), ToRect(f.Label1.r, zoom));
        QCOMPARE(board->RectOf("Label9"), ToRect(f.Label9.r, zoom));
        // A click finds what the stacking says lies on top: the list and the search agree.
        t.g.s.PickState = 5;
        teach(t.g, "ヒント");
        t.w->Sync();
        const std::vector<BoardItem> items = board->Items();
        for (int y = 0; y < board->height(); y += 7)
            for (int x = 0; x < board->width(); x += 7) {
                const QPoint p(x, y);
                std::optional<BoardItem> top;
                for (auto it = items.rbegin(); it != items.rend() && !top; ++it)
                    if (!it->passThrough && it->rect.contains(p)) top = *it;
                const std::optional<BoardItem> found = board->ItemAt(p);
                QCOMPARE(found ? found->name : QString(), top ? top->name : QString());
            }
        // The story panel and its controls, once it shows.
        t.g.f.Picture2.Visible = true;
        t.w->Sync();
        for (const char* name : {"Picture2", "Image5", "Label7", "Picture3", "Command2", "Command3",
                                 "Command4_0", "Command4_1"})
            QVERIFY2(t.w->client()->rect().contains(t.Place(name)), name);
    }
    // The name dialog: every control of its model, inside the dialog.
    Fixture t;
    auto dialog = t.NameDialogOpen();
    for (const char* name : {"Picture1", "Label1", "Text1", "Command1", "Command2", "Command3"}) {
        QWidget* w = dialog->findChild<QWidget*>(name);
        QVERIFY2(w, name);
        QVERIFY2(dialog->rect().contains(w->geometry()), name);
    }
}

void WindowTest::fontsFollowTheZoom() {
    for (double zoom : {1.0, 2.0}) {
        Fixture t(zoom);
        const QFont label1 = t.w->client()->FontOf("Label1");
        QCOMPARE(label1.family(), QString("IPAPGothic"));
        QCOMPARE(label1.pixelSize(), qRound(16 * zoom)); // 12 pt
        QVERIFY(label1.bold());
        const QFont cross = t.w->client()->FontOf("Label5_0");
        QCOMPARE(cross.family(), QString("IPAPMincho"));
        QCOMPARE(cross.pixelSize(), qRound(37 * zoom)); // 27.75 pt
        QVERIFY(!cross.bold());
        QCOMPARE(t.w->client()->FontOf("Command1_0").pixelSize(), qRound(21 * zoom)); // 15.75 pt
        // Fonts the machine really has, so the Japanese captions show as text.
        QCOMPARE(QFontInfo(label1).family(), QString("IPAPGothic"));
        QCOMPARE(QFontInfo(cross).family(), QString("IPAPMincho"));
    }
}

void WindowTest::menus() {
    Fixture t;
    // The titles show from the first paint; the menus behind them follow just after it. The
    // game's two menus come first, as they are; システム after them is the player's own.
    QCOMPARE(t.w->menuBar()->actions().size(), 3);
    QCOMPARE(t.w->menuBar()->actions()[0]->text(), QString("願い一覧"));
    QCOMPARE(t.w->menuBar()->actions()[2]->text(), QString("システム"));
    QTRY_VERIFY(t.w->findChild<QMenu*>("ファイル"));
    QList<QMenu*> menus;
    for (QAction* a : t.w->menuBar()->actions()) menus << a->menu();
    QCOMPARE(menus.size(), 3);
    QStringList system;
    for (QAction* a : menus[2]->actions()) system << a->text() + " " + a->shortcut().toString();
    QCOMPARE(system, QStringList({"記録… F2", "設定… F3", "全画面 F11", "キー一覧 F1"}));
    QCOMPARE(menus[0]->title(), QString("願い一覧"));
    QCOMPARE(menus[0]->actions().size(), 13);
    QCOMPARE(menus[0]->actions()[0]->text(), QString("    願いなきもの"));
    QCOMPARE(menus[0]->actions()[1]->text(), QString("〆 ？"));
    QCOMPARE(menus[1]->title(), QString("ファイル"));
    QStringList file;
    for (QAction* a : menus[1]->actions()) file << a->text();
    QCOMPARE(file, QStringList({"セーブ", "ロード", "始めから", "ゲームの終了"}));
    // The model disables セーブ on the start screen; the window follows.
    QVERIFY(!menus[1]->actions()[0]->isEnabled());
    t.g.f.セーブ.Enabled = true;
    t.g.f.願い一覧.Enabled = false;
    t.w->Sync();
    QVERIFY(menus[1]->actions()[0]->isEnabled());
    QVERIFY(!menus[0]->menuAction()->isEnabled());
}

void WindowTest::theApplicationIsKnownByItsNameAndIcon() {
    // No icon theme holds the game here (the build tree): the icon built in stands in.
    IdentifyApplication("0.0.1");
    // The window belongs to the menu entry the game installs, whose file is named by the id.
    QVERIFY(QFileInfo::exists(QStringLiteral(VERN_SOURCE_DIR "/platform/desktop/") +
                              QGuiApplication::desktopFileName() + ".desktop.in"));
    QCOMPARE(QCoreApplication::applicationName(), QString("vernadora"));
    QCOMPARE(QCoreApplication::applicationVersion(), QString("0.0.1"));
    // At first the small icon built in, which is read at once; in full once the window has
    // been drawn (main uses the full icon on the window's signal).
    QCOMPARE(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});
    QVERIFY(!QApplication::windowIcon().pixmap(48, 48).isNull());
    Fixture t;
    QVERIFY(!t.w->windowIcon().isNull());
    QSignalSpy drawn(t.w.get(), &MainWindow::firstPainted);
    QVERIFY(drawn.wait());
    UseFullIcon();
    QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(256, 256)));
    QVERIFY(t.w->windowHandle()->icon().availableSizes().contains(QSize(256, 256)));
}

void WindowTest::theWindowRemembersItsZoomAndPlace() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("conf/vernadora.conf").toStdString();
    QCOMPARE(PlayerSettings(path).Zoom(), 1.0); // nothing remembered yet
    {
        Fixture t(1.25);
        t.w->move(40, 30);
        PlayerSettings(path).Save(*t.w);
    }
    PlayerSettings settings(path);
    QCOMPARE(settings.Zoom(), 1.25);
    Fixture t(settings.Zoom());
    settings.RestorePlace(*t.w);
    QTRY_COMPARE(t.w->client()->size(), QSize(Px(6855, 1.25), Px(5505, 1.25)));
    QCOMPARE(t.w->zoom(), 1.25);
    // A change is written a moment later by itself, not only at the end.
    PlayerSettings later(path);
    t.w->ZoomTo(1.0);
    later.Changed(*t.w);
    QCOMPARE(PlayerSettings(path).Zoom(), 1.25);
    QTRY_COMPARE_WITH_TIMEOUT(PlayerSettings(path).Zoom(), 1.0, 3000);
    // A zoom outside the window's range, or no number at all, is not used.
    for (const char* bad : {"0.1", "99", "big", ""}) {
        SettingsFile file(path);
        file.Set("zoom", bad);
        QCOMPARE(file.Write(), 0);
        QCOMPARE(PlayerSettings(path).Zoom(), 1.0);
    }
    // A zoom given at the start (--zoom) is the window's size at the place it was left. Left
    // in a corner of the screen, the window it makes larger grows into the screen, as far as it
    // must and no further, rather than run off the screen's edges.
    const QRect screen = t.w->screen()->availableGeometry();
    {
        Fixture corner;
        corner.w->move(screen.bottomRight() - QPoint(corner.w->width(), corner.w->height()) -
                       QPoint(4, 4));
        PlayerSettings(path).Save(*corner.w);
    }
    Fixture grown;
    PlayerSettings(path).RestorePlace(*grown.w, 1.5);
    QVERIFY(grown.w->zoom() > 1);
    // (8 pixels of room for the window's frame.)
    QCOMPARE(grown.w->geometry().bottomRight(), screen.bottomRight() - QPoint(8, 8));
}

void WindowTest::aRestoredPlaceMustStillBeOnAScreen_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QPoint>("whole"); // where it lies whole, moved as little as it can be
    // One screen 1920 × 1080 and a second one right of it, 1280 × 1024.
    QTest::addRow("on the first screen") << QRect(100, 100, 500, 420) << true << QPoint(100, 100);
    QTest::addRow("across both screens")
        << QRect(1700, 100, 500, 420) << true << QPoint(1920, 100); // the one showing more
    QTest::addRow("on a screen that is gone")
        << QRect(3500, 100, 500, 420) << false << QPoint(3500, 100);
    QTest::addRow("title bar above every screen")
        << QRect(100, -200, 500, 420) << false << QPoint(100, 0);
    QTest::addRow("mostly off the bottom")
        << QRect(100, 900, 500, 420) << false << QPoint(100, 660);
    QTest::addRow("under the second screen")
        << QRect(2000, 1030, 500, 420) << false << QPoint(2000, 1030);
    QTest::addRow("larger than its screen") << QRect(100, 100, 2000, 1200) << true << QPoint(0, 0);
}

void WindowTest::aRestoredPlaceMustStillBeOnAScreen() {
    QFETCH(QRect, frame);
    QFETCH(bool, visible);
    QFETCH(QPoint, whole);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QCOMPARE(PlayerSettings::PlaceIsVisible(frame, screens), visible);
    QCOMPARE(PlayerSettings::WholeOnAScreen(frame, screens), whole);
}

void WindowTest::everySettingAppliesAtOnceAndComesBackAfterARestart() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vernadora.conf").toStdString();
    {
        PlayerSettings settings(path);
        Fixture t;
        t.w->SetSettings(&settings);
        QObject::connect(t.w.get(), &MainWindow::zoomChanged, [&] { settings.Changed(*t.w); });
        // F3 opens the window; a choice applies at once.
        t.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
        QTest::keyClick(t.w->windowHandle(), Qt::Key_F3);
        SettingsWindow* window = t.w->settingsWindow();
        QVERIFY(window && window->isVisible());
        auto* zoom = window->findChild<QComboBox*>("zoom");
        auto* full = window->findChild<QComboBox*>("fullscreen");
        QVERIFY(zoom && full);
        QCOMPARE(zoom->currentText(), QString("100%"));
        zoom->setCurrentIndex(zoom->findText("125%"));
        QCOMPARE(t.w->zoom(), 1.25);
        // The window grows with the zoom: every choice still shows whole.
        for (QComboBox* box : window->findChildren<QComboBox*>())
            QTRY_VERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->objectName()));
        full->setCurrentIndex(1);
        QVERIFY(t.w->isFullScreen());
        settings.Save(*t.w);
    }
    {
        // After a restart: what was chosen is what the game starts with.
        PlayerSettings settings(path);
        QCOMPARE(settings.RememberedZoom().value_or(0), 1.25);
        QVERIFY(settings.Fullscreen());
        Fixture t;
        t.w->SetSettings(&settings);
        t.w->ShowSettings();
        // Enter, after choosing from a list with the keyboard, closes the window and keeps
        // every setting as it is: it used to press 初期設定に戻す, the first button.
        auto* autosave = t.w->settingsWindow()->findChild<QComboBox*>("autosave");
        autosave->setFocus();
        QTest::keyClick(autosave, Qt::Key_Up);
        QCOMPARE(autosave->currentIndex(), 0);
        QTest::keyClick(autosave, Qt::Key_Return);
        QVERIFY(!t.w->settingsWindow()->isVisible());
        QCOMPARE(autosave->currentIndex(), 0);
        QVERIFY(settings.Fullscreen());
        t.w->ShowSettings();
        // 初期設定に戻す: every setting back to its default, at once and in the file.
        QTest::mouseClick(t.w->settingsWindow()->findChild<QPushButton*>("Defaults"),
                          Qt::LeftButton);
        QCOMPARE(t.w->zoom(), 1.0);
        QVERIFY(!t.w->isFullScreen());
        QCOMPARE(t.w->settingsWindow()->findChild<QComboBox*>("fullscreen")->currentIndex(), 0);
        settings.Flush();
        QVERIFY(!PlayerSettings(path).Fullscreen());
    }
    // A value of the wrong kind or out of range is the default, and the game starts.
    for (const char* bad : {"yes", "2", "-1", ""}) {
        SettingsFile file(path);
        file.Set("fullscreen", bad);
        QCOMPARE(file.Write(), 0);
        QVERIFY(!PlayerSettings(path).Fullscreen());
    }
}

void WindowTest::fullScreenFillsTheScreenInBlack() {
    Fixture t;
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    QTest::keyClick(t.w->windowHandle(), Qt::Key_F11);
    QTRY_VERIFY(t.w->isFullScreen());
    const QRect screen = t.w->screen()->geometry();
    QTRY_COMPARE(t.w->geometry(), screen);
    // The game fills what the menu bar leaves, whole and in the middle, black around it.
    const QSize stage = t.w->centralWidget()->size();
    QTRY_VERIFY(t.w->client()->width() == stage.width() ||
                t.w->client()->height() == stage.height());
    QCOMPARE(t.w->centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));
    const QRect client(t.w->client()->mapTo(t.w->centralWidget(), QPoint(0, 0)),
                       t.w->client()->size());
    QVERIFY(QRect(QPoint(0, 0), stage).contains(client));
    QVERIFY(std::abs(client.center().x() - stage.width() / 2) <= 1);
    // Esc is the game's (here: nothing to dismiss): it never leaves full screen.
    QTest::keyClick(t.w.get(), Qt::Key_Escape);
    QVERIFY(t.w->isFullScreen());
    QTest::keyClick(t.w->windowHandle(), Qt::Key_Return, Qt::AltModifier);
    QTRY_VERIFY(!t.w->isFullScreen());
    QCOMPARE(t.w->centralWidget()->palette().color(QPalette::Window), ToColor(t.g.f.BackColor));
}

void WindowTest::theSystemKeysWorkInTheGamesOwnWindows() {
    Fixture t;
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    // F3 opens the settings, and F3 in them closes them again: the board has the keys back.
    QTest::keyClick(t.w->windowHandle(), Qt::Key_F3);
    SettingsWindow* settings = t.w->settingsWindow();
    QVERIFY(settings && settings->isVisible() && settings->isActiveWindow());
    QTest::keyClick(settings->windowHandle(), Qt::Key_F3);
    QVERIFY(!settings->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    // In the settings, F11 takes the game into full screen and F2 opens the records (both did
    // nothing there); F2 in the records closes them, and the settings stay.
    QTest::keyClick(t.w->windowHandle(), Qt::Key_F3);
    QVERIFY(settings->isActiveWindow());
    QTest::keyClick(settings->windowHandle(), Qt::Key_F11);
    QVERIFY(t.w->isFullScreen());
    QTest::keyClick(settings->windowHandle(), Qt::Key_F2);
    RecordWindow* records = t.w->recordWindow();
    QVERIFY(records && records->isVisible() && records->isActiveWindow());
    QTest::keyClick(records->windowHandle(), Qt::Key_F2);
    QVERIFY(!records->isVisible());
    QVERIFY(settings->isVisible());
}

void WindowTest::aFilledWindowKeepsItsZoomAndTheSettingFollowsIt() {
    QTemporaryDir dir;
    PlayerSettings settings(dir.filePath("vernadora.conf").toStdString());
    Fixture t;
    t.w->SetSettings(&settings);
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    QWindow* window = t.w->windowHandle();
    auto* fullscreen = t.w->findChild<QAction*>("全画面");
    QVERIFY(fullscreen);
    t.w->ShowSettings();
    auto* zoomRow = t.w->settingsWindow()->findChild<QComboBox*>("zoom");
    QVERIFY(zoomRow);
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    // Full screen, then maximized: the zoom keys leave the window as it is, filled by the board
    // at the zoom that fills it (a zoom resized the window, which the desktop took out of full
    // screen or maximized).
    for (const bool full : {true, false}) {
        if (full)
            QTest::keyClick(window, Qt::Key_F11);
        else
            t.w->showMaximized();
        QTRY_VERIFY(full ? t.w->isFullScreen() : t.w->isMaximized());
        // (The desktop may settle the window's frame a moment later.)
        QTest::qWait(200);
        const QSize stage = t.w->centralWidget()->size();
        QVERIFY(t.w->client()->width() == stage.width() ||
                t.w->client()->height() == stage.height());
        const QRect filled = t.w->geometry();
        const double zoom = t.w->zoom();
        for (const int key : {Qt::Key_Minus, Qt::Key_0, Qt::Key_Plus}) {
            QTest::keyClick(window, key, Qt::ControlModifier);
            QCOMPARE(t.w->zoom(), zoom);
        }
        QTest::qWait(50);
        QCOMPARE(t.w->geometry(), filled);
        QVERIFY(full ? t.w->isFullScreen() : t.w->isMaximized());
        QCOMPARE(settings.Fullscreen(), full);
        QCOMPARE(fullscreen->isChecked(), full);
        // The settings window's zoom waits too, on a step it lists.
        QVERIFY(!zoomRow->isEnabled());
        QVERIFY(zoomRow->currentIndex() >= 0);
        t.w->showNormal();
        QTRY_VERIFY(!t.w->isFullScreen() && !t.w->isMaximized());
        QVERIFY(zoomRow->isEnabled());
    }
    // 初期設定に戻す in full screen: out of it at 1×, back where the window was before.
    t.w->move(100, 80);
    const QPoint place = t.w->pos();
    QTest::keyClick(window, Qt::Key_F11);
    QTRY_VERIFY(t.w->isFullScreen());
    QTest::mouseClick(t.w->settingsWindow()->findChild<QPushButton*>("Defaults"), Qt::LeftButton);
    QVERIFY(!t.w->isFullScreen());
    QCOMPARE(t.w->zoom(), 1.0);
    QTRY_COMPARE(t.w->pos(), place);
    // The desktop's own way in and out of full screen (its key, its menu): the setting, the
    // menu and the settings window follow the window.
    auto* row = t.w->settingsWindow()->findChild<QComboBox*>("fullscreen");
    QVERIFY(row);
    for (const bool full : {true, false}) {
        t.w->setWindowState(full ? Qt::WindowFullScreen : Qt::WindowNoState);
        QCOMPARE(settings.Fullscreen(), full);
        QCOMPARE(fullscreen->isChecked(), full);
        QCOMPARE(row->currentIndex(), full ? 1 : 0);
        QCOMPARE(t.w->centralWidget()->palette().color(QPalette::Window),
                 full ? QColor(Qt::black) : ToColor(t.g.f.BackColor));
    }
}

void WindowTest::aFirstStartOpensAtASizeForTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("zoom");
    QTest::addRow("a small laptop") << QSize(1366, 728) << 1.0;
    QTest::addRow("full HD") << QSize(1920, 1040) << 1.75;
    QTest::addRow("4K") << QSize(3840, 2120) << 3.5;
    QTest::addRow("tiny") << QSize(640, 440) << 0.75;
    QTest::addRow("narrow and tall") << QSize(600, 2000) << 1.0;
}

void WindowTest::aFirstStartOpensAtASizeForTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(double, zoom);
    QCOMPARE(MainWindow::FirstZoom(screen, 24), zoom);
    // Two thirds of the height at most, and the next step would take more.
    const double tall = (5505 / 15.0 + 24) * zoom;
    QVERIFY(3 * tall <= 2 * screen.height());
}

void WindowTest::theTextStepsAsideToShowThePicture() {
    Fixture t;
    GameState& s = t.g.s;
    s.SceneNo = 20;
    s.StoryStep = 2;
    STORYshow(t.g);
    t.w->Sync();
    QVERIFY(t.Widget("Label7")->isVisible());
    // H: the text and the buttons step aside; the story stays where it was.
    QTest::keyClick(t.w.get(), Qt::Key_H);
    QVERIFY(!t.Widget("Label7")->isVisible());
    QVERIFY(!t.Widget("Command2")->isVisible());
    QVERIFY(t.Widget("Picture2")->isVisible());
    QCOMPARE(Q(t.g.f.Label7.Caption).isEmpty(), false); // the model keeps its text
    // The next key brings them back without reading on.
    QTest::keyClick(t.w.get(), Qt::Key_Return);
    QVERIFY(t.Widget("Label7")->isVisible());
    QCOMPARE(int(s.StoryStep), 2);
    // A right click on the panel does the same; a click brings the text back.
    QTest::mouseClick(t.Widget("Picture2"), Qt::RightButton, {}, QPoint(20, 20));
    QVERIFY(!t.Widget("Label7")->isVisible());
    QTest::mouseClick(t.Widget("Picture2"), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(t.Widget("Label7")->isVisible());
    QCOMPARE(int(s.StoryStep), 2);
}

void WindowTest::aScreenshotIsAPngOfTheWindow() {
    QTemporaryDir dir;
    Fixture t(1.5);
    const QString file = t.w->TakeScreenshot(dir.path());
    QVERIFY(!file.isEmpty());
    QVERIFY(file.startsWith(dir.path()) && file.endsWith(".png"));
    QImage shot;
    QVERIFY(shot.load(file, "PNG"));
    QCOMPARE(shot.size(), t.w->size());
    QVERIFY(t.Widget("Notice")->isVisible()); // a short notice, not a dialog
    QVERIFY(!QApplication::activeModalWidget());
    // A second one in the same second gets a name of its own.
    const QString second = t.w->TakeScreenshot(dir.path());
    QVERIFY(!second.isEmpty() && second != file);
}

void WindowTest::anUnchangedBoardIsNotDrawnAgain() {
    // Each tick of the game's timer syncs the window: a board on which nothing changed is not
    // drawn again (the first screen waits so for as long as the player likes), and a change is.
    Fixture t;
    QVERIFY(QTest::qWaitForWindowExposed(t.w.get()));
    QTest::qWait(100);
    struct Paints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++count;
            return false;
        }
    } paints;
    t.w->client()->installEventFilter(&paints);
    for (int i = 0; i < 5; ++i) {
        t.w->Sync();
        QApplication::processEvents();
    }
    QCOMPARE(paints.count, 0);
    t.g.f.Label1.Caption = "変わった";
    t.w->Sync();
    QApplication::processEvents();
    QVERIFY(paints.count > 0);
}

namespace {

// The battle of the preview scenario (every kind of plan, the order of the phase, a pick and
// the phase foreseen): a game of its own, opened with the scenario's seed, and the script's
// lines, which the runner plays.
struct PreviewBattle {
    PreviewBattle() : svc(quiet, "/nonexistent"), g(svc), runner(g, svc, quiet) {
        QFile file(QStringLiteral(VERN_SOURCE_DIR "/tests/scenarios/battle_preview.txt"));
        if (!file.open(QIODevice::ReadOnly)) qFatal("no battle_preview.txt");
        for (const QByteArray& line : file.readAll().split('\n'))
            lines.push_back(line.toStdString());
        g.rng.Seed(1);
        g.rng.fixedSeed = true;
        Open(g);
    }
    std::ostringstream quiet;
    ScriptServices svc;
    Game g;
    ScriptRunner runner;
    std::vector<std::string> lines;
};

} // namespace

void WindowTest::whatTheWindowShowsIsTheBoardDrawnWhole() {
    // The board repaints only what changed. After every command of a battle with every kind of
    // addition, what the window shows (the offscreen screen's copy of it) is the board drawn
    // whole: nothing was left as it was drawn before.
    PreviewBattle battle;
    MainWindow w(battle.g, 1);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    int compared = 0;
    for (const std::string& line : battle.lines) {
        if (line.empty() || line[0] == '#') continue;
        battle.runner.Line(line, 1);
        w.Sync();
        QApplication::processEvents();
        const QPoint at = w.client()->mapTo(&w, QPoint(0, 0));
        const QImage shown =
            w.screen()
                ->grabWindow(w.winId(), at.x(), at.y(), w.client()->width(), w.client()->height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        const QImage whole = w.client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(shown == whole, line.c_str());
        ++compared;
    }
    QVERIFY(compared > 30);
}

void WindowTest::theBattleAdditionsCoverNoNameFigureOrButton() {
    // The battle of the preview scenario, at its turn's orders and then with every order given.
    PreviewBattle battle;
    Game& g = battle.g;
    std::vector<std::string>& lines = battle.lines;
    ScriptRunner& runner = battle.runner;
    const auto playUntil = [&](const std::string& last) {
        while (!lines.empty()) {
            const std::string line = lines.front();
            lines.erase(lines.begin());
            if (line == last) return;
            const bool watch = line.rfind("preview", 0) == 0 || line.rfind("keydown", 0) == 0;
            if (!line.empty() && line[0] != '#' && !watch) runner.Line(line, 1);
        }
    };
    for (double zoom : {1.0, 3.0}) {
        MainWindow w(g, zoom);
        w.show();
        const auto check = [&](const char* when, std::size_t least) {
            w.Sync();
            w.client()->grab(); // paints the board, additions included
            const std::vector<QRect>& marks = w.client()->additionRects();
            QVERIFY2(marks.size() >= least, when);
            for (const QRect& mark : marks) {
                for (int i = 0; i <= 9; ++i)
                    for (const Label* l : {&g.f.Label2[i], &g.f.Label3[i]})
                        QVERIFY2(!mark.intersects(ToRect(l->r, zoom)),
                                 qPrintable(QString("%1: a mark over row %2 at %3×")
                                                .arg(when)
                                                .arg(i)
                                                .arg(zoom)));
                for (int i = 0; i <= 3; ++i)
                    QVERIFY2(!mark.intersects(ToRect(g.f.Command1[i].r, zoom)), when);
            }
        };
        if (zoom == 1.0) playUntil("preview 5"); // the orders of the first phase: plans, order
        check("the plans", 10);
        w.client()->SetFocusSlot(5);
        g.ui.focus = 5;
        check("a pick", 10);
        if (zoom == 1.0) playUntil("click Label2 9");
        check("the phase foreseen", 10);
    }
}

void WindowTest::theKindOfInstallChoosesTheSaveFolder() {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const std::string home = root + "/home";
    QVERIFY(QDir().mkpath(QString::fromStdString(home)));
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (oldData.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldData);
    });
    qputenv("HOME", QByteArray::fromStdString(home));
    qunsetenv("XDG_DATA_HOME");
    // Installed: PREFIX/bin (cmake --install) or PREFIX/games (the Debian package) beside
    // PREFIX/share/vernadora/CG; the save in the data folder, the prefix only read (an earlier
    // version may have saved there).
    QVERIFY(QDir().mkpath(dir.filePath("prefix/share/vernadora/CG")));
    for (const std::string bin : {"bin", "games"}) {
        QVERIFY(QDir().mkpath(QString::fromStdString(root + "/prefix/" + bin)));
        const Folders installed = FindFolders(root + "/prefix/" + bin, "");
        QVERIFY2(installed.installed, bin.c_str());
        QCOMPARE(QString::fromStdString(installed.program), dir.filePath("prefix/share/vernadora"));
        QCOMPARE(installed.save, home + "/.local/share/vernadora");
        QCOMPARE(installed.otherSave, installed.program);
    }
    // Portable: the executable beside CG/; the save beside it, the data folder only read (and
    // not made for that).
    QVERIFY(QDir().mkpath(dir.filePath("portable/CG")));
    QVERIFY(QDir(QString::fromStdString(home)).removeRecursively());
    QVERIFY(QDir().mkpath(QString::fromStdString(home)));
    const Folders portable = FindFolders(root + "/portable", "");
    QVERIFY(!portable.installed);
    QCOMPARE(portable.save, root + "/portable");
    QCOMPARE(portable.otherSave, home + "/.local/share/vernadora");
    QVERIFY(!QFileInfo::exists(QString::fromStdString(portable.otherSave)));
    // --dir is both, and nothing else.
    const Folders given = FindFolders(root + "/portable", "/games/v");
    QCOMPARE(given.save, std::string("/games/v"));
    QCOMPARE(given.otherSave, std::string());
}

void WindowTest::theRecordWindowKeepsLabelledRecordsFromTheKeyboard() {
    QTemporaryDir dir;
    std::ostringstream quiet;
    // The driver's services, with the window keeping each record's picture.
    struct Services : ScriptServices {
        using ScriptServices::ScriptServices;
        MainWindow* window = nullptr;
        void Saved(const std::string&, const std::string& picture) override {
            if (window) window->WriteRecordPicture(QString::fromStdString(picture));
        }
    } svc(quiet, dir.path().toStdString());
    Game g(svc);
    g.rng.Seed(1);
    g.rng.fixedSeed = true;
    Open(g);
    ScriptRunner runner(g, svc, quiet);
    MainWindow w(g, 1);
    svc.window = &w;
    PlayerSettings settings(dir.filePath("vernadora.conf").toStdString());
    w.SetSettings(&settings);
    QVERIFY2(g.ui.autosave, "the window autosaves unless the player turned it off");
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto file = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };

    // The new party reaches the free menu: an autosave, with its picture of the board.
    for (const char* line : {"dialog click 決定", "key 1", "key y", "key Return"})
        runner.Line(line, 1);
    w.Sync();
    QCOMPARE(g.s.GameMode, 18);
    QVERIFY(QFileInfo::exists(file("auto1.dat")));
    QImage picture;
    QVERIFY(picture.load(file("auto1.png"), "PNG"));
    QCOMPARE(picture.width(), RecordWindow::kKeptPictureWidth);

    // F2 opens the records on the newest one, labelled with what it holds.
    QTest::keyClick(w.windowHandle(), Qt::Key_F2);
    RecordWindow* records = w.recordWindow();
    QVERIFY(records && records->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(records));
    QCOMPARE(records->chosen(), (SlotId{SlotKind::Auto, 1}));
    auto* list = records->findChild<QTreeWidget*>("RecordList");
    QCOMPARE(list->currentItem()->text(0), QString("オート1"));
    QVERIFY(list->currentItem()->text(1).startsWith("場面1"));
    const QString details = records->findChild<QLabel*>("RecordDetails")->text();
    QVERIFY2(details.contains("HP") && details.contains("主人公："), qPrintable(details));
    // Its picture fills its box, 160 × 128 at 1×, keeping its proportions.
    auto* shown = records->findChild<QLabel*>("RecordPicture");
    QCOMPARE(shown->size(), QSize(160, 128));
    QCOMPARE(shown->pixmap().deviceIndependentSize().height(), 128.0);
    // The autosave cannot be saved over; only the player's slots can.
    QVERIFY(!records->findChild<QPushButton*>("Save")->isEnabled());

    // Down to スロット01 and Alt+S: saved, with no question on an empty slot.
    while (records->chosen() != SlotId{SlotKind::Player, 1}) QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(records->findChild<QPushButton*>("Save")->isEnabled());
    QTest::keyClick(records->windowHandle(), Qt::Key_S, Qt::AltModifier);
    // (A button's key presses it after a short flash.)
    QTRY_VERIFY(QFileInfo::exists(file("slot01.dat")) && QFileInfo::exists(file("slot01.png")));
    QVERIFY(list->currentItem()->text(1).startsWith("場面1"));
    // Again: a question first; いいえ keeps the record as it was.
    const QDateTime first = QFileInfo(file("slot01.dat")).lastModified();
    svc.answers.push_back(MsgAnswer::No);
    QTest::keyClick(records->windowHandle(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(svc.answers.empty());
    QCOMPARE(QFileInfo(file("slot01.dat")).lastModified(), first);

    // A damaged record is listed as such and cannot be loaded; Enter on it changes nothing.
    { std::ofstream(file("slot02.dat").toStdString()) << "not a record of this game"; }
    records->Refresh();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(records->chosen(), (SlotId{SlotKind::Player, 2}));
    QCOMPARE(list->currentItem()->text(1), QString("（壊れています）"));
    QVERIFY(!records->findChild<QPushButton*>("Load")->isEnabled());
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!g.ended && records->isVisible());
    QCOMPARE(g.s.GameMode, 18);
    // Delete, with a question: the record and its picture go.
    svc.answers.push_back(MsgAnswer::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(!QFileInfo::exists(file("slot02.dat")));
    QTest::keyClick(list, Qt::Key_Up);
    svc.answers.push_back(MsgAnswer::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(!QFileInfo::exists(file("slot01.dat")) && !QFileInfo::exists(file("slot01.png")));

    // Back to the autosave and Enter: a question, the load, and the window closes.
    records->Choose({SlotKind::Auto, 1});
    g.s.UnitMaxHP[0] = 1;
    svc.answers.push_back(MsgAnswer::Yes);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!records->isVisible());
    QVERIFY(g.s.UnitMaxHP[0] > 1);

    // The settings window holds the autosave; turned off, it stays off after a restart.
    w.ShowSettings();
    auto* autosave = w.settingsWindow()->findChild<QComboBox*>("autosave");
    QVERIFY(autosave && w.settingsWindow()->findChild<QComboBox*>("battle_additions"));
    QCOMPARE(autosave->currentIndex(), 1);
    autosave->setCurrentIndex(0);
    QVERIFY(!g.ui.autosave);
    settings.Flush();
    QCOMPARE(PlayerSettings(dir.filePath("vernadora.conf").toStdString()).Choice("autosave", 2, 1),
             0);
}

void WindowTest::theRecordWindowFitsTheScreenAtAnyZoom() {
    // At 2× the records' list is wider than this screen: the window takes a smaller zoom, with
    // every column whole, where it ran past the screen's edge, buttons and all.
    Fixture t(2);
    t.w->ShowRecords();
    RecordWindow* records = t.w->recordWindow();
    QVERIFY(records && records->isVisible());
    const QRect screen = records->screen()->availableGeometry();
    QVERIFY2(records->width() <= screen.width() && records->height() <= screen.height(),
             qPrintable(QStringLiteral("%1x%2").arg(records->width()).arg(records->height())));
    auto* list = records->findChild<QTreeWidget*>("RecordList");
    QTRY_VERIFY(list->viewport()->width() >= list->header()->length());
    const QFont atOne = PanelFont(1);
    QVERIFY(records->font().pixelSize() > atOne.pixelSize());
    // The box of a record's picture grows with the window, as its texts do (it stayed 160 × 128,
    // a stamp beside them at a large zoom).
    auto* picture = records->findChild<QLabel*>("RecordPicture");
    QVERIFY(picture->width() > 160 && picture->height() > 128);
    // Back at 1×, the window is at the game's zoom again, and smaller.
    const int wide = records->width();
    t.w->ZoomTo(1);
    QCOMPARE(records->font().pixelSize(), atOne.pixelSize());
    QCOMPARE(picture->size(), QSize(160, 128));
    QVERIFY(records->width() < wide);
    QTRY_VERIFY(list->viewport()->width() >= list->header()->length());
}

void WindowTest::aRecordsPictureIsReadSmallOrNotAtAll_data() {
    QTest::addColumn<QSize>("written");
    QTest::addColumn<QSize>("read"); // 0 × 0: not read at all
    QTest::addRow("as the game keeps it") << QSize(320, 257) << QSize(320, 257);
    QTest::addRow("as an earlier version kept it") << QSize(160, 128) << QSize(160, 128);
    QTest::addRow("larger than its box at 4x") << QSize(2000, 1000) << QSize(640, 320);
    QTest::addRow("too large a side to decode") << QSize(3000, 100) << QSize(0, 0);
}

void WindowTest::aRecordsPictureIsReadSmallOrNotAtAll() {
    QFETCH(QSize, written);
    QFETCH(QSize, read);
    QTemporaryDir dir;
    const QString file = dir.filePath("slot01.png");
    QImage image(written, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(file, "PNG"));
    QCOMPARE(RecordWindow::ReadPicture(file).size(), read);
}

void WindowTest::everyLineOfTheKeyListFitsItsPanel() {
    // Each line of the key list is one line on its panel, at every zoom: a line that wrapped
    // went on at the panel's left edge, under the headings, mid-word.
    for (const double zoom : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        Fixture t(zoom);
        QTest::keyClick(t.w.get(), Qt::Key_F1);
        auto* help = t.Widget<QPlainTextEdit>("Help");
        QVERIFY(help->isVisible());
        if (QFontInfo(help->font()).family() != QStringLiteral("IPAPGothic"))
            QFAIL("the game's font IPAPGothic is not installed (tools/setup.sh installs it)");
        int lines = 0;
        // The panel lays out only the lines it shows until asked for a line's place.
        QAbstractTextDocumentLayout* layout = help->document()->documentLayout();
        for (QTextBlock b = help->document()->begin(); b.isValid(); b = b.next(), ++lines) {
            layout->blockBoundingRect(b);
            QVERIFY2(b.layout()->lineCount() == 1,
                     qPrintable(QString::number(zoom) + "×: " + b.text()));
        }
        QVERIFY(lines > 40);
    }
}

void WindowTest::readingTheStoryFromTheWindow() {
    QTemporaryDir dir;
    std::ostringstream quiet;
    ScriptServices svc(quiet, dir.path().toStdString());
    Game g(svc);
    g.rng.Seed(1);
    g.rng.fixedSeed = true;
    Open(g);
    ScriptRunner runner(g, svc, quiet);
    MainWindow w(g, 1.5);
    PlayerSettings settings(dir.filePath("vernadora.conf").toStdString());
    w.SetSettings(&settings);
    QVERIFY2(!g.ui.skipUnread, "the window's skip stops at unread text unless the player says");
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (const char* line :
         {"dialog click 決定", "key 1", "key y", "key Return", "key 2", "key y", "key Return"})
        runner.Line(line, 1);
    w.Sync();
    QVERIFY(g.f.Picture2.Visible);
    const auto find = [&](const char* name) {
        auto* widget = w.findChild<QWidget*>(QString::fromLatin1(name));
        if (!widget) qFatal("no widget %s", name);
        return widget;
    };
    const auto place = [&](const char* name) {
        QWidget* widget = find(name);
        return QRect(widget->mapTo(w.client(), QPoint(0, 0)), widget->size());
    };

    // The system buttons lie in the band under the text: never over the text, the picture, ≫
    // or 早送り, and all inside the panel.
    for (const char* name : {"SystemAuto", "SystemSkip", "SystemHistory", "SystemBack"}) {
        QVERIFY2(find(name)->isVisible(), name);
        for (const char* other : {"Label7", "Image5", "Command2", "Command3"})
            QVERIFY2(!place(name).intersects(place(other)),
                     qPrintable(QString("%1 over %2").arg(name, other)));
        QVERIFY(QRect(QPoint(0, 0), w.client()->size()).contains(place(name)));
    }
    // 戻る steps back; オート starts auto, and its mark shows on the panel.
    const int step = g.s.StoryStep;
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(int(g.s.StoryStep), step + 1);
    QTest::mouseClick(static_cast<QPushButton*>(find("SystemBack")), Qt::LeftButton);
    QCOMPARE(int(g.s.StoryStep), step);
    QTest::mouseClick(static_cast<QPushButton*>(find("SystemAuto")), Qt::LeftButton);
    QVERIFY(g.ui.autoAdvance);
    QVERIFY(find("StoryMark")->isVisible());
    QVERIFY(!place("StoryMark").intersects(place("Label7")));
    QTest::mouseClick(static_cast<QPushButton*>(find("SystemAuto")), Qt::LeftButton);
    QVERIFY(!g.ui.autoAdvance && !find("StoryMark")->isVisible());
    // Tab is the game's skip, not a move of the focus; Tab again stops it.
    QTest::keyClick(&w, Qt::Key_Tab);
    QCOMPARE(int(g.s.FastForward), int(kTrue));
    QVERIFY(find("StoryMark")->isVisible());
    QTest::keyClick(&w, Qt::Key_Tab);
    QCOMPARE(int(g.s.FastForward), 0);

    // Typing: the text shows a part, then all of it; a click during the typing completes it.
    auto* speed = [&] {
        w.ShowSettings();
        return w.settingsWindow()->findChild<QComboBox*>("text_speed");
    }();
    QVERIFY(speed);
    speed->setCurrentIndex(1);
    QVERIFY(g.ui.textSpeed > 0);
    w.settingsWindow()->close();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* label7 = static_cast<LabelView*>(find("Label7"));
    QTest::keyClick(&w, Qt::Key_Return);
    const QString whole = ToText(g.f.Label7.Caption);
    QVERIFY(label7->text().size() < whole.size());
    QTRY_COMPARE(label7->text(), whole);
    const int typedStep = g.s.StoryStep;
    QTest::keyClick(&w, Qt::Key_Return);
    QVERIFY(label7->text().size() < ToText(g.f.Label7.Caption).size());
    QTest::mouseClick(label7, Qt::LeftButton);
    QCOMPARE(label7->text(), ToText(g.f.Label7.Caption));
    QCOMPARE(int(g.s.StoryStep), typedStep + 1);

    // The system buttons can be hidden.
    auto* buttons = [&] {
        w.ShowSettings();
        return w.settingsWindow()->findChild<QComboBox*>("system_buttons");
    }();
    buttons->setCurrentIndex(0);
    QVERIFY(!find("SystemBack")->isVisible());
    w.settingsWindow()->close();

    // The history: opaque, Page Down pages down and closes only from its end, the wheel at the
    // end closes it.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (int i = 0; i < 12; ++i) QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QCOMPARE(g.ui.overlay, Overlay::History);
    QImage shown = find("Overlay")->grab().toImage();
    const QPoint middle = place("Label7").center();
    QCOMPARE(shown.pixelColor(middle - find("Overlay")->mapTo(w.client(), QPoint(0, 0))).alpha(),
             255);
    QTest::keyClick(&w, Qt::Key_Home);
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(g.ui.overlay, Overlay::History);
    QTest::keyClick(&w, Qt::Key_End);
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(g.ui.overlay, Overlay::None);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QWheelEvent down(QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &down);
    QCOMPARE(g.ui.overlay, Overlay::None);
}

void WindowTest::theDataFolderIsThePlayersOwn() {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const std::string home = root + "/home", fallback = home + "/.local/share/vernadora";
    QVERIFY(QDir().mkpath(QString::fromStdString(home)));
    // XDG_DATA_HOME usable: the folder is made there, for the player alone.
    const std::string xdg = root + "/xdg";
    QCOMPARE(UserDataFolder(xdg.c_str(), home.c_str(), ""), xdg + "/vernadora");
    QCOMPARE(QFileInfo(QString::fromStdString(xdg + "/vernadora")).permissions() & 0x0077,
             QFileDevice::Permissions());
    // An XDG_DATA_HOME that is a file, a loop or not absolute: ~/.local/share instead.
    QFile(QString::fromStdString(root + "/afile")).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(QString::fromStdString(root + "/loop"),
                        QString::fromStdString(root + "/loop")));
    for (const std::string& bad : {root + "/afile", root + "/loop", std::string("relative")})
        QCOMPARE(UserDataFolder(bad.c_str(), home.c_str(), ""), fallback);
    // No HOME: the home of the password database; no home at all: no folder, never /tmp.
    QCOMPARE(UserDataFolder(nullptr, nullptr, home), fallback);
    QCOMPARE(UserDataFolder(nullptr, "", ""), std::string());
    QCOMPARE(UserDataFolder("", nullptr, "relative"), std::string());
    // A folder left open to others by an earlier version is closed to them.
    QVERIFY(
        QFile::setPermissions(QString::fromStdString(fallback), QFileDevice::Permissions(0x7777)));
    QCOMPARE(UserDataFolder(nullptr, home.c_str(), ""), fallback);
    QCOMPARE(QFileInfo(QString::fromStdString(fallback)).permissions() & 0x0077,
             QFileDevice::Permissions());
    // A folder of another user's is never used.
    if (::getuid() == 0) {
        QVERIFY(::chown(fallback.c_str(), 65534, 65534) == 0);
        QCOMPARE(UserDataFolder(nullptr, home.c_str(), ""), std::string());
    }
}

void WindowTest::boardClicksOnHpWishAndMarkerActAsTheName_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("slot");
    QTest::newRow("HP of slot 2") << "Label3" << 2;
    QTest::newRow("wish of slot 7") << "Label4" << 7;
    QTest::newRow("marker of slot 4") << "Label8" << 4;
    QTest::newRow("name of slot 9") << "Label2" << 9;
}

void WindowTest::boardClicksOnHpWishAndMarkerActAsTheName() {
    QFETCH(QString, label);
    QFETCH(int, slot);
    Fixture t;
    t.g.s.PickState = 5; // "whose information?": a name click opens that slot's page
    t.w->Sync();
    const QString name = QString("%1_%2").arg(label).arg(slot);
    QCOMPARE(t.HitAt(name), name); // nothing lies over the label
    t.ClickOn(name);
    QCOMPARE(int(t.g.s.InfoSlot), slot);
    QCOMPARE(int(t.g.s.TeachOn), 1);
    QVERIFY(t.Shown("Label9"));
}

void WindowTest::hintCatcherLiesOverTheBoardAndTakesItsClicks() {
    Fixture t;
    const std::string before = t.g.f.Label1.Caption;
    teach(t.g, "ヒント");
    t.w->Sync();
    QVERIFY(t.Shown("Label9"));
    for (const char* board : {"Label2_0", "Label3_6", "Label4_1", "Label8_8", "Label1"})
        QCOMPARE(t.HitAt(board), QString("Label9"));
    QCOMPARE(t.HitAt("Command1_0"), QString("Command1_0")); // buttons stay above it
    QVERIFY(!t.g.f.Command1[0].Enabled);                    // though the hint disables them
    // A disabled button takes the click and does nothing; the hint stays.
    t.ClickOn("Command1_0");
    QCOMPARE(int(t.g.s.TeachOn), 1);

    t.ClickOn("Label3_1"); // a click that reaches a board label, caught by the hint
    QCOMPARE(int(t.g.s.TeachOn), 0);
    QCOMPARE(Q(t.g.f.Label1.Caption), Q(before));
    QVERIFY(!t.Shown("Label9"));
    QVERIFY(t.g.f.Command1[0].Enabled);

    teach(t.g, "ヒント");
    t.w->Sync();
    t.ClickOn("Label2_4");
    QCOMPARE(int(t.g.s.TeachOn), 0);
}

void WindowTest::infoPictureDismissesTheHint() {
    Fixture t;
    t.g.s.PickState = 5;
    t.w->Sync();
    t.ClickOn("Label2_0");
    QVERIFY(t.Shown("Picture1"));
    // No CG folder: the fallback picture, centred on x = 3435 twips, from the board's top row.
    QCOMPARE(t.Geometry("Picture1"), QRect(229 - 65, 96, 130, 162));
    QCOMPARE(t.HitAt("Picture1"), QString("Picture1"));
    t.ClickOn("Picture1");
    QCOMPARE(int(t.g.s.TeachOn), 0);
    QVERIFY(!t.Shown("Picture1"));
    QVERIFY(!t.Shown("Label9"));
}

void WindowTest::storyPanelCoversTheBoard() {
    Fixture t;
    t.g.f.Picture2.Visible = true;
    t.g.f.Label7.Caption = std::string("一行目") + CR + "二行目";
    t.w->Sync();
    auto* panel = t.Widget("Picture2");
    for (const char* hidden : {"Label2_0", "Label1", "Command1_0"}) {
        const QString hit = t.HitAt(hidden);
        QVERIFY2(hit == "Picture2" || panel->findChild<QWidget*>(hit), qPrintable(hit));
    }
    QCOMPARE(t.HitAt("Command2"), QString("Command2"));
    QCOMPARE(t.Widget<QPushButton>("Command2")->text(), QString("≫"));
    QVERIFY(!t.Widget("Command4_0")->isVisible());
}

void WindowTest::timerTickBehindAMessageBoxIsDropped() {
    Fixture t;
    t.g.s.SelSlot = 2;
    t.g.f.Shape1[2].FillColor = colors::kRed;
    t.w->Sync();
    t.w->StartTimer();
    QSignalSpy ticks(&t.w->timer(), &QTimer::timeout);
    bool ticked = false;
    Color during = 0;
    std::string captionDuring;
    t.svc.answers = {MsgAnswer::No};
    t.svc.whileBoxOpen = [&] {
        ticked = ticks.wait(5000);
        during = t.g.f.Shape1[2].FillColor;
        t.ClickOn("Command1_0"); // the start button, dropped as well
        captionDuring = t.g.f.Label1.Caption;
    };
    const std::string caption = t.g.f.Label1.Caption;
    t.w->EnsureMenus();
    t.Widget<QMenu>("ファイル")->actions()[3]->trigger(); // ゲームの終了 → "終了しますか？"
    QCOMPARE(t.svc.boxes.size(), std::size_t(1));
    QVERIFY(ticked);
    QCOMPARE(during, colors::kRed);
    QCOMPARE(Q(captionDuring), Q(caption));
    QVERIFY(!t.g.ended);

    t.svc.whileBoxOpen = nullptr;
    QVERIFY(ticks.wait(5000)); // with no event running the marker blinks
    QCOMPARE(t.g.f.Shape1[2].FillColor, colors::kYellow);
}

void WindowTest::endingTheGameClosesTheWindow() {
    Fixture t;
    QSignalSpy ended(t.w.get(), &MainWindow::ended);
    t.svc.answers = {MsgAnswer::Yes};
    t.w->EnsureMenus();
    t.Widget<QMenu>("ファイル")->actions()[3]->trigger();
    QVERIFY(t.g.ended);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!t.w->isVisible());
}

void WindowTest::closeBoxAsksAndWaitsBehindADialog() {
    Fixture t;
    QSignalSpy ended(t.w.get(), &MainWindow::ended);
    // いいえ: the window stays and the game goes on.
    t.svc.answers = {MsgAnswer::No};
    QVERIFY(!t.w->close());
    QCOMPARE(t.svc.boxes, std::vector<std::string>{"終了しますか？"});
    QVERIFY(t.w->isVisible());
    QVERIFY(!t.g.ended);
    // Behind an open message box the close box does nothing at all.
    bool closedBehind = true;
    t.svc.answers = {MsgAnswer::No};
    t.svc.whileBoxOpen = [&] {
        closedBehind = t.w->close();
        QVERIFY(!t.w->closeReacted());
    };
    t.w->EnsureMenus();
    t.Widget<QMenu>("ファイル")->actions()[2]->trigger(); // 始めから → "リセットしますか？"
    QVERIFY(!closedBehind);
    QCOMPARE(t.svc.boxes.size(), std::size_t(2));
    QVERIFY(t.w->isVisible());
    // はい: the program ends and the window goes.
    t.svc.whileBoxOpen = nullptr;
    t.svc.answers = {MsgAnswer::Yes};
    QVERIFY(t.w->close());
    QVERIFY(t.g.ended);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!t.w->isVisible());
}

void WindowTest::pictureTheWindowCannotDrawIsTheFallback() {
    // A header the game's own check accepts (8-bit, 10 × 10) but with a colour table of 1000
    // entries, which no bitmap can have and Qt refuses to decode.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("CG/場面"));
    const std::string file = dir.path().toStdString() + "/CG/場面/x.bmp";
    {
        unsigned char head[54] = {'B', 'M'};
        auto put32 = [&](int at, int v) {
            for (int k = 0; k < 4; ++k) head[at + k] = static_cast<unsigned char>(v >> (8 * k));
        };
        put32(2, 54 + 1024 + 200);
        put32(10, 54 + 1024);
        put32(14, 40);
        put32(18, 10);
        put32(22, 10);
        head[26] = 1;
        head[28] = 8;
        put32(46, 1000);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(head), sizeof head);
        out << std::string(1024 + 200, '\0');
    }
    int w = 0, h = 0;
    QCOMPARE(ReadBitmapInfo(file, w, h), 0);
    QtServices svc(dir.path().toStdString());
    Game g(svc);
    LoadCG(g, "場面", "x");
    QCOMPARE(Q(g.f.Image1.picture.name), QString("fallback"));
    QCOMPARE(g.f.Image1.picture.widthPx, 130);
}

void WindowTest::aButtonFaceIsTheSameDrawnStraightAndFromItsCopy_data() {
    QTest::addColumn<QStyle::State>("state");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    const QStyle::State on = QStyle::State_Enabled | QStyle::State_Raised;
    QTest::newRow("raised") << on << QSize(81, 25) << 1.0;
    QTest::newRow("pressed") << (on | QStyle::State_Sunken) << QSize(81, 25) << 1.0;
    QTest::newRow("under the mouse") << (on | QStyle::State_MouseOver) << QSize(57, 33) << 1.0;
    QTest::newRow("chosen by the keys") << (on | QStyle::State_HasFocus) << QSize(121, 18) << 1.0;
    QTest::newRow("disabled") << QStyle::State(QStyle::State_Raised) << QSize(81, 25) << 1.0;
    QTest::newRow("on a fine screen") << on << QSize(81, 25) << 2.0;
    QTest::newRow("on a screen scaled by 1.5")
        << (on | QStyle::State_Sunken) << QSize(101, 31) << 1.5;
}

void WindowTest::aButtonFaceIsTheSameDrawnStraightAndFromItsCopy() {
    // A face is drawn by the style the first time it shows and from a copy after that: the
    // two must not differ by a pixel, on the board's colour or any other.
    QFETCH(QStyle::State, state);
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    QStyleOptionButton option;
    option.state = state;
    option.rect = QRect(QPoint(3, 2), size);
    option.palette = QApplication::palette();
    for (const QColor& under : {QColor(192, 192, 192), QColor(0, 64, 0), QColor(Qt::white)}) {
        ForgetDrawings();
        std::vector<QImage> drawn;
        for (int time = 0; time < 3; ++time) {
            QImage image((QSizeF(size + QSize(6, 4)) * ratio).toSize(),
                         QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(under);
            QPainter painter(&image);
            DrawButtonFace(painter, option, QApplication::style());
            painter.end();
            drawn.push_back(image);
        }
        QVERIFY(drawn[0] != QImage(drawn[0].size(), drawn[0].format()));
        QCOMPARE(drawn[1], drawn[0]);
        QCOMPARE(drawn[2], drawn[0]);
    }
}

void WindowTest::keysAndTheWheelReachTheGameAsItsOwnKeys() {
    // 1 on the start screen does what a click on Command1(0) does.
    Fixture byKey, byMouse;
    QTest::keyClick(byKey.w.get(), Qt::Key_1);
    byMouse.ClickOn("Command1_0");
    QCOMPARE(byKey.g.s.GameMode, byMouse.g.s.GameMode);
    QCOMPARE(Q(byKey.g.f.Label1.Caption), Q(byMouse.g.f.Label1.Caption));

    // The story: Return, space, a click on the text, the wheel turned down.
    Fixture t;
    GameState& s = t.g.s;
    s.SceneNo = 1;
    s.StoryStep = 1;
    STORYshow(t.g);
    t.w->Sync();
    QTest::keyClick(t.w.get(), Qt::Key_Return);
    QCOMPARE(int(s.StoryStep), 2);
    QTest::keyClick(t.w.get(), Qt::Key_Space);
    QCOMPARE(int(s.StoryStep), 3);
    Click(t.Widget("Label7"));
    QCOMPARE(int(s.StoryStep), 4);
    const QPoint centre = t.w->rect().center();
    QWheelEvent down(centre, t.w->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.w.get(), &down);
    QCOMPARE(int(s.StoryStep), 5);
    // Control fast-forwards while it is held; a short tap (or a zoom chord) does not.
    QTest::keyPress(t.w.get(), Qt::Key_Control);
    QTest::keyRelease(t.w.get(), Qt::Key_Control);
    QTest::qWait(MainWindow::kHoldMs + 50);
    QCOMPARE(int(s.FastForward), 0);
    QTest::keyPress(t.w.get(), Qt::Key_Control);
    QTRY_COMPARE(int(s.FastForward), int(kTrue));
    QTest::keyRelease(t.w.get(), Qt::Key_Control);
    QCOMPARE(int(s.FastForward), 0);
    const int afterHolding = s.StoryStep;
    // Page Up lays the history over the window; a click on it closes it and goes no further.
    QTest::keyClick(t.w.get(), Qt::Key_PageUp);
    auto* overlay = t.Widget("Overlay");
    QVERIFY(overlay->isVisible());
    QVERIFY(t.w->client()->childAt(t.w->client()->rect().center()) != t.Widget("Label7"));
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!overlay->isVisible());
    QCOMPARE(int(s.StoryStep), afterHolding);
    // F1 shows the keys; Escape closes them. A switches auto-advance, shown in the title.
    QTest::keyClick(t.w.get(), Qt::Key_F1);
    QVERIFY(t.Widget("Help")->isVisible());
    QTest::keyClick(t.w.get(), Qt::Key_Escape);
    QVERIFY(!overlay->isVisible());
    QTest::keyClick(t.w.get(), Qt::Key_A);
    QVERIFY(t.g.ui.autoAdvance);
    QVERIFY(t.w->windowTitle().startsWith(QString(kDefaultTitle)));
    QVERIFY(t.w->windowTitle() != QString(kDefaultTitle));

    // In the name dialog Return presses 決定.
    auto dialog = t.NameDialogOpen();
    QTest::keyClick(dialog->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
    QVERIFY(!t.g.n.open);
}

void WindowTest::losingTheKeyboardLetsGoOfControl() {
    Fixture t;
    GameState& s = t.g.s;
    s.SceneNo = 20;
    s.StoryStep = 19;
    STORYshow(t.g);
    t.w->Sync();
    t.w->StartTimer();
    // Another window takes the keyboard while Control is held: fast-forward stops at once,
    // and the next press starts it again.
    QTest::keyPress(t.w.get(), Qt::Key_Control);
    QTRY_COMPARE(int(s.FastForward), int(kTrue));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(t.w.get(), &deactivate);
    QCOMPARE(int(s.FastForward), 0);
    const int stopped = s.StoryStep;
    QTest::qWait(100);
    QCOMPARE(int(s.StoryStep), stopped);
    QTest::keyPress(t.w.get(), Qt::Key_Control);
    QTRY_COMPARE(int(s.FastForward), int(kTrue));
    // Held on into the name dialog of step 30: the dialog takes the keyboard; once it has
    // closed the story stops instead of running on by itself.
    QTRY_VERIFY(s.StoryStep >= 30);
    QTRY_COMPARE(int(s.FastForward), 0);
    QCOMPARE(int(s.StoryStep), 30);
    QTest::keyRelease(t.w.get(), Qt::Key_Control);
    QCOMPARE(int(s.FastForward), 0);
}

void WindowTest::aPanelKeyClosesTheMenuFirst() {
    Fixture t;
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    const auto press = [](Qt::Key key) {
        QWidget* to = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::focusWidget();
        QVERIFY(to);
        QTest::keyClick(to, key);
    };
    // F10 gives the menu bar the keyboard; F1 then closes the menu and shows the keys.
    press(Qt::Key_F10);
    QVERIFY(t.w->menuBar()->activeAction());
    press(Qt::Key_F1);
    QVERIFY(t.Widget("Help")->isVisible());
    QVERIFY(!t.w->menuBar()->activeAction());
    QVERIFY(!QApplication::activePopupWidget());
    press(Qt::Key_Escape);
    QVERIFY(!t.Widget("Overlay")->isVisible());
    // The keyboard is the game's again: 1 presses the start button.
    press(Qt::Key_1);
    QVERIFY(t.g.s.GameMode != 0);
    // A menu open as a popup: Page Up closes it and shows the history.
    press(Qt::Key_F10);
    press(Qt::Key_Down);
    QTRY_VERIFY(QApplication::activePopupWidget());
    press(Qt::Key_PageUp);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(t.Widget("History")->isVisible());
    QVERIFY(!t.w->menuBar()->activeAction());
}

void WindowTest::everythingScalesWithTheWindow_data() {
    QTest::addColumn<QSize>("stage"); // the area under the menu bar
    QTest::addColumn<double>("zoom");
    QTest::addRow("1.5×") << QSize(686, 551) << 1.5;
    QTest::addRow("2× and wider") << QSize(1200, 734) << 2.0;
    QTest::addRow("3× and taller") << QSize(1371, 1300) << 3.0;
    QTest::addRow("half") << QSize(229, 184) << 0.5;
}

void WindowTest::everythingScalesWithTheWindow() {
    QFETCH(QSize, stage);
    QFETCH(double, zoom);
    Fixture t;
    t.g.f.Picture2.Visible = true; // the story panel and its controls too
    t.w->resize(stage.width(), stage.height() + t.w->menuBar()->height());
    QTRY_COMPARE(t.w->centralWidget()->size(), stage);
    // The zoom that fits the stage (to the pixel: a stage of 686 is 1.5 × 457 rounded).
    QVERIFY2(std::abs(t.w->zoom() - zoom) < 0.005, qPrintable(QString::number(t.w->zoom())));
    zoom = t.w->zoom();
    // The client area keeps its proportions, whole and in the middle of the window.
    const QRect client(t.w->client()->mapTo(t.w->centralWidget(), QPoint(0, 0)),
                       t.w->client()->size());
    QCOMPARE(client.size(), QSize(Px(6855, zoom), Px(5505, zoom)));
    QVERIFY(QRect(QPoint(0, 0), stage).contains(client));
    QVERIFY(std::abs(client.center().x() - stage.width() / 2) <= 1);
    QVERIFY(std::abs(client.center().y() - stage.height() / 2) <= 1);
    // Every control where the model puts it at this zoom, its font scaled alike.
    const Form3& f = t.g.f;
    QCOMPARE(t.Geometry("Label1"), ToRect(f.Label1.r, zoom));
    QCOMPARE(t.Geometry("Label2_7"), ToRect(f.Label2[7].r, zoom));
    QCOMPARE(t.Geometry("Shape1_3"), ToRect(f.Shape1[3].r, zoom));
    QCOMPARE(t.Geometry("Command1_1"), ToRect(f.Command1[1].r, zoom));
    QCOMPARE(t.Geometry("Label7"), ToRect(f.Label7.r, zoom));
    QCOMPARE(t.Geometry("Command2"), ToRect(f.Command2.r, zoom));
    QCOMPARE(t.w->client()->FontOf("Label1").pixelSize(), ToFont(f.Label1.font, zoom).pixelSize());
    QCOMPARE(t.w->client()->FontOf("Command1_0").pixelSize(),
             ToFont(f.Command1[0].font, zoom).pixelSize());
    QCOMPARE(t.w->menuBar()->font().pixelSize(),
             ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, zoom).pixelSize());
}

void WindowTest::zoomKeys() {
    Fixture t;
    // The keys as the desktop delivers them, through the window's shortcuts.
    t.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.w.get()));
    QWindow* window = t.w->windowHandle();
    QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 1.25);
    QTRY_COMPARE(t.w->client()->size(), QSize(Px(6855, 1.25), Px(5505, 1.25)));
    QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 1.5);
    QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 1.25);
    QTest::keyClick(window, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 1.0);
    QTRY_COMPARE(t.w->centralWidget()->size(), QSize(457, 367));
    QCOMPARE(t.w->client()->mapTo(t.w->centralWidget(), QPoint(0, 0)), QPoint(0, 0));
    // A chord is no key of the game's.
    QCOMPARE(t.g.s.GameMode, Int16{0});
    // A zoom that fitting left a hair off a step still steps onto the quarters: in one press.
    t.w->ZoomTo(0.7493);
    QCOMPARE(t.w->zoom(), 0.7493);
    QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 1.0);
    t.w->ZoomTo(0.7493);
    QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(t.w->zoom(), 0.5);
    // The window fits the game and the menu bar at the new zoom at once, with no band left
    // over from the larger menu bar before it.
    QTRY_COMPARE(t.w->centralWidget()->size(), t.w->client()->size());
    // A window sized for a quarter step gives back that step, not the fit a hair below it.
    const QSize at125(Px(6855, 1.25), Px(5505, 1.25));
    t.w->resize(at125.width(), at125.height() + t.w->menuBar()->height());
    QTRY_COMPARE(t.w->centralWidget()->size(), at125);
    QCOMPARE(t.w->zoom(), 1.25);
}

void WindowTest::messageBoxesFollowTheStartingZoom() {
    // A window that opens at 2× (remembered or --zoom): message boxes and the name dialog take
    // the application's font at 2× from the start, not only after the next zoom change.
    Fixture t(2);
    QCOMPARE(QApplication::font().pixelSize(),
             ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, 2).pixelSize());
    Fixture one(1);
    QCOMPARE(QApplication::font().pixelSize(),
             ToFont(Font{"ＭＳ Ｐゴシック", 9, false}, 1).pixelSize());
}

void WindowTest::boardShowsWhereAClickPicksAndNamesWishes() {
    Fixture t;
    Game& g = t.g;
    g.s.UnitName[5] = "敵";
    g.s.UnitMaxHP[5] = g.s.UnitHP[5] = 10;
    g.s.UnitWish[5] = 6;
    g.s.UnitName[6] = "二";
    g.s.UnitMaxHP[6] = g.s.UnitHP[6] = 10;
    g.s.UnitName[8] = "三";
    g.s.UnitMaxHP[8] = g.s.UnitHP[8] = 10;
    ASTshow(g);
    t.w->Sync();
    BoardView* board = t.w->client();
    const auto pointerOver = [&](const char* name) {
        QTest::mouseMove(board, t.Place(name).center());
        return board->cursor().shape();
    };
    const auto tipOver = [&](const char* name) {
        QToolTip::hideText();
        for (int i = 0; i < 200 && QToolTip::isVisible(); ++i) QTest::qWait(10);
        const QPoint at = t.Place(name).center();
        QHelpEvent help(QEvent::ToolTip, at, board->mapToGlobal(at));
        QApplication::sendEvent(board, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(pointerOver("Label2_5"), Qt::ArrowCursor);
    QCOMPARE(tipOver("Label4_5"), Q(WishName(6)));
    QCOMPARE(tipOver("Label4_7"), QString()); // an empty row names no wish
    // While a target is to be picked, the pointer is a hand and the arrows show a focus.
    g.s.PickState = 1;
    t.w->Sync();
    QCOMPARE(pointerOver("Label2_5"), Qt::PointingHandCursor);
    QCOMPARE(pointerOver("Label8_9"), Qt::PointingHandCursor);
    QCOMPARE(pointerOver("Label1"), Qt::ArrowCursor);
    QVERIFY(board->FocusRect().isNull());
    QTest::keyClick(t.w.get(), Qt::Key_Right);
    QVERIFY(board->FocusRect().contains(t.Place("Label2_5")));
    QTest::keyClick(t.w.get(), Qt::Key_Down);
    QVERIFY(board->FocusRect().contains(t.Place("Label3_6")));
    // The empty slot 7 is passed over.
    QTest::keyClick(t.w.get(), Qt::Key_Down);
    QVERIFY(board->FocusRect().contains(t.Place("Label3_8")));
}

void WindowTest::nameDialogFeedsTheGameAndFollowsIt() {
    Fixture t;
    Game& g = t.g;
    auto shown = t.NameDialogOpen();
    NameDialog& dialog = *shown;
    QCOMPARE(dialog.windowTitle(), QString("主人公"));
    QCOMPARE(dialog.size(), QSize(334, 349));
    QCOMPARE(dialog.findChild<QWidget*>("Command3")->geometry(), QRect(240, 296, 81, 41));
    auto* text = dialog.findChild<QLineEdit*>("Text1");
    QCOMPARE(text->text(), QString("シザ"));
    QCOMPARE(text->cursorPosition(), 2);

    // Ten characters are fine; an eleventh is refused and the ten come back.
    QTest::keyClicks(text, "abcdefgh");
    QCOMPARE(Q(g.s.UnitName[0]), QString("シザabcdefgh"));
    QTest::keyClick(text, Qt::Key_I);
    QCOMPARE(Q(t.svc.boxes.back()), QString("１０文字までです。"));
    QCOMPARE(text->text(), QString("シザabcdefgh"));
    QCOMPARE(text->cursorPosition(), 10);

    // A blank name is refused by 決定 and the default comes back; the dialog stays.
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);
    QCOMPARE(Q(g.s.UnitName[0]), QString());
    Click(dialog.findChild<QWidget*>("Command3"));
    QCOMPARE(Q(t.svc.boxes.back()), QString("名前を入力して下さい。"));
    QCOMPARE(text->text(), QString("シザ"));
    QVERIFY(dialog.isVisible());

    // The close box unloads the dialog: the name is taken and the dialog goes.
    QTest::keyClicks(text, "x");
    dialog.close();
    QVERIFY(!g.n.open);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Q(g.s.CharName[0]), QString("シザx"));
}

void WindowTest::realMessageBoxAndModalNameDialog() {
    QtServices svc("/nonexistent");
    Game g(svc);
    MainWindow w(g, 1);
    svc.SetWindow(&w);
    w.show();

    // The player answers the first modal window that opens with the button captioned so.
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int width = 0, titleWidth = 0;
    const auto press = [&](const QString& caption) {
        QTimer::singleShot(0, [&, caption] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                width = box->width();
                titleWidth = QFontMetrics(box->font()).horizontalAdvance(title);
            }
            for (auto* b : modal->findChildren<QPushButton*>())
                if (b->text() == caption) b->click();
        });
    };
    press("いいえ");
    QCOMPARE(svc.MsgBox(std::string("一行目") + CR + "二行目", MsgButtons::YesNo, true, ""),
             MsgAnswer::No);
    QCOMPARE(title, QString(kDefaultTitle));
    QCOMPARE(text, QString("一行目\n二行目"));
    QCOMPARE(icon, QMessageBox::Critical);
    press("はい");
    QCOMPARE(svc.MsgBox("終了しますか？", MsgButtons::YesNo, false, "ゲームの終了"),
             MsgAnswer::Yes);
    QCOMPARE(title, QString("ゲームの終了"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    // The keys answer too: Y and N as on the board, Enter the default はい, Esc いいえ.
    for (const auto& [key, answer] : {std::pair{Qt::Key_Y, MsgAnswer::Yes},
                                      {Qt::Key_N, MsgAnswer::No},
                                      {Qt::Key_Return, MsgAnswer::Yes},
                                      {Qt::Key_Escape, MsgAnswer::No}}) {
        QTimer::singleShot(0, [k = key] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QTest::keyClick(modal, k);
        });
        // A key that answers nothing would leave the box open: it is closed after a while.
        bool unanswered = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [&] {
            unanswered = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        guard.start(3000);
        QCOMPARE(svc.MsgBox("終了しますか？", MsgButtons::YesNo, false, "ゲームの終了"), answer);
        guard.stop();
        QVERIFY2(!unanswered, qPrintable(QKeySequence(key).toString()));
    }
    // A box with a short text and a long title is as wide as the title.
    press("OK");
    svc.MsgBox("済", MsgButtons::OK, false,
               "とても長いタイトルの付いたメッセージボックスは、題がすべて読めるだけの幅を持つ");
    QVERIFY2(width > titleWidth, qPrintable(QString("%1 <= %2").arg(width).arg(titleWidth)));

    // The dialog runs modally until the game says it has closed.
    g.s.NameNo = 2;
    press("決定");
    ShowNameInp(g);
    QVERIFY(!g.n.open);
    QCOMPARE(Q(g.s.CharName[1]), QString("ララスピア"));
    QVERIFY(!QApplication::activeModalWidget());
}

} // namespace vern::qt::test

QTEST_MAIN(vern::qt::test::WindowTest)
#include "window_test.moc"
