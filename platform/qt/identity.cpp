// Names, desktop entry and icon of the application.
#include "identity.h"

#include <QApplication>
#include <QIcon>

// The id of the game's menu entry (jp.vernadora.vernadora.desktop), given by the build.
#ifndef VERN_APP_ID
#define VERN_APP_ID "jp.vernadora.vernadora"
#endif

namespace vern::qt {

void IdentifyApplication(const std::string& version) {
    QCoreApplication::setOrganizationName(QStringLiteral("vernadora"));
    QCoreApplication::setApplicationName(QStringLiteral("vernadora"));
    QCoreApplication::setApplicationVersion(QString::fromStdString(version));
    // No display name: Qt would add it to every title bar ("セーブ — ヴェルナドーラ演義"), and the
    // titles are the game's own, exactly as they stand. The desktop takes the game's name from
    // its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(VERN_APP_ID));
    // The icon theme's, where the game is installed; else the one built into the program.
    QIcon builtIn;
    builtIn.addFile(QStringLiteral(":/vernadora/48x48/apps/vernadora.png"));
    builtIn.addFile(QStringLiteral(":/vernadora/256x256/apps/vernadora.png"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vernadora"), builtIn));
}

} // namespace vern::qt
