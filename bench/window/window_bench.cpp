// window_bench [--dir DIR] [--runs N] [--brief] [--phases]: how fast the real window answers, in
// figures.
//
//   start    a game window, from nothing to the end of the repaint that first draws it, against
//            a bare Qt window of the same size with one label (the baseline), with the ratio;
//            and, to show what the menu bar alone costs, a bare main window with the same three
//            menu titles; with --phases, where each start's time goes: the window's making, its
//            show(), the wait for the repaint that draws it, and that repaint with the paint of
//            each widget in it;
//   process  a whole process that shows one bare window, and one that shows the game's window,
//            from the moment it is started to the end of its first paint (the platform, the
//            fonts and everything else a player's start pays for), medians of a few of each;
//   memory   the peak resident memory of a process that shows one bare window, and of one that
//            shows the game's window (each in a process of its own), at the first paint and a
//            second later, once the game has loaded what it loads after the first paint;
//   click    a click on a command button or a unit to the end of the repaint it causes, over
//            the clicks of a few battles (median and 99th percentile);
//   story    fast-forward over a whole scene with the real 25 ms timer, in steps per second
//            against the 40 the tick allows, and the work of one step alone.
//
// DIR is the program folder (pictures); default: the folder of this program. --brief measures
// each figure once, quickly, to see that the benchmark still works (the test command runs it).
// It runs on any Qt platform: offscreen by default, a real X server with QT_QPA_PLATFORM=xcb
// (e.g. xvfb-run).
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmapCache>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "identity.h"
#include "main_window.h"
#include "options.h"
#include "render.h"
#include "screen/name_dialog.h"
#include "shell/events.h"
#include "shell/keys.h"
#include "story/dispatcher.h"
#include "style.h"

