// Drawing the window model in Qt: twips to pixels, colours, fonts, texts, pictures, and the
// small widgets that stand for the game's labels, shapes, lines and picture boxes. Nothing
// here decides anything; every widget copies its look from one control of the model.
#pragma once

#include <QImage>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <string>

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "state/form.h"
#endif

class QPainter;
class QStyle;
class QStyleOptionButton;

namespace vern::qt {

// The most a window manager's frame takes around a window: its sides, and its title bar with
// the bottom edge. A window of the game's is made to fit the screen with this room to spare.
inline constexpr QSize kFrameRoom(16, 48);

// Twips to pixels at the given zoom (15 twips to a pixel at zoom 1).
int Px(int twips, double zoom);
// A control's box in pixels. Edges are converted one by one, so neighbouring controls meet.
QRect ToRect(const Rect& r, double zoom);
QColor ToColor(Color c);
// The game's fonts mapped to their metric-compatible IPA fonts; pixel size = points × 4/3 × zoom.
QFont ToFont(const Font& f, double zoom);
// The text of the game's own windows and panels (settings, records, the key list) at a zoom.
QFont PanelFont(double zoom);
// A caption for display: CR (and CR LF) starts a new line.
QString ToText(const std::string& caption);
// A button or menu caption: as ToText, with '&' kept literal.
QString ToMenuText(const std::string& caption);
std::string FromText(const QString& text);
// Fills w's background with colour (a window of the game's own: the name dialog, the settings
// and record windows).
void FillWindow(QWidget* w, const QColor& colour);

// The picture to draw for p: read from p.path (cached by path), or the built-in fallback
// when p names it or the file cannot be decoded; a null image when p is empty.
QImage PictureImage(const Picture& p);
// Whether Qt can decode the picture file at path (the result is cached with the picture).
bool CanDraw(const std::string& path);
// The built-in 130 × 162 fallback picture.
const QImage& FallbackImage();
// Draws p with its top left corner at topLeft, scaled by zoom.
void DrawPicture(QPainter& painter, const Picture& p, QPoint topLeft, double zoom);

// The drawings the window keeps from one paint to the next (fonts, captions laid out, markers,
// button faces, decoded pictures) are all dropped at once, so that the next paint makes each
// anew, as the first paint of a new process does (and, like it, has nothing old to let go). The
// window benchmark forgets them before each start it times.
void ForgetDrawings();

// Something the window keeps from one paint to the next (a container), emptied when the
// drawings are forgotten. Each lives as a function's static: it joins the list ForgetDrawings
// empties when first used, and leaves it when the program ends.
class KeptBase {
  public:
    KeptBase(const KeptBase&) = delete;
    KeptBase& operator=(const KeptBase&) = delete;

  protected:
    KeptBase();
    virtual ~KeptBase();

  private:
    friend void ForgetDrawings();
    virtual void Forget() = 0;
};

template <class Container> class Kept final : public KeptBase {
  public:
    Kept() = default;
    ~Kept() override = default;
    Container& operator*() { return items_; }

  private:
    void Forget() override { items_ = Container(); }
    Container items_;
};

// Draws a push button's face (not its caption) as the style draws it for option; from its second
// time on, from a copy kept for each size, state and palette: the style's rounded, shaded face
// is the most costly thing on the window, and its buttons share a few sizes.
void DrawButtonFace(QPainter& painter, const QStyleOptionButton& option, const QStyle* style);

// A push button that looks exactly like any other, but keeps the style's drawing of its face
// for each size and state and only draws its caption anew: the window's buttons share a few
// sizes, and the style's rounded, shaded face is the most costly thing on the board.
class FaceButton : public QPushButton {
  public:
    using QPushButton::QPushButton;
    // Drawn with the focus frame while the keys have chosen it (a story choice).
    void SetMarked(bool marked) {
        if (marked_ == marked) return;
        marked_ = marked;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    bool marked_ = false;
};

// A label: back colour or transparent, word-wrapped caption at the top left.
class LabelView : public QWidget {
    Q_OBJECT
  public:
    explicit LabelView(QWidget* parent) : QWidget(parent) {}
    void Apply(const Label& model, double zoom);
    // The text it shows now.
    QString text() const;
    // What a screen reader reads of it: the whole text, also while it types itself out; a new
    // one is announced on the accessibility bus.
    void SetSpokenText(const QString& text);
    QString spokenText() const { return spoken_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    Label model_;
    QString spoken_;
    double zoom_ = 1;
    bool applied_ = false;
    bool pressed_ = false;
};

// A picture box (back colour and its picture at the top left) or, with no back colour, an
// image holder.
class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent) : QWidget(parent) {}
    void Apply(const PictureBox& model, double zoom);
    void Apply(const Image& model, double zoom);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void Show(const Rect& r, const Picture& p, bool opaque, Color back, bool visible, double zoom);
    Picture picture_;
    bool opaque_ = false;
    Color back_ = colors::kGrey;
    double zoom_ = 1;
    bool pressed_ = false;
};

} // namespace vern::qt
