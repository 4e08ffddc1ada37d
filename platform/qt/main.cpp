// vernadora: the game in its window. With --script FILE the window plays a script instead of
// taking the player's clicks, printing what happens as the headless driver does.
#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "folders.h"
#include "identity.h"
#include "main_window.h"
#include "options.h"
#include "qt_services.h"
#include "script_runner.h"
#include "settings.h"
#include "shell/events.h"
#include "shell/reading.h"
#include "signals.h"
#include "style.h"

namespace {

const vern::ProgramInfo kProgram{
    "vernadora",
    {vern::Option::Dir, vern::Option::Seed, vern::Option::Zoom, vern::Option::Script},
    "ヴェルナドーラ演義: a story of wishes, told step by step, with turn-based battles."};

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

void Seed(vern::Game& game, const vern::Options& o) {
    if (!o.seeded) return;
    game.rng.Seed(o.seed);
    game.rng.fixedSeed = true;
}

// The script plays in the window; answers come from the script, events go to standard output.
int RunScript(QApplication& app, const vern::Options& o, std::istream& in) {
    const vern::qt::Folders folders = vern::qt::FindFolders(ExecutableFolder(), o.dir);
    vern::ScriptServices services(std::cout, folders.program);
    services.saveFolder = folders.save;
    services.otherSaveFolder = folders.otherSave;
    services.canDrawPicture = vern::qt::CanDraw;
    vern::Game game(services);
    Seed(game, o);
    vern::qt::MainWindow window(game, o.zoom > 0 ? o.zoom : 1);
    vern::ScriptRunner runner(game, services, std::cout);
    const auto show = [&] {
        window.Sync();
        app.processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    runner.afterCommand = show;
    runner.closeBox = [&] {
        window.close();
        return window.closeReacted();
    };
    runner.shot = [&](const std::string& file) {
        show();
        if (!window.grab().save(QString::fromStdString(file), "PNG"))
            throw vern::ScriptStop{1, "cannot write " + file};
    };
    window.show();
    window.EnsureMenus();
    try {
        vern::Open(game);
    } catch (const vern::ScriptStop& stop) {
        std::cerr << stop.message << '\n';
        return stop.status;
    }
    show();
    return runner.Run(in, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    vern::Options options;
    if (const int status = vern::ReadCommandLine(kProgram, argc, argv, options); status >= 0)
        return status;
    std::ifstream script;
    if (!options.script.empty()) {
        script.open(options.script);
        if (!script) {
            std::cerr << "cannot read " << options.script << '\n';
            return 2;
        }
    }
    QApplication app(argc, argv);
    vern::qt::IdentifyApplication(vern::ProgramVersion());
    vern::qt::UseGameStyle();
    if (!options.script.empty()) return RunScript(app, options, script);

    const vern::qt::Folders folders = vern::qt::FindFolders(ExecutableFolder(), options.dir);
    vern::qt::QtServices services(folders);
    services.SetReadFile(vern::qt::ReadRecordPath(options.dir));
    vern::Game game(services);
    Seed(game, options);
    // The zoom and the place the player left the window at, unless --zoom says otherwise.
    // A first start (nothing remembered) opens at a size that suits the screen, centred.
    vern::qt::PlayerSettings settings;
    const std::optional<double> remembered = settings.RememberedZoom();
    vern::qt::MainWindow window(game, options.zoom > 0 ? options.zoom : remembered.value_or(1.0));
    window.SetSettings(&settings);
    double zoom = options.zoom > 0 ? options.zoom : remembered.value_or(0);
    if (zoom == 0 && window.screen())
        zoom = vern::qt::MainWindow::FirstZoom(window.screen()->availableGeometry().size(),
                                               window.menuBar()->sizeHint().height());
    window.ZoomTo(zoom > 0 ? zoom : 1.0);
    settings.RestorePlace(window, options.zoom);
    services.SetWindow(&window);
    QObject::connect(&window, &vern::qt::MainWindow::ended, &app, &QApplication::quit);
    // Remembered a moment after each change, so that a logout or a kill keeps them.
    QObject::connect(&window, &vern::qt::MainWindow::zoomChanged,
                     [&] { settings.Changed(window); });
    QObject::connect(&window, &vern::qt::MainWindow::placeChanged,
                     [&] { settings.Changed(window); });
    // The icon in full once the player sees the game (the small one shows until then).
    QObject::connect(&window, &vern::qt::MainWindow::firstPainted, &app,
                     [] { vern::qt::UseFullIcon(); });
    // The session ending (SIGTERM, SIGHUP) closes the window cleanly.
    vern::qt::QuitOnSignals(app);
    window.show();
    if (settings.Fullscreen()) window.SetFullscreen(true);
    vern::Open(game);
    if (game.ended) return 0;
    window.Sync();
    window.StartTimer();
    const int status = app.exec();
    window.timer().stop();
    // What was read in this run is the player's for the next.
    vern::FlushReadRecord(game);
    settings.Save(window);
    return status;
}
