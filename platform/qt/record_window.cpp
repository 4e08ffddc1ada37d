// The record window, read from the records themselves each time it shows.
#include "record_window.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "battle/save_file.h"
#include "main_window.h"
#include "render.h"

namespace vern::qt {

namespace {

// The box of a record's picture at 1×; it grows and shrinks with the window's zoom.
constexpr int kPictureWidth = 160;
constexpr int kPictureHeight = 128;

QString WrittenAt(long long seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString SceneOf(const SlotInfo& info) {
    QString text = QStringLiteral("場面%1").arg(info.sceneNo);
    if (!info.sceneTitle.empty()) text += QStringLiteral("　") + ToText(info.sceneTitle);
    return text;
}

} // namespace

RecordWindow::RecordWindow(Game& game, std::function<void(const std::function<void()>&)> run,
                           double zoom, QWidget* parent)
    : QDialog(parent), game_(game), run_(std::move(run)), zoom_(zoom) {
    setObjectName(QStringLiteral("Records"));
    setWindowTitle(QStringLiteral("記録"));
    setModal(true);
    FillWindow(this, ToColor(colors::kGrey));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("RecordList"));
    list_->setAccessibleName(QStringLiteral("記録の一覧"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QStringLiteral("記録"), QStringLiteral("場面"),
                            QStringLiteral("主人公"), QStringLiteral("日時")});
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (SlotId id : AllSlots()) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, ToText(SlotLabel(id)));
    }
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowChosen(); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] { Load(); });

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("RecordPicture"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setAccessibleName(QStringLiteral("記録の時の画面"));
    details_ = new QLabel(this);
    details_->setObjectName(QStringLiteral("RecordDetails"));
    details_->setTextFormat(Qt::PlainText);
    details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    details_->setWordWrap(true);
    details_->setAccessibleName(QStringLiteral("記録の中身"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("RecordStatus"));
    status_->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(QStringLiteral("ここにセーブ(&S)"), QDialogButtonBox::ActionRole);
    save_->setObjectName(QStringLiteral("Save"));
    load_ = buttons->addButton(QStringLiteral("ロード(&L)"), QDialogButtonBox::ActionRole);
    load_->setObjectName(QStringLiteral("Load"));
    delete_ = buttons->addButton(QStringLiteral("削除(&D)"), QDialogButtonBox::ActionRole);
    delete_->setObjectName(QStringLiteral("Delete"));
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {save_, load_, delete_, close}) b->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &RecordWindow::Save);
    connect(load_, &QPushButton::clicked, this, &RecordWindow::Load);
    connect(delete_, &QPushButton::clicked, this, &RecordWindow::Delete);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(picture_);
    side->addWidget(details_, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);

    SetZoom(zoom);
    Refresh();
    list_->setFocus();
}

void RecordWindow::SetZoom(double zoom) {
    zoom_ = zoom;
    const QSize room = Fit();
    resize(room.isValid() ? sizeHint().boundedTo(room) : sizeHint());
    ShowPicture();
}

void RecordWindow::ApplyZoom(double zoom) {
    setFont(PanelFont(zoom));
    list_->setMinimumHeight(list_->fontMetrics().height() * 14);
    picture_->setFixedSize(static_cast<int>(std::lround(kPictureWidth * zoom)),
                           static_cast<int>(std::lround(kPictureHeight * zoom)));
    // A party member's line whole: a name of ten wide characters and the largest hit points.
    details_->setMinimumWidth(
        std::max(picture_->width(), details_->fontMetrics().horizontalAdvance(
                                        QStringLiteral("アアアアアアアアアア　HP 999999"))));
    // Every column readable without scrolling sideways, at this zoom and with what it lists now.
    const QAbstractItemView* view = list_;
    int wide = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < list_->columnCount(); ++c)
        wide += std::max(list_->header()->sectionSizeHint(c), view->sizeHintForColumn(c));
    list_->setMinimumWidth(wide);
    layout()->activate();
}

QSize RecordWindow::Fit() {
    // The window at the game's zoom, or smaller where the screen would not show it whole: its
    // list is as wide as its longest lines, which at a large zoom (full screen on a screen
    // narrower than wide screens are) would run past the screen's edge, buttons and all.
    const QScreen* screen = this->screen();
    const QSize room = screen ? screen->availableGeometry().size() - kFrameRoom : QSize();
    double zoom = zoom_;
    ApplyZoom(zoom);
    for (int tries = 0; tries < 16 && room.isValid() && zoom > MainWindow::kMinZoom; ++tries) {
        const QSize need = sizeHint();
        if (need.width() <= room.width() && need.height() <= room.height()) break;
        // Down by what runs over, and by an eighth at least: the fonts go by whole pixels.
        const double shrink = std::min(static_cast<double>(room.width()) / need.width(),
                                       static_cast<double>(room.height()) / need.height());
        zoom = std::max(MainWindow::kMinZoom, std::min(zoom * shrink, zoom - 0.125));
        ApplyZoom(zoom);
    }
    return room;
}

