// NameInp in Qt: a modal dialog drawn from the NameInpForm model. The player's edits and clicks
// go to the dialog's handlers in screen/name_dialog.h; after each the dialog copies the model
// back (text, caret, focus) and closes itself once the model says it is closed.
#pragma once

#include <QDialog>

#include "render.h"
// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "state/game.h"
#endif

class QLineEdit;
class QPushButton;

namespace vern::qt {

class NameDialog : public QDialog {
    Q_OBJECT
  public:
    NameDialog(Game& game, double zoom, QWidget* parent = nullptr);

    // Copies g.n onto the widgets; closes the dialog once g.n.open is false.
    void Sync();
    // A handler ended the program while the dialog was open.
    bool programEnded() const { return programEnded_; }

    // Showing puts the caret back where the model has it (Qt selects the whole text of the
    // box that takes the focus as a dialog opens).
    void setVisible(bool visible) override;

  protected:
    // The close box (and Escape) unloads the dialog.
    void reject() override;

  private:
    template <typename F> void Handle(F&& handler);

    Game& game_;
    double zoom_;
    bool programEnded_ = false;
    PictureView* picture1_ = nullptr;
    LabelView* label1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
};

} // namespace vern::qt