namespace {

using Clock = QElapsedTimer;

// Services that answer every box and dialog at once: the figures are the window's own.
struct QuietServices : vern::Services {
    std::string dir;
    vern::MsgAnswer MsgBox(const std::string&, vern::MsgButtons b, bool,
                           const std::string&) override {
        return b == vern::MsgButtons::OK ? vern::MsgAnswer::OK : vern::MsgAnswer::Yes;
    }
    void RunNameDialog(vern::Game& g) override { vern::NameInp_Command3_Click(g); }
    void Beep() override {}
    std::string AppPath() override { return dir; }
    std::string SaveFolder() override { return std::filesystem::temp_directory_path().string(); }
};

double PeakMiB();

// With --phases: where one kind of start spends its time, a figure for each start.
struct Phases {
    std::vector<double> making;  // from nothing to the window made, before show()
    std::vector<double> showing; // show()
    std::vector<double> waiting; // from the end of show() to the repaint that first draws
    std::vector<double> repaint; // that repaint, flush included
    // Each widget's own paint within that repaint, by object name (else class name).
    std::map<QString, std::vector<double>> paints;
};

// Where UntilPainted keeps the process's peak memory and the steady clock at the end of the
// repaint, when asked.
bool peakAtPaint = false;
double peakAtPaintMiB = -1;
std::chrono::steady_clock::time_point paintedAt;

// Runs the event loop until `widget` has painted once; returns the time from `start` to the end
// of the window's repaint in which it did: every widget's paint and the flush to the screen,
// and nothing the event loop does after it.
//
// With phases, also records the wait from `shownMs` (the end of show()) to that repaint, the
// repaint, and the paint of each of the window's widgets within it.
double UntilPainted(QWidget* widget, const Clock& start, Phases* phases = nullptr,
                    double shownMs = 0) {
    struct Watch : QObject {
        QWidget* widget = nullptr;
        QObject *window = nullptr, *handle = nullptr;
        const Clock* start = nullptr;
        Phases* phases = nullptr;
        double shown = 0;
        bool painted = false, inside = false, painting = false;
        double ms = -1;
        std::map<QString, double> paints; // of the repaint under way
        bool eventFilter(QObject* o, QEvent* e) override {
            if (o == widget && e->type() == QEvent::Paint) painted = true;
            if (phases && inside && !painting && e->type() == QEvent::Paint) {
                Clock one;
                one.start();
                painting = true;
                o->event(e);
                painting = false;
                QString name = o->objectName();
                if (name.isEmpty()) name = QString::fromLatin1(o->metaObject()->className());
                paints[name] += one.nsecsElapsed() / 1e6;
                return true;
            }
            if ((o != window && o != handle) || inside || ms >= 0 ||
                (e->type() != QEvent::Expose && e->type() != QEvent::UpdateRequest))
                return false;
            // The window paints its widgets and flushes within this one event.
            const double from = start->nsecsElapsed() / 1e6;
            paints.clear();
            inside = true;
            o->event(e);
            inside = false;
            if (painted) {
                ms = start->nsecsElapsed() / 1e6;
                if (peakAtPaint) {
                    paintedAt = std::chrono::steady_clock::now();
                    peakAtPaintMiB = PeakMiB();
                }
                if (phases) {
                    phases->waiting.push_back(from - shown);
                    phases->repaint.push_back(ms - from);
                    for (const auto& [name, paintMs] : paints)
                        phases->paints[name].push_back(paintMs);
                }
            }
            return true;
        }
    } watch;
    watch.widget = widget;
    watch.start = &start;
    watch.phases = phases;
    watch.shown = shownMs;
    QWidget* window = widget->window();
    watch.window = window;
    watch.handle = window->windowHandle();
    std::vector<QObject*> watched{widget, watch.handle};
    if (phases)
        for (QWidget* w : window->findChildren<QWidget*>()) watched.push_back(w);
    watched.push_back(window);
    for (QObject* o : watched)
        if (o) o->installEventFilter(&watch);
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return watch.ms >= 0 ? watch.ms : start.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    if (v.empty()) return 0;
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
}

// Each start below calls `whileShown` after the first paint, while the window still shows.
using WhileShown = std::function<void()>;

// The bare windows' font: the game's family and size, as Qt makes a font by default. The game
// makes its own fonts its own way, and sets the application's font as it starts.
QFont BareFont() {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    return font;
}

// Shows `window` and waits for `widget` in it to be painted; with phases, records the making
// (up to now), show() and what comes after it.
double ShowUntilPainted(QWidget& window, QWidget* widget, const Clock& start, Phases* phases) {
    const double made = start.nsecsElapsed() / 1e6;
    window.show();
    const double shown = start.nsecsElapsed() / 1e6;
    if (phases) {
        phases->making.push_back(made);
        phases->showing.push_back(shown - made);
    }
    return UntilPainted(widget, start, phases, shown);
}

double BareStart(Phases* phases = nullptr, const WhileShown& whileShown = {}) {
    QApplication::setFont(BareFont());
    QPixmapCache::clear();
    Clock start;
    start.start();
    QWidget window;
    window.resize(457, 385);
    auto* label = new QLabel(QStringLiteral("ヴェルナドーラ演義"), &window);
    label->setGeometry(8, 8, 441, 81);
    const double ms = ShowUntilPainted(window, label, start, phases);
    if (whileShown) whileShown();
    return ms;
}

// A bare main window with the game's three menu titles over a label.
double MenuBarStart(Phases* phases = nullptr) {
    QApplication::setFont(BareFont());
    QPixmapCache::clear();
    Clock start;
    start.start();
    QMainWindow window;
    window.menuBar()->addAction(QStringLiteral("願い一覧"));
    window.menuBar()->addAction(QStringLiteral("ファイル"));
    window.menuBar()->addAction(QStringLiteral("システム"));
    auto* label = new QLabel(QStringLiteral("ヴェルナドーラ演義"));
    window.setCentralWidget(label);
    window.resize(457, 385);
    return ShowUntilPainted(window, label, start, phases);
}

// A game with its window, opened and, unless asked not to, shown (the first screen of a new
// game).
struct Session {
    Session(const std::string& dir, std::uint64_t seed, bool show = true) : game(svc) {
        svc.dir = dir;
        game.rng.Seed(seed);
        game.rng.fixedSeed = true;
        vern::Open(game);
        window = std::make_unique<vern::qt::MainWindow>(game, 1);
        if (show) window->show();
    }
    QuietServices svc;
    vern::Game game;
    std::unique_ptr<vern::qt::MainWindow> window;
};

double GameStart(const std::string& dir, Phases* phases = nullptr,
                 const WhileShown& whileShown = {}) {
    // Each start draws as a player's first does: nothing kept from the start before it.
    vern::qt::ForgetDrawings();
    QPixmapCache::clear();
    Clock start;
    start.start();
    Session session(dir, 1, false);
    const double ms = ShowUntilPainted(*session.window, session.window->client(), start, phases);
    if (whileShown) whileShown();
    return ms;
}

// Clicks the way a player plays battles: a unit when one is to be picked (the first standing
// enemy), else the first command button; each click timed to the end of its repaint.
std::vector<double> BattleClicks(const std::string& dir, int count) {
    Session session(dir, 3);
    vern::Game& game = session.game;
    vern::qt::MainWindow& window = *session.window;
    UntilPainted(window.client(), Clock());
    // A party, then the free menu's free fight again and again. A pick that the game turns
    // down (a recruit who refuses) is followed by the last command button (its "no").
    std::vector<double> times;
    bool stuck = false;
    for (int tries = 0; static_cast<int>(times.size()) < count && tries < count * 4; ++tries) {
        // A control of the board is clicked at its centre; the story panel's buttons are
        // widgets of their own.
        QWidget* target = nullptr;
        QPoint at;
        if (vern::BoardPicks(game) && !stuck) {
            // A standing enemy to strike; after a victory, a fallen one to recruit.
            int pick = -1;
            for (int i = 9; i >= 5; --i)
                if (game.s.UnitHP[i] > 0 || (pick < 0 && !game.s.UnitName[i].empty())) pick = i;
            target = window.client();
            at = window.client()
                     ->RectOf(QStringLiteral("Label2_%1").arg(pick < 0 ? 0 : pick))
                     .center();
        } else if (game.f.Picture2.Visible) {
            target = window.findChild<QWidget*>(QStringLiteral("Command2"));
        } else if (game.f.Label9.Visible) {
            target = window.client();
            at = window.client()->RectOf(QStringLiteral("Label9")).center();
        } else {
            for (int k = 0; k <= 3; ++k) {
                const int i = stuck ? 3 - k : k;
                if (vern::Clickable(game, vern::Control::Command1, i) &&
                    !game.f.Command1[i].Caption.empty()) {
                    target = window.client();
                    at = window.client()->RectOf(QStringLiteral("Command1_%1").arg(i)).center();
                    break;
                }
            }
        }
        if (!target || !target->isVisible()) {
            std::fprintf(stderr, "window_bench: the battle stopped at game mode %d\n",
                         game.s.GameMode);
            break;
        }
        const auto state = [&] {
            return std::tuple(game.s.GameMode, game.s.PickState, game.s.ClickState,
                              game.f.Label1.Caption, game.s.StoryStep);
        };
        const auto before = state();
        QApplication::processEvents();
        Clock start;
        start.start();
        QTest::mouseClick(target, Qt::LeftButton, {}, at.isNull() ? QPoint() : at);
        QApplication::processEvents();
        const double ms = start.nsecsElapsed() / 1e6;
        stuck = state() == before;
        if (!stuck) times.push_back(ms);
    }
    return times;
}

struct StoryFigures {
    int steps = 0;
    double seconds = 0;
    double workMs = 0; // one step without the timer's wait: advance, copy and repaint
};

// Scene 7 (no battle, no choice) from its first step to its end with fast-forward on.
StoryFigures FastForwardScene(const std::string& dir) {
    Session session(dir, 5);
    vern::Game& game = session.game;
    vern::qt::MainWindow& window = *session.window;
    UntilPainted(window.client(), Clock());
    game.s.SceneNo = 7;
    game.s.StoryStep = 1;
    vern::STORYshow(game);
    vern::Click(game, vern::Control::Command3);
    window.Sync();
    StoryFigures f;
    int lastStep = game.s.StoryStep;
    QEventLoop loop;
    QObject::connect(&window.timer(), &QTimer::timeout, &loop, [&] {
        if (game.s.StoryStep != lastStep) ++f.steps;
        lastStep = game.s.StoryStep;
        if (!game.f.Picture2.Visible || game.s.FastForward != vern::kTrue) loop.quit();
    });
    Clock start;
    start.start();
    window.StartTimer();
    loop.exec();
    f.seconds = start.nsecsElapsed() / 1e9;
    window.timer().stop();
    // The same scene again, each step's work alone.
    game.s.SceneNo = 7;
    game.s.StoryStep = 1;
    vern::STORYshow(game);
    window.Sync();
    std::vector<double> work;
    while (game.f.Picture2.Visible) {
        Clock one;
        one.start();
        vern::Click(game, vern::Control::Command2);
        window.Sync();
        QApplication::processEvents();
        work.push_back(one.nsecsElapsed() / 1e6);
    }
    f.workMs = Median(work);
    return f;
}

// The peak resident memory of this process image, in MiB (VmHWM: unlike the rusage figure it
// starts anew at exec, so a child does not report its parent's peak).
double PeakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

struct Peaks {
    double atFirstPaint = -1, settled = -1;
};

// Runs this program again to show one window ("bare" or "game") in a process of its own and
// returns the figures it prints, or none if it failed. With `started`, the child is told the
// steady clock's time just before it is started.
std::vector<double> FiguresOfChild(const char* which, const std::string& dir,
                                   bool started = false) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VERN_BENCH_ONE"), QString::fromLatin1(which));
    if (started) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        env.insert(QStringLiteral("VERN_BENCH_STARTED"),
                   QString::number(std::chrono::nanoseconds(now).count()));
    }
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--dir"), QString::fromStdString(dir)});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) return {};
    std::vector<double> figures;
    for (const QString& figure : QString::fromLatin1(child.readAllStandardOutput())
                                     .split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        figures.push_back(figure.toDouble(&ok));
        if (!ok) return {};
    }
    return figures;
}

