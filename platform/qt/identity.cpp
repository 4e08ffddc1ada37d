// Names, desktop entry and icon of the application.
#include "identity.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

// The id of the game's menu entry (jp.vernadora.vernadora.desktop), given by the build.
#ifndef VERN_APP_ID
#define VERN_APP_ID "jp.vernadora.vernadora"
#endif

namespace vern::qt {

namespace {

// Adds the size × size icon built into the program, read as the PNG it is: a file name alone
// would have Qt ask every image plugin whether it can read it, loading each with its
// libraries.
void AddBuiltIn(QIcon& icon, int size) {
    QImageReader reader(QStringLiteral(":/vernadora/%1x%1/apps/vernadora.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
}

} // namespace

void IdentifyApplication(const std::string& version) {
    QCoreApplication::setOrganizationName(QStringLiteral("vernadora"));
    QCoreApplication::setApplicationName(QStringLiteral("vernadora"));
    QCoreApplication::setApplicationVersion(QString::fromStdString(version));
    // No display name: Qt would add it to every title bar ("セーブ — ヴェルナドーラ演義"), and the
    // titles are the game's own, exactly as they stand. The desktop takes the game's name from
    // its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(VERN_APP_ID));
    QIcon small;
    AddBuiltIn(small, 48);
    QApplication::setWindowIcon(small);
}

void UseFullIcon() {
    QIcon builtIn;
    for (const int size : {48, 256}) AddBuiltIn(builtIn, size);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vernadora"), builtIn));
}

} // namespace vern::qt
