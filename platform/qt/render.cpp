// Drawing the window model's controls with Qt.
#include "render.h"

#include <QAccessible>
#include <QHash>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QRadialGradient>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vern::qt {

int Px(int twips, double zoom) {
    return static_cast<int>(std::lround(twips * zoom / 15.0));
}

QRect ToRect(const Rect& r, double zoom) {
    const int left = Px(r.Left, zoom);
    const int top = Px(r.Top, zoom);
    return QRect(left, top, Px(r.Left + r.Width, zoom) - left, Px(r.Top + r.Height, zoom) - top);
}

QColor ToColor(Color c) {
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

QFont ToFont(const Font& f, double zoom) {
    QString family = QString::fromStdString(f.Name);
    if (f.Name == "ＭＳ Ｐゴシック")
        family = QStringLiteral("IPAPGothic");
    else if (f.Name == "ＭＳ Ｐ明朝")
        family = QStringLiteral("IPAPMincho");
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(f.Size * 4.0 / 3.0 * zoom))));
    font.setBold(f.Bold);
    // The game writes Japanese, Latin letters and digits, none of which needs shaping, and its
    // fonts carry no kerning: each glyph is looked up and placed by its own width, the same
    // pixels for a fraction of the work.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont PanelFont(double zoom) {
    return ToFont(Font{"ＭＳ Ｐゴシック", 10.5, true}, zoom);
}

QString ToText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

QString ToMenuText(const std::string& caption) {
    QString text = ToText(caption);
    text.replace(QChar('&'), QStringLiteral("&&"));
    return text;
}

std::string FromText(const QString& text) {
    return text.toStdString();
}

namespace {

// An original picture of our own: a dusk gradient with a ringed four-pointed star.
QImage MakeFallback() {
    QImage img(kFallbackWidthPx, kFallbackHeightPx, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, img.height());
    sky.setColorAt(0.0, QColor(38, 52, 96));
    sky.setColorAt(0.55, QColor(112, 96, 150));
    sky.setColorAt(1.0, QColor(236, 206, 170));
    p.fillRect(img.rect(), sky);

    const QPointF centre(img.width() / 2.0, img.height() * 0.42);
    QRadialGradient glow(centre, 52);
    glow.setColorAt(0.0, QColor(255, 244, 214, 170));
    glow.setColorAt(1.0, QColor(255, 244, 214, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 52, 52);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(250, 226, 160), 2.5));
    p.drawEllipse(centre, 34, 34);
    p.setPen(QPen(QColor(250, 226, 160, 140), 1));
    p.drawEllipse(centre, 40, 40);

    QPainterPath star;
    constexpr double kPi = 3.14159265358979323846;
    for (int i = 0; i < 8; ++i) {
        const double radius = i % 2 == 0 ? 28 : 8;
        const double angle = -kPi / 2 + i * kPi / 4;
        const QPointF pt(centre.x() + radius * std::cos(angle),
                         centre.y() + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(120, 80, 40), 1));
    p.setBrush(QColor(255, 236, 176));
    p.drawPath(star);

    // A low horizon of hills under the emblem.
    QPainterPath hills;
    hills.moveTo(0, img.height());
    hills.lineTo(0, img.height() * 0.82);
    hills.quadTo(img.width() * 0.3, img.height() * 0.72, img.width() * 0.55, img.height() * 0.84);
    hills.quadTo(img.width() * 0.8, img.height() * 0.76, img.width(), img.height() * 0.8);
    hills.lineTo(img.width(), img.height());
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 60, 96, 200));
    p.drawPath(hills);
    return img;
}

} // namespace

namespace {
std::vector<KeptBase*>& AllKept() {
    static std::vector<KeptBase*> all;
    return all;
}
} // namespace

KeptBase::KeptBase() {
    AllKept().push_back(this);
}

KeptBase::~KeptBase() {
    std::vector<KeptBase*>& all = AllKept();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void ForgetDrawings() {
    for (KeptBase* kept : AllKept()) kept->Forget();
}

const QImage& FallbackImage() {
    static const QImage image = MakeFallback();
    return image;
}

namespace {

// Every picture file decoded once; a file Qt cannot decode is held as a null image.
const QImage& DecodedFile(const std::string& file) {
    static Kept<QHash<QString, QImage>> kept;
    QHash<QString, QImage>& cache = *kept;
    const QString path = QString::fromStdString(file);
    auto it = cache.find(path);
    if (it == cache.end()) it = cache.insert(path, QImage(path, "BMP"));
    return *it;
}

} // namespace

bool CanDraw(const std::string& path) {
    return !DecodedFile(path).isNull();
}

QImage PictureImage(const Picture& p) {
    if (p.name.empty()) return QImage();
    if (p.name == "fallback" || p.path.empty()) return FallbackImage();
    const QImage& image = DecodedFile(p.path);
    return image.isNull() ? FallbackImage() : image;
}

void DrawPicture(QPainter& painter, const Picture& p, QPoint topLeft, double zoom) {
    const QImage image = PictureImage(p);
    if (image.isNull()) return;
    const QSize size(static_cast<int>(std::lround(image.width() * zoom)),
                     static_cast<int>(std::lround(image.height() * zoom)));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom != std::floor(zoom));
    painter.drawImage(QRect(topLeft, size), image);
}

namespace {

bool SameFont(const Font& a, const Font& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold;
}

bool SameLook(const Label& a, const Label& b) {
    return a.Caption == b.Caption && a.BackColor == b.BackColor && a.ForeColor == b.ForeColor &&
           a.Transparent == b.Transparent && SameFont(a.font, b.font);
}

// A click is a press and a release of the left button inside the widget.
bool ClickEnds(QWidget* w, QMouseEvent* e, bool& pressed) {
    const bool was = pressed;
    pressed = false;
    return was && e->button() == Qt::LeftButton && w->rect().contains(e->position().toPoint());
}

} // namespace

