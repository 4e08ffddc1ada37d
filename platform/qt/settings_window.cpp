// The settings window, built from its rows.
#include "settings_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "render.h"

namespace vern::qt {

SettingsWindow::SettingsWindow(std::vector<SettingRow> rows, std::function<void()> reset,
                               double zoom, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), reset_(std::move(reset)) {
    setObjectName(QStringLiteral("Settings"));
    setWindowTitle(QStringLiteral("設定"));
    // The game's grey and its fonts.
    FillWindow(this, ToColor(colors::kGrey));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const SettingRow& row = rows_[i];
        auto* label = new QLabel(row.label, this);
        auto* box = new QComboBox(this);
        box->setObjectName(row.name);
        box->addItems(row.choices);
        box->setAccessibleName(row.label);
        label->setBuddy(box);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(box, static_cast<int>(i), 1);
        connect(box, &QComboBox::currentIndexChanged, this, [this, i](int choice) {
            if (!refreshing_ && choice >= 0) rows_[i].choose(choice);
            Refresh();
        });
        boxes_.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("初期設定に戻す"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("Defaults"));
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Close"));
    // Enter, after a choice made with the keyboard, closes the window: every choice has already
    // applied. 初期設定に戻す is pressed only on purpose (a click, or Space on it).
    defaults->setAutoDefault(false);
    close->setDefault(true);
    connect(defaults, &QPushButton::clicked, this, [this] {
        reset_();
        Refresh();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    SetZoom(zoom);
    Refresh();
    if (!boxes_.empty()) boxes_.front()->setFocus();
}

void SettingsWindow::Refresh() {
    refreshing_ = true;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int choice = rows_[i].current();
        if (boxes_[i]->currentIndex() != choice) boxes_[i]->setCurrentIndex(choice);
        boxes_[i]->setEnabled(!rows_[i].changeable || rows_[i].changeable());
    }
    refreshing_ = false;
}

void SettingsWindow::SetZoom(double zoom) {
    setFont(PanelFont(zoom));
    // The rows' sizes in the new font first (the layout would take them only later), then the
    // window's: at a larger zoom every choice shows whole.
    layout()->activate();
    adjustSize();
}

} // namespace vern::qt
