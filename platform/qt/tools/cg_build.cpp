// cg_build SRC_DIR DST_DIR: draws every SRC_DIR/**/*.svg at its own size onto white and writes it
// as DST_DIR/**/<name>.bmp, a 24-bit Windows bitmap, the form the game's picture loader reads.
// cg_build --icon SVG DST_DIR SIZE...: draws the program's icon at each size, transparent, as
// DST_DIR/<size>x<size>/apps/<name>.png (the layout of an icon theme).
// Exits with 1 when a picture cannot be drawn or written, naming it on standard error, and with 2
// (the usage on standard error) when the arguments are wrong; --help prints the usage.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream& Err() {
    static QTextStream err(stderr);
    return err;
}

// The SVG reader reports what it cannot draw as a warning; a picture that draws with a piece
// missing counts as broken.
int svgWarnings = 0;

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
        QByteArray(context.category).startsWith("qt.svg"))
        ++svgWarnings;
    Err() << text << Qt::endl;
}

// The bits per pixel written in the bitmap header, or 0 when the file is no bitmap.
int BitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray h = file.read(30);
    if (h.size() < 30 || h[0] != 'B' || h[1] != 'M') return 0;
    return static_cast<unsigned char>(h[28]) | static_cast<unsigned char>(h[29]) << 8;
}

bool Build(const QString& svgPath, const QString& bmpPath) {
    svgWarnings = 0;
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || svgWarnings > 0) {
        Err() << "cg_build: cannot read " << svgPath << Qt::endl;
        return false;
    }
    const QSize size = renderer.defaultSize();
    if (size.isEmpty()) {
        Err() << "cg_build: no size in " << svgPath << Qt::endl;
        return false;
    }
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    if (svgWarnings > 0) {
        Err() << "cg_build: " << svgPath << " draws incompletely" << Qt::endl;
        return false;
    }
    QDir().mkpath(QFileInfo(bmpPath).absolutePath());
    if (!image.save(bmpPath, "BMP")) {
        Err() << "cg_build: cannot write " << bmpPath << Qt::endl;
        return false;
    }
    if (BitsPerPixel(bmpPath) != 24) {
        Err() << "cg_build: " << bmpPath << " is not a 24-bit bitmap" << Qt::endl;
        return false;
    }
    return true;
}

bool BuildIcon(const QString& svgPath, const QDir& dst, int size) {
    svgWarnings = 0;
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || svgWarnings > 0 || size <= 0) {
        Err() << "cg_build: cannot draw " << svgPath << " at " << size << Qt::endl;
        return false;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    const QString dir = dst.absoluteFilePath(QStringLiteral("%1x%1/apps").arg(size));
    QDir().mkpath(dir);
    const QString png = dir + "/" + QFileInfo(svgPath).completeBaseName() + ".png";
    if (svgWarnings > 0 || !image.save(png, "PNG")) {
        Err() << "cg_build: cannot write " << png << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(OnMessage);
    const QStringList args = app.arguments();
    const char* usage = "usage: cg_build SRC_DIR DST_DIR\n"
                        "       cg_build --icon SVG DST_DIR SIZE...";
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
        QTextStream(stdout) << usage << Qt::endl
                            << "Draws the game's SVG pictures as the bitmaps it reads, or its "
                               "icon at each size."
                            << Qt::endl;
        return 0;
    }
    if (args.size() >= 5 && args[1] == "--icon") {
        int failed = 0;
        for (int i = 4; i < args.size(); ++i)
            if (!BuildIcon(args[2], QDir(args[3]), args[i].toInt())) ++failed;
        return failed == 0 ? 0 : 1;
    }
    if (args.size() != 3) {
        Err() << usage << Qt::endl;
        return 2;
    }
    const QDir src(args[1]);
    const QDir dst(args[2]);
    if (!src.exists()) {
        Err() << "cg_build: no folder " << args[1] << Qt::endl;
        return 2;
    }
    QStringList sources;
    QDirIterator it(src.absolutePath(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) sources << it.next();
    sources.sort();
    int failed = 0;
    for (const QString& svg : sources) {
        const QString rel = src.relativeFilePath(svg);
        const QString bmp = dst.absoluteFilePath(rel.left(rel.size() - 4) + ".bmp");
        if (!Build(svg, bmp)) ++failed;
    }
    QTextStream(stdout) << "cg_build: " << sources.size() - failed << " of " << sources.size()
                        << " pictures written to " << dst.absolutePath() << Qt::endl;
    return failed == 0 ? 0 : 1;
}
