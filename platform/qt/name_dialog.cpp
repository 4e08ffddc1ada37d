// The name dialog's widgets and the hand-over of every edit and click to the game.
#include "name_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <cstdlib>
#include <iostream>

#include "screen/name_dialog.h"

namespace vern::qt {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void ApplyButton(QPushButton* b, const Button& model, double zoom) {
    b->setGeometry(ToRect(model.r, zoom));
    const QString text = ToMenuText(model.Caption);
    if (b->text() != text) b->setText(text);
    b->setFont(ToFont(model.font, zoom));
    b->setEnabled(model.Enabled);
    b->setVisible(model.Visible);
}

// The caret position counts characters; Qt counts UTF-16 units.
int Utf16Index(const QString& text, int characters) {
    int index = 0;
    for (int c = 0; c < characters && index < text.size(); ++c)
        index += text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return index;
}

} // namespace

NameDialog::NameDialog(Game& game, double zoom, QWidget* parent)
    : QDialog(parent), game_(game), zoom_(zoom) {
    setObjectName(QStringLiteral("NameInp"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(game_.n.ClientWidth, zoom_), Px(game_.n.ClientHeight, zoom_));
    FillWindow(this, ToColor(colors::kGrey));

    picture1_ = new PictureView(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setAccessibleName(QStringLiteral("人物の絵"));
    label1_ = new LabelView(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAccessibleName(QStringLiteral("名前"));
    command1_ = MakeButton(this, "Command1");
    command2_ = MakeButton(this, "Command2");
    command3_ = MakeButton(this, "Command3");
    // Return in the text box presses 決定.
    command3_->setDefault(true);

    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& text) {
        Handle([&] { NameInp_Text1_Change(game_, FromText(text)); });
    });
    connect(command1_, &QPushButton::clicked, this,
            [this] { Handle([&] { NameInp_Command1_Click(game_); }); });
    connect(command2_, &QPushButton::clicked, this,
            [this] { Handle([&] { NameInp_Command2_Click(game_); }); });
    connect(command3_, &QPushButton::clicked, this,
            [this] { Handle([&] { NameInp_Command3_Click(game_); }); });
    Sync();
}

template <typename F> void NameDialog::Handle(F&& handler) {
    if (!game_.n.open) return;
    // The caret and the focus are the text box's own; the model reads them as they are now,
    // so that a handler that leaves them alone leaves them where the player put them.
    auto& box = game_.n.Text1;
    box.SelStart = static_cast<int>(text1_->text().left(text1_->cursorPosition()).toUcs4().size());
    box.focused = text1_->hasFocus();
    try {
        handler();
    } catch (const ProgramEnded&) {
        // Carried past the dialog's event loop; the caller throws it again.
        programEnded_ = true;
        done(QDialog::Rejected);
        return;
    } catch (const std::exception& e) {
        std::cerr << "vernadora: internal error: " << e.what() << std::endl;
        std::abort();
    }
    Sync();
}

void NameDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible) Sync();
}

void NameDialog::reject() {
    Handle([&] { NameInp_Form_Unload(game_); });
}

void NameDialog::Sync() {
    const NameInpForm& n = game_.n;
    const double z = zoom_;
    const QString title = ToText(n.Caption);
    if (windowTitle() != title) setWindowTitle(title);
    picture1_->Apply(n.Picture1, z);
    label1_->Apply(n.Label1, z);

    text1_->setGeometry(ToRect(n.Text1.r, z));
    text1_->setFont(ToFont(n.Text1.font, z));
    const QString text = QString::fromStdString(n.Text1.Text);
    {
        const QSignalBlocker quiet(text1_);
        if (text1_->text() != text) text1_->setText(text);
        text1_->setCursorPosition(Utf16Index(text, n.Text1.SelStart));
    }
    if (n.Text1.focused) text1_->setFocus();

    ApplyButton(command1_, n.Command1, z);
    ApplyButton(command2_, n.Command2, z);
    ApplyButton(command3_, n.Command3, z);

    if (!n.open && isVisible()) done(QDialog::Accepted);
}

} // namespace vern::qt