void FillWindow(QWidget* w, const QColor& colour) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

void DrawButtonFace(QPainter& painter, const QStyleOptionButton& option, const QStyle* style) {
    // The face depends on the size, the state and the colours, never on the caption.
    constexpr QStyle::State kFaceStates = QStyle::State_Enabled | QStyle::State_Sunken |
                                          QStyle::State_On | QStyle::State_MouseOver |
                                          QStyle::State_HasFocus | QStyle::State_Raised;
    constexpr QPalette::ColorRole kRoles[] = {
        QPalette::Button, QPalette::Window, QPalette::Light,     QPalette::Midlight, QPalette::Mid,
        QPalette::Dark,   QPalette::Shadow, QPalette::Highlight, QPalette::Base};
    struct Face {
        QSize size;
        int state, features;
        qreal ratio;
        std::array<QRgb, std::size(kRoles)> colours;
        const QStyle* style;
        QPixmap pixmap;
    };
    // A face seen for the first time is drawn straight: the first paint draws each of its
    // buttons once, and making a copy costs more than the drawing. The copy is made when the
    // face comes again. On a screen scaled by a fraction a copy would not fall on the same
    // pixels, so there every face is drawn straight.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (ratio != std::round(ratio)) {
        style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, nullptr);
        return;
    }
    static Kept<std::vector<Face>> kept;
    std::vector<Face>& faces = *kept;
    Face key{option.rect.size(),
             static_cast<int>(option.state & kFaceStates),
             static_cast<int>(option.features),
             ratio,
             {},
             style,
             {}};
    for (std::size_t i = 0; i < std::size(kRoles); ++i)
        key.colours[i] = option.palette.color(kRoles[i]).rgba();
    const auto same = [&key](const Face& f) {
        return f.size == key.size && f.state == key.state && f.features == key.features &&
               f.ratio == key.ratio && f.colours == key.colours && f.style == key.style;
    };
    auto it = std::find_if(faces.begin(), faces.end(), same);
    if (it == faces.end()) {
        if (faces.size() >= 64) faces.clear();
        faces.push_back(key);
        style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, nullptr);
        return;
    }
    if (it->pixmap.isNull()) {
        QPixmap face((QSizeF(key.size) * ratio).toSize());
        face.setDevicePixelRatio(ratio);
        face.fill(Qt::transparent);
        QPainter p(&face);
        QStyleOptionButton at = option;
        at.rect = QRect(QPoint(0, 0), key.size);
        style->drawControl(QStyle::CE_PushButtonBevel, &at, &p, nullptr);
        p.end();
        it->pixmap = face;
    }
    painter.drawPixmap(option.rect.topLeft(), it->pixmap);
}

void FaceButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    QStylePainter painter(this);
    DrawButtonFace(painter, option, style());
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
    if (marked_) {
        // The keys' choice: a frame that reads at a glance.
        painter.setPen(QPen(QColor(230, 120, 0), std::max(2, height() / 16)));
        painter.setBrush(Qt::NoBrush);
        const int inset = std::max(2, height() / 14);
        painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void LabelView::Apply(const Label& model, double zoom) {
    setGeometry(ToRect(model.r, zoom));
    const bool rescaled = zoom != zoom_;
    if (!applied_ || rescaled || !SameFont(model.font, model_.font))
        setFont(ToFont(model.font, zoom));
    if (!applied_ || rescaled || !SameLook(model, model_)) update();
    model_ = model;
    zoom_ = zoom;
    applied_ = true;
    setVisible(model.Visible);
}

QString LabelView::text() const {
    return ToText(model_.Caption);
}

void LabelView::SetSpokenText(const QString& text) {
    if (text == spoken_) return;
    const QString before = spoken_;
    spoken_ = text;
    if (!QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent update(this, 0, before, text);
    QAccessible::updateAccessibility(&update);
    QAccessibleEvent name(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

void LabelView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!model_.Transparent) p.fillRect(rect(), ToColor(model_.BackColor));
    if (model_.Caption.empty()) return;
    p.setPen(ToColor(model_.ForeColor));
    p.setFont(font());
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.drawText(QRectF(rect()), ToText(model_.Caption), option);
}

void LabelView::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->button() == Qt::LeftButton;
}

void LabelView::mouseReleaseEvent(QMouseEvent* e) {
    if (ClickEnds(this, e, pressed_)) emit clicked();
}

void PictureView::Apply(const PictureBox& model, double zoom) {
    Show(model.r, model.picture, true, model.BackColor, model.Visible, zoom);
}

void PictureView::Apply(const Image& model, double zoom) {
    Show(model.r, model.picture, false, colors::kGrey, model.Visible, zoom);
}

void PictureView::Show(const Rect& r, const Picture& p, bool opaque, Color back, bool visible,
                       double zoom) {
    setGeometry(ToRect(r, zoom));
    if (p != picture_ || opaque != opaque_ || back != back_ || zoom != zoom_) update();
    picture_ = p;
    opaque_ = opaque;
    back_ = back;
    zoom_ = zoom;
    setVisible(visible);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (opaque_) p.fillRect(rect(), ToColor(back_));
    DrawPicture(p, picture_, QPoint(0, 0), zoom_);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->button() == Qt::LeftButton;
}

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
    if (ClickEnds(this, e, pressed_)) emit clicked();
}

} // namespace vern::qt
