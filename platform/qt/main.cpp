// vernadora: the game in its window. With --script FILE the window plays a script instead of
// taking the player's clicks, printing what happens as the headless driver does.
#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "folders.h"
#include "main_window.h"
#include "qt_services.h"
#include "script_runner.h"
#include "shell/events.h"

namespace {

struct Options {
    std::string dir; // --dir: both the program folder and the save folder; empty: found
    std::string script;
    bool seeded = false;
    unsigned long long seed = 0;
    double zoom = 0; // --zoom; 0: the zoom the player left the window at
};

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

int Usage() {
    std::cerr << "usage: vernadora [--dir DIR] [--seed N] [--zoom Z] [--script FILE]\n";
    return 2;
}

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        try {
            std::size_t used = 0;
            if (arg == "--dir") {
                o.dir = value;
            } else if (arg == "--script") {
                o.script = value;
            } else if (arg == "--seed") {
                if (value.empty() || value[0] == '-') return false;
                o.seed = std::stoull(value, &used);
                o.seeded = true;
            } else if (arg == "--zoom") {
                o.zoom = std::stod(value, &used);
                if (!(o.zoom >= 0.25 && o.zoom <= 8)) return false;
            } else {
                return false;
            }
            if ((arg == "--seed" || arg == "--zoom") && used != value.size()) return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    while (o.dir.size() > 1 && o.dir.back() == '/') o.dir.pop_back();
    return true;
}

void Seed(vern::Game& game, const Options& o) {
    if (!o.seeded) return;
    game.rng.Seed(o.seed);
    game.rng.fixedSeed = true;
}

// The script plays in the window; answers come from the script, events go to standard output.
int RunScript(QApplication& app, const Options& o, std::istream& in) {
    const vern::qt::Folders folders = vern::qt::FindFolders(ExecutableFolder(), o.dir);
    vern::ScriptServices services(std::cout, folders.program);
    services.saveFolder = folders.save;
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
    Options options;
    if (!Parse(argc, argv, options)) return Usage();
    std::ifstream script;
    if (!options.script.empty()) {
        script.open(options.script);
        if (!script) {
            std::cerr << "cannot read " << options.script << '\n';
            return 2;
        }
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vernadora")));
    QApplication::setFont(vern::qt::ToFont(vern::Font{"ＭＳ Ｐゴシック", 9, false}, 1));
    if (!options.script.empty()) return RunScript(app, options, script);

    const vern::qt::Folders folders = vern::qt::FindFolders(ExecutableFolder(), options.dir);
    vern::qt::QtServices services(folders.program, folders.save);
    vern::Game game(services);
    Seed(game, options);
    // The zoom and the place the player left the window at, unless --zoom says otherwise.
    QSettings settings(QStringLiteral("vernadora"), QStringLiteral("vernadora"));
    const double saved = settings.value(QStringLiteral("zoom"), 1.0).toDouble();
    const double zoom = options.zoom > 0                                        ? options.zoom
                        : saved >= vern::qt::MainWindow::kMinZoom && saved <= 8 ? saved
                                                                                : 1.0;
    vern::qt::MainWindow window(game, zoom);
    window.ZoomTo(zoom);
    const QPoint place = settings.value(QStringLiteral("pos"), QPoint(-1, -1)).toPoint();
    if (QGuiApplication::screenAt(place + QPoint(40, 40))) window.move(place);
    services.SetWindow(&window);
    QObject::connect(&window, &vern::qt::MainWindow::ended, &app, &QApplication::quit);
    window.show();
    vern::Open(game);
    if (game.ended) return 0;
    window.Sync();
    window.StartTimer();
    const int status = app.exec();
    settings.setValue(QStringLiteral("zoom"), window.zoom());
    settings.setValue(QStringLiteral("pos"), window.pos());
    return status;
}
