// Message boxes, the name dialog and the beep with Qt.
#include "qt_services.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include "audio_player.h"
#include "name_dialog.h"

namespace vern::qt {

MsgAnswer QtServices::MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                             const std::string& title) {
    if (window_) window_->Sync();
    // Over the window that asked: the record window, when it is open.
    QWidget* parent = QApplication::activeModalWidget();
    QMessageBox box(parent ? parent : window_.data());
    box.setWindowTitle(ToText(title.empty() ? kDefaultTitle : title));
    box.setText(ToText(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    MainWindow::GiveKeysBackOnClose(&box);
    // Never narrower than its title needs: the title bar's font is the desktop's, so the
    // application's (which follows the zoom) with some room to spare stands in for it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int need = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 5 / 4 + 96;
        grid->addItem(new QSpacerItem(need, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons == MsgButtons::OK) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return MsgAnswer::OK;
    }
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    // Y and N answer as they do on the board (Enter is はい, Esc いいえ); the captions stay the
    // game's own.
    yes->setShortcut(QKeySequence(Qt::Key_Y));
    no->setShortcut(QKeySequence(Qt::Key_N));
    box.exec();
    return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
}

void QtServices::RunNameDialog(Game& g) {
    if (window_) window_->Sync();
    NameDialog dialog(g, window_ ? window_->zoom() : 1.0, window_);
    MainWindow::GiveKeysBackOnClose(&dialog);
    if (g.n.open) dialog.exec();
    if (dialog.programEnded()) EndProgram();
}

void QtServices::Saved(const std::string&, const std::string& picture) {
    if (window_) window_->WriteRecordPicture(QString::fromStdString(picture));
}

void QtServices::Notice(const std::string& text) {
    if (window_) window_->ShowNotice(ToText(text));
}

void QtServices::PlayMusic(const std::string& piece) {
    if (window_) window_->audio()->SetMusic(QString::fromStdString(piece));
}

void QtServices::PlaySound(const std::string& effect) {
    if (window_) window_->audio()->PlayEffect(QString::fromStdString(effect));
}

void QtServices::Beep() {
    QApplication::beep();
}

} // namespace vern::qt