// The peak memory of a process showing one window, at the first paint and once settled, or -1s.
Peaks PeakOfChild(const char* which, const std::string& dir) {
    const std::vector<double> f = FiguresOfChild(which, dir);
    return f.size() == 2 ? Peaks{f[0], f[1]} : Peaks{};
}

// From starting a process that shows one window to the end of its first paint, in ms, or -1.
double StartOfChild(const char* which, const std::string& dir) {
    const std::vector<double> f = FiguresOfChild(which, dir, true);
    return f.size() == 1 ? f[0] : -1;
}

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

} // namespace

const vern::ProgramInfo kProgram{
    "window_bench",
    {vern::Option::Dir, vern::Option::Runs, vern::Option::Brief, vern::Option::Phases},
    "Times the game's window: start to first paint, click to repaint, fast-forward."};

int main(int argc, char** argv) {
    vern::Options o;
    if (const int status = vern::ReadCommandLine(kProgram, argc, argv, o); status >= 0)
        return status;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string dir = o.dir.empty() ? ExecutableFolder() : o.dir;
    const int runs = o.runs > 0 ? o.runs : o.brief ? 1 : 15;
    QApplication app(argc, argv);
    vern::qt::UseGameStyle();
    // The offscreen platform's note on fixed-size windows says nothing about speed.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QStringLiteral("propagateSizeHints")))
                previous(type, context, message);
        });

    // A child that shows one window and reports, if told when it was started, the time from
    // then to the end of its first paint; else its peak memory at the first paint, and a second
    // later: the game loads its menus and then its sound module just after the first paint.
    const QByteArray one = qgetenv("VERN_BENCH_ONE");
    if (!one.isEmpty()) {
        peakAtPaint = true;
        const QByteArray started = qgetenv("VERN_BENCH_STARTED");
        const WhileShown report = [&started] {
            if (!started.isEmpty()) {
                const std::chrono::nanoseconds from(started.toLongLong());
                std::printf("%.3f\n", (paintedAt.time_since_epoch() - from).count() / 1e6);
                return;
            }
            std::printf("%.2f ", peakAtPaintMiB);
            QTest::qWait(1000);
            std::printf("%.2f\n", PeakMiB());
        };
        if (one == "bare") {
            BareStart(nullptr, report);
        } else {
            // The game's names and icon, as the game's own start sets them.
            vern::qt::IdentifyApplication(vern::ProgramVersion());
            GameStart(dir, nullptr, report);
        }
        return 0;
    }

    // The first window of a process pays for loading fonts and the platform: warm all up. What
    // the window itself keeps between paints, and the style's kept drawings, are dropped
    // before each start.
    BareStart();
    MenuBarStart();
    GameStart(dir);
    std::vector<double> bare, menuBar, game;
    Phases barePhases, menuBarPhases, gamePhases;
    const auto phasesOf = [&o](Phases& p) { return o.phases ? &p : nullptr; };
    for (int i = 0; i < runs; ++i) {
        bare.push_back(BareStart(phasesOf(barePhases)));
        menuBar.push_back(MenuBarStart(phasesOf(menuBarPhases)));
        game.push_back(GameStart(dir, phasesOf(gamePhases)));
    }
    // Whole processes, in alternation.
    std::vector<double> bareProcess, gameProcess;
    for (int i = 0; i < (o.brief ? 1 : 11); ++i) {
        bareProcess.push_back(StartOfChild("bare", dir));
        gameProcess.push_back(StartOfChild("game", dir));
    }
    const Peaks bareMiB = PeakOfChild("bare", dir), gameMiB = PeakOfChild("game", dir);
    const std::vector<double> clicks = BattleClicks(dir, o.brief ? 40 : 400);
    const StoryFigures story = FastForwardScene(dir);
    const auto failed = [](const std::vector<double>& v) {
        return std::find(v.begin(), v.end(), -1.0) != v.end();
    };
    if (clicks.empty() || story.steps == 0 || failed(bareProcess) || failed(gameProcess)) {
        std::fprintf(stderr, "window_bench: nothing measured\n");
        return 1;
    }

    std::printf("window_bench on the %s platform, %d runs\n",
                qPrintable(QGuiApplication::platformName()), runs);
    std::printf(
        "start to first paint   bare Qt window %7.2f ms   game window %7.2f ms   ratio %.2f\n",
        Median(bare), Median(game), Median(game) / Median(bare));
    std::printf("                       bare window with the menu titles %7.2f ms   ratio of the "
                "game window to it %.2f\n",
                Median(menuBar), Median(game) / Median(menuBar));
    if (o.phases) {
        std::printf(
            "where the start goes   median ms: making, show(), the wait after it, the first "
            "repaint (of which each widget's own paint)\n");
        for (const auto& [name, p] :
             {std::pair<const char*, const Phases&>{"bare Qt window", barePhases},
              {"with the menu titles", menuBarPhases},
              {"game window", gamePhases}}) {
            std::printf("  %-21s %6.3f %6.3f %6.3f %6.3f (", name, Median(p.making),
                        Median(p.showing), Median(p.waiting), Median(p.repaint));
            const char* separator = "";
            for (const auto& [widget, ms] : p.paints) {
                std::printf("%s%s %.3f", separator, qPrintable(widget), Median(ms));
                separator = ", ";
            }
            std::printf(")\n");
        }
    }
    std::printf(
        "a whole process        bare Qt window %7.2f ms   game window %7.2f ms   ratio %.2f   "
        "(from its start to its first paint, medians of %zu each)\n",
        Median(bareProcess), Median(gameProcess), Median(gameProcess) / Median(bareProcess),
        gameProcess.size());
    std::printf("peak memory            bare Qt window %7.2f MiB  game window %7.2f MiB  "
                "difference %.2f MiB  at the first paint\n",
                bareMiB.atFirstPaint, gameMiB.atFirstPaint,
                gameMiB.atFirstPaint - bareMiB.atFirstPaint);
    std::printf("                       bare Qt window %7.2f MiB  game window %7.2f MiB  "
                "difference %.2f MiB  a second later (the sound loaded)\n",
                bareMiB.settled, gameMiB.settled, gameMiB.settled - bareMiB.settled);
    std::printf("click to repaint       %zu clicks   median %.2f ms   99th percentile %.2f ms\n",
                clicks.size(), Median(clicks), Percentile(clicks, 0.99));
    std::printf("fast-forward, scene 7  %d steps in %.2f s = %.1f steps/s (the 25 ms tick allows "
                "40)   one step's work %.2f ms\n",
                story.steps, story.seconds, story.steps / story.seconds, story.workMs);
    return 0;
}