void RecordWindow::Refresh() {
    const SlotId was = chosen();
    slots_ = ListSlots(game_);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const SlotInfo& info = slots_[i];
        QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(i));
        QString scene, hero, when;
        if (!info.exists)
            scene = QStringLiteral("（空き）");
        else if (info.damaged)
            scene = QStringLiteral("（壊れています）");
        else {
            scene = SceneOf(info);
            hero = ToText(info.hero);
        }
        if (info.exists) when = WrittenAt(info.writtenAt);
        item->setText(1, scene);
        item->setText(2, hero);
        item->setText(3, when);
    }
    // Longer lines make the window wider, as far as the screen allows; a size the player gave
    // it stays where the screen has room for it.
    const QSize before = size();
    const QSize room = Fit();
    const QSize wanted = before.expandedTo(sizeHint());
    resize(room.isValid() ? wanted.boundedTo(room) : wanted);
    // The window opens on the newest record the player may want, the latest autosave first.
    if (!list_->currentItem()) {
        SlotId first{SlotKind::Player, 1};
        long long newest = -1;
        for (const SlotInfo& info : slots_)
            if (info.exists && !info.damaged && info.writtenAt > newest) {
                newest = info.writtenAt;
                first = info.id;
            }
        Choose(first);
    } else {
        Choose(was);
    }
    ShowChosen();
}

SlotId RecordWindow::chosen() const {
    const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    const std::vector<SlotId> all = AllSlots();
    return row >= 0 && row < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(row)]
                                                          : SlotId{SlotKind::Player, 1};
}

void RecordWindow::Choose(SlotId id) {
    const std::vector<SlotId> all = AllSlots();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == id) list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
}

QImage RecordWindow::ReadPicture(const QString& file) {
    // Only a regular file of a picture's size: never a pipe that would block, nor a huge image.
    std::error_code ec;
    const auto path = std::filesystem::path(file.toStdString());
    if (!std::filesystem::is_regular_file(path, ec) ||
        std::filesystem::file_size(path, ec) > 1 << 20 || ec)
        return QImage();
    QImageReader reader(file, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > 2048 || size.height() > 2048) return QImage();
    // Kept no larger than its box at 4×: what is kept while the record is chosen stays small.
    const QSize most(kPictureWidth * 4, kPictureHeight * 4);
    if (size.width() > most.width() || size.height() > most.height())
        reader.setScaledSize(size.scaled(most, Qt::KeepAspectRatio));
    return reader.read();
}

void RecordWindow::ShowPicture() {
    if (pictureImage_.isNull()) {
        picture_->setPixmap(QPixmap());
        return;
    }
    // Drawn for the screen's own pixels, so that it stays sharp where they are finer.
    const qreal ratio = devicePixelRatioF();
    QImage image = pictureImage_.scaled(picture_->size() * ratio, Qt::KeepAspectRatio,
                                        Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    picture_->setPixmap(QPixmap::fromImage(image));
}

void RecordWindow::ShowChosen() {
    const SlotId id = chosen();
    const SlotInfo* info = nullptr;
    for (const SlotInfo& s : slots_)
        if (s.id == id) info = &s;
    QString text = ToText(SlotLabel(id)) + QStringLiteral("\n");
    pictureImage_ = QImage();
    if (!info || !info->exists) {
        text += QStringLiteral("（空き）");
    } else if (info->damaged) {
        text += QStringLiteral("この記録は壊れています。ロードできません。");
    } else {
        text += SceneOf(*info) + QStringLiteral("\n");
        text += QStringLiteral("主人公：") + ToText(info->hero) + QStringLiteral("\n\n");
        for (std::size_t i = 0; i < info->partyNames.size(); ++i)
            if (!info->partyNames[i].empty())
                text += QStringLiteral("%1　HP %2\n")
                            .arg(ToText(info->partyNames[i]))
                            .arg(info->partyMaxHP[i]);
        text += QStringLiteral("\n") + WrittenAt(info->writtenAt);
        pictureImage_ = ReadPicture(QString::fromStdString(PictureBeside(info->file)));
    }
    details_->setText(text);
    ShowPicture();

    const std::string why = WhySavingClosed(game_);
    const bool whole = info && info->exists && !info->damaged;
    save_->setEnabled(id.kind == SlotKind::Player && why.empty());
    load_->setEnabled(whole);
    delete_->setEnabled(id.kind == SlotKind::Player && info && info->exists);
    if (!why.empty())
        status_->setText(ToText(why));
    else if (id.kind != SlotKind::Player)
        status_->setText(QStringLiteral("セーブできるのはスロット01〜20です。"));
    else
        status_->setText(QString());
}

void RecordWindow::Save() {
    const SlotId id = chosen();
    run_([&] { AskSaveToSlot(game_, id); });
    Refresh();
}

void RecordWindow::Load() {
    const SlotId id = chosen();
    bool loaded = false;
    run_([&] { loaded = AskLoadFromSlot(game_, id); });
    if (loaded)
        accept();
    else
        Refresh();
}

void RecordWindow::Delete() {
    const SlotId id = chosen();
    run_([&] { AskDeleteSlot(game_, id); });
    Refresh();
}

void RecordWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (delete_->isEnabled()) Delete();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vern::qt
