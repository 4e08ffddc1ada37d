// Drawing the board's controls from the model in one widget, and finding the control a click
// is for.
#include "board_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <QTextOption>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace vern::qt {

namespace {

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

bool SameFont(const Font& a, const Font& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold;
}

bool Same(const Label& a, const Label& b) {
    return a.Caption == b.Caption && a.BackColor == b.BackColor && a.ForeColor == b.ForeColor &&
           a.Transparent == b.Transparent && a.Visible == b.Visible && SameFont(a.font, b.font) &&
           a.r.Left == b.r.Left && a.r.Top == b.r.Top && a.r.Width == b.r.Width &&
           a.r.Height == b.r.Height;
}

bool Same(const Shape& a, const Shape& b) {
    return a.FillColor == b.FillColor && a.Visible == b.Visible && a.r.Left == b.r.Left &&
           a.r.Top == b.r.Top && a.r.Width == b.r.Width && a.r.Height == b.r.Height;
}

bool Same(const Line& a, const Line& b) {
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2 &&
           a.LineColor == b.LineColor && a.BorderWidth == b.BorderWidth && a.Visible == b.Visible;
}

bool Same(const Button& a, const Button& b) {
    return a.Caption == b.Caption && a.Enabled == b.Enabled && a.Visible == b.Visible &&
           SameFont(a.font, b.font) && a.r.Left == b.r.Left && a.r.Top == b.r.Top &&
           a.r.Width == b.r.Width && a.r.Height == b.r.Height;
}

bool Same(const PictureBox& a, const PictureBox& b) {
    return a.picture == b.picture && a.BackColor == b.BackColor && a.Visible == b.Visible &&
           a.r.Left == b.r.Left && a.r.Top == b.r.Top && a.r.Width == b.r.Width &&
           a.r.Height == b.r.Height;
}

int PenWidth(const Line& l, double zoom) {
    return std::max(1, static_cast<int>(std::lround(l.BorderWidth * zoom)));
}

QRect LineBox(const Line& l, double zoom) {
    const QPoint a(Px(l.X1, zoom), Px(l.Y1, zoom));
    const QPoint b(Px(l.X2, zoom), Px(l.Y2, zoom));
    const int pad = PenWidth(l, zoom) / 2 + 1;
    return QRect(a, b).normalized().adjusted(-pad, -pad, pad + 1, pad + 1);
}

// The board's fonts, made once for each font and zoom.
const QFont& CachedFont(const Font& f, double zoom) {
    struct Entry {
        Font font;
        double zoom;
        QFont qfont;
    };
    static Kept<std::vector<Entry>> kept;
    std::vector<Entry>& cache = *kept;
    for (const Entry& e : cache)
        if (e.zoom == zoom && SameFont(e.font, f)) return e.qfont;
    if (cache.size() > 32) cache.clear();
    cache.push_back({f, zoom, ToFont(f, zoom)});
    return cache.back().qfont;
}

// A caption laid out in its label's width, as QPainter::drawText lays out wrapped text (lines
// on whole pixels, the font's leading between them), kept for the next paint: the board paints
// the same captions again and again, and laying out Japanese text is the costly part.
const QTextLayout& LaidOut(const std::string& caption, const Font& font, double zoom, int width) {
    struct Key {
        std::string caption;
        Font font;
        double zoom;
        int width;
        bool operator==(const Key& o) const {
            return caption == o.caption && SameFont(font, o.font) && zoom == o.zoom &&
                   width == o.width;
        }
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<std::string>()(k.caption) ^ std::hash<int>()(k.width) * 31 ^
                   std::hash<double>()(k.zoom * 7 + k.font.Size);
        }
    };
    static Kept<std::unordered_map<Key, std::unique_ptr<QTextLayout>, KeyHash>> kept;
    auto& layouts = *kept;
    Key key{caption, font, zoom, width};
    auto it = layouts.find(key);
    if (it != layouts.end()) return *it->second;
    if (layouts.size() >= 512) layouts.clear();
    QString text = ToText(caption);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const QFont& qfont = CachedFont(font, zoom);
    auto layout = std::make_unique<QTextLayout>(text, qfont);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    const qreal leading = QFontMetricsF(qfont).leading();
    qreal height = -leading;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout->endLayout();
    return *layouts.emplace(std::move(key), std::move(layout)).first->second;
}

void DrawLabel(QPainter& p, const Label& l, double zoom) {
    const QRect r = ToRect(l.r, zoom);
    if (!l.Transparent) p.fillRect(r, ToColor(l.BackColor));
    if (l.Caption.empty()) return;
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setPen(ToColor(l.ForeColor));
    LaidOut(l.Caption, l.font, zoom, r.width()).draw(&p, r.topLeft());
    p.restore();
}

// A marker: a smooth circle, drawn once for each size and colour and kept.
void DrawShape(QPainter& p, const Shape& s, double zoom, qreal ratio) {
    struct Circle {
        QSize size;
        Color fill;
        qreal ratio;
        QPixmap pixmap;
    };
    static Kept<std::vector<Circle>> kept;
    std::vector<Circle>& circles = *kept;
    const QRect r = ToRect(s.r, zoom);
    auto it = std::find_if(circles.begin(), circles.end(), [&](const Circle& c) {
        return c.size == r.size() && c.fill == s.FillColor && c.ratio == ratio;
    });
    if (it == circles.end()) {
        if (circles.size() >= 64) circles.clear();
        QPixmap circle((QSizeF(r.size()) * ratio).toSize());
        circle.setDevicePixelRatio(ratio);
        circle.fill(Qt::transparent);
        QPainter painter(&circle);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(ToColor(s.FillColor));
        painter.drawEllipse(QRectF(QPointF(0, 0), QSizeF(r.size())).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.end();
        circles.push_back({r.size(), s.FillColor, ratio, circle});
        it = circles.end() - 1;
    }
    p.drawPixmap(r.topLeft(), it->pixmap);
}

void DrawLine(QPainter& p, const Line& l, double zoom) {
    p.setPen(QPen(ToColor(l.LineColor), PenWidth(l, zoom), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPoint(Px(l.X1, zoom), Px(l.Y1, zoom)), QPoint(Px(l.X2, zoom), Px(l.Y2, zoom)));
}

void DrawPictureBox(QPainter& p, const PictureBox& b, double zoom) {
    const QRect r = ToRect(b.r, zoom);
    p.save();
    p.setClipRect(r);
    p.fillRect(r, ToColor(b.BackColor));
    DrawPicture(p, b.picture, r.topLeft(), zoom);
    p.restore();
}

} // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent), wishTips_(10) {
    setObjectName(QStringLiteral("client"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void BoardView::Apply(const Form3& f, double zoom) {
    if (!applied_ || zoom != zoom_ || f.BackColor != f_.BackColor) {
        f_ = f;
        zoom_ = zoom;
        applied_ = true;
        update();
        return;
    }
    const auto dirty = [this](const QRect& a, const QRect& b) { update(a.united(b)); };
    const auto label = [&](const Label& now, Label& was) {
        if (Same(now, was)) return;
        dirty(ToRect(was.r, zoom), ToRect(now.r, zoom));
        was = now;
    };
    const auto shape = [&](const Shape& now, Shape& was) {
        if (Same(now, was)) return;
        dirty(ToRect(was.r, zoom), ToRect(now.r, zoom));
        was = now;
    };
    const auto line = [&](const Line& now, Line& was) {
        if (Same(now, was)) return;
        dirty(LineBox(was, zoom), LineBox(now, zoom));
        was = now;
    };
    line(f.Line1, f_.Line1);
    for (int i = 0; i <= 9; ++i) {
        shape(f.Shape1[i], f_.Shape1[i]);
        label(f.Label2[i], f_.Label2[i]);
        label(f.Label3[i], f_.Label3[i]);
        label(f.Label4[i], f_.Label4[i]);
        label(f.Label5[i], f_.Label5[i]);
        label(f.Label8[i], f_.Label8[i]);
    }
    for (int i = 0; i <= 4; ++i) {
        line(f.Line2[i], f_.Line2[i]);
        label(f.Label6[i], f_.Label6[i]);
    }
    label(f.Label1, f_.Label1);
    label(f.Label9, f_.Label9);
    for (int i = 0; i <= 3; ++i) {
        if (Same(f.Command1[i], f_.Command1[i])) continue;
        dirty(ToRect(f_.Command1[i].r, zoom), ToRect(f.Command1[i].r, zoom));
        f_.Command1[i] = f.Command1[i];
    }
    if (!Same(f.Picture1, f_.Picture1)) {
        dirty(ToRect(f_.Picture1.r, zoom), ToRect(f.Picture1.r, zoom));
        f_.Picture1 = f.Picture1;
    }
}

void BoardView::SetFocusSlot(int slot) {
    QRect frame;
    if (slot >= 0 && slot <= 9)
        frame = ToRect(f_.Label2[slot].r, zoom_)
                    .united(ToRect(f_.Label3[slot].r, zoom_))
                    .adjusted(-3, -3, 3, 3);
    if (frame == focusRect_) return;
    update(focusRect_.adjusted(-1, -1, 1, 1));
    update(frame.adjusted(-1, -1, 1, 1));
    focusRect_ = frame;
    focusSlot_ = slot;
}

void BoardView::SetPicking(bool picks) {
    if (picks == picking_) return;
    picking_ = picks;
    UpdateCursor(mapFromGlobal(QCursor::pos()));
}

void BoardView::SetWishTips(std::vector<QString> tips) {
    wishTips_ = std::move(tips);
    wishTips_.resize(10);
}

std::vector<BoardItem> BoardView::Items() const {
    std::vector<BoardItem> items;
    const double z = zoom_;
    const auto add = [&](bool visible, QString name, std::optional<Control> c, int index, QRect r,
                         bool through) {
        if (visible) items.push_back({std::move(name), c, index, r, through});
    };
    add(f_.Line1.Visible, QStringLiteral("Line1"), std::nullopt, 0, LineBox(f_.Line1, z), true);
    for (int i = 0; i <= 9; ++i)
        add(f_.Shape1[i].Visible, Indexed("Shape1", i), std::nullopt, i, ToRect(f_.Shape1[i].r, z),
            true);
    for (int i = 0; i <= 4; ++i)
        add(f_.Line2[i].Visible, Indexed("Line2", i), std::nullopt, i, LineBox(f_.Line2[i], z),
            true);
    for (int i = 0; i <= 4; ++i)
        add(f_.Label6[i].Visible, Indexed("Label6", i), std::nullopt, i, ToRect(f_.Label6[i].r, z),
            false);
    for (int i = 0; i <= 9; ++i) {
        add(f_.Label2[i].Visible, Indexed("Label2", i), Control::Label2, i,
            ToRect(f_.Label2[i].r, z), false);
        add(f_.Label3[i].Visible, Indexed("Label3", i), Control::Label3, i,
            ToRect(f_.Label3[i].r, z), false);
        add(f_.Label4[i].Visible, Indexed("Label4", i), Control::Label4, i,
            ToRect(f_.Label4[i].r, z), false);
    }
    for (int i = 0; i <= 9; ++i)
        add(f_.Label5[i].Visible, Indexed("Label5", i), std::nullopt, i, ToRect(f_.Label5[i].r, z),
            true);
    for (int i = 0; i <= 9; ++i)
        add(f_.Label8[i].Visible, Indexed("Label8", i), Control::Label8, i,
            ToRect(f_.Label8[i].r, z), false);
    add(f_.Label1.Visible, QStringLiteral("Label1"), std::nullopt, 0, ToRect(f_.Label1.r, z),
        false);
    add(f_.Label9.Visible, QStringLiteral("Label9"), Control::Label9, 0, ToRect(f_.Label9.r, z),
        false);
    for (int i = 0; i <= 3; ++i) {
        add(f_.Command1[i].Visible, Indexed("Command1", i), Control::Command1, i,
            ToRect(f_.Command1[i].r, z), false);
        if (f_.Command1[i].Visible) items.back().enabled = f_.Command1[i].Enabled;
    }
    add(f_.Picture1.Visible, QStringLiteral("Picture1"), Control::Picture1, 0,
        ToRect(f_.Picture1.r, z), false);
    return items;
}

std::optional<BoardItem> BoardView::ItemAt(QPoint p) const {
    // The controls that take clicks, top first, without making the whole list.
    const double z = zoom_;
    const auto at = [&](const Rect& r) { return ToRect(r, z).contains(p); };
    const auto item = [&](const char* name, Control c, int index, const Rect& r, bool enabled) {
        return BoardItem{index < 0 ? QString::fromLatin1(name) : Indexed(name, index),
                         c,
                         std::max(index, 0),
                         ToRect(r, z),
                         false,
                         enabled};
    };
    if (f_.Picture1.Visible && at(f_.Picture1.r))
        return item("Picture1", Control::Picture1, -1, f_.Picture1.r, true);
    for (int i = 3; i >= 0; --i)
        if (f_.Command1[i].Visible && at(f_.Command1[i].r))
            return item("Command1", Control::Command1, i, f_.Command1[i].r, f_.Command1[i].Enabled);
    if (f_.Label9.Visible && at(f_.Label9.r))
        return item("Label9", Control::Label9, -1, f_.Label9.r, true);
    if (f_.Label1.Visible && at(f_.Label1.r)) {
        BoardItem label1 = item("Label1", Control::Label9, -1, f_.Label1.r, true);
        label1.control.reset(); // takes the click and does nothing
        return label1;
    }
    for (int i = 9; i >= 0; --i)
        if (f_.Label8[i].Visible && at(f_.Label8[i].r))
            return item("Label8", Control::Label8, i, f_.Label8[i].r, true);
    for (int i = 9; i >= 0; --i) {
        if (f_.Label4[i].Visible && at(f_.Label4[i].r))
            return item("Label4", Control::Label4, i, f_.Label4[i].r, true);
        if (f_.Label3[i].Visible && at(f_.Label3[i].r))
            return item("Label3", Control::Label3, i, f_.Label3[i].r, true);
        if (f_.Label2[i].Visible && at(f_.Label2[i].r))
            return item("Label2", Control::Label2, i, f_.Label2[i].r, true);
    }
    for (int i = 4; i >= 0; --i)
        if (f_.Label6[i].Visible && at(f_.Label6[i].r)) {
            BoardItem label6 = item("Label6", Control::Label9, i, f_.Label6[i].r, true);
            label6.control.reset();
            return label6;
        }
    return std::nullopt;
}

QRect BoardView::RectOf(const QString& name) const {
    const double z = zoom_;
    const int cut = static_cast<int>(name.lastIndexOf(QLatin1Char('_')));
    const QString base = cut < 0 ? name : name.left(cut);
    bool ok = cut >= 0;
    const int i = cut < 0 ? 0 : name.mid(cut + 1).toInt(&ok);
    const bool row = ok && i >= 0 && i <= 9, five = ok && i >= 0 && i <= 4;
    if (name == QLatin1String("Label1")) return ToRect(f_.Label1.r, z);
    if (name == QLatin1String("Label9")) return ToRect(f_.Label9.r, z);
    if (name == QLatin1String("Picture1")) return ToRect(f_.Picture1.r, z);
    if (name == QLatin1String("Line1")) return LineBox(f_.Line1, z);
    if (base == QLatin1String("Command1") && ok && i >= 0 && i <= 3)
        return ToRect(f_.Command1[i].r, z);
    if (base == QLatin1String("Label2") && row) return ToRect(f_.Label2[i].r, z);
    if (base == QLatin1String("Label3") && row) return ToRect(f_.Label3[i].r, z);
    if (base == QLatin1String("Label4") && row) return ToRect(f_.Label4[i].r, z);
    if (base == QLatin1String("Label5") && row) return ToRect(f_.Label5[i].r, z);
    if (base == QLatin1String("Label8") && row) return ToRect(f_.Label8[i].r, z);
    if (base == QLatin1String("Shape1") && row) return ToRect(f_.Shape1[i].r, z);
    if (base == QLatin1String("Label6") && five) return ToRect(f_.Label6[i].r, z);
    if (base == QLatin1String("Line2") && five) return LineBox(f_.Line2[i], z);
    return QRect();
}

QFont BoardView::FontOf(const QString& name) const {
    const int cut = static_cast<int>(name.lastIndexOf(QLatin1Char('_')));
    const QString base = cut < 0 ? name : name.left(cut);
    bool ok = cut >= 0;
    const int i = cut < 0 ? 0 : name.mid(cut + 1).toInt(&ok);
    const bool row = ok && i >= 0 && i <= 9;
    const Font* f = nullptr;
    if (name == QLatin1String("Label1")) f = &f_.Label1.font;
    if (name == QLatin1String("Label9")) f = &f_.Label9.font;
    if (row && base == QLatin1String("Label2")) f = &f_.Label2[i].font;
    if (row && base == QLatin1String("Label3")) f = &f_.Label3[i].font;
    if (row && base == QLatin1String("Label4")) f = &f_.Label4[i].font;
    if (row && base == QLatin1String("Label5")) f = &f_.Label5[i].font;
    if (row && base == QLatin1String("Label8")) f = &f_.Label8[i].font;
    if (ok && i >= 0 && i <= 4 && base == QLatin1String("Label6")) f = &f_.Label6[i].font;
    if (ok && i >= 0 && i <= 3 && base == QLatin1String("Command1")) f = &f_.Command1[i].font;
    return f ? CachedFont(*f, zoom_) : font();
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    const double z = zoom_;
    const QRegion& area = event->region();
    for (const QRect& r : area) p.fillRect(r, ToColor(f_.BackColor));
    const auto label = [&](const Label& l) {
        if (l.Visible && area.intersects(ToRect(l.r, z))) DrawLabel(p, l, z);
    };
    if (f_.Line1.Visible && area.intersects(LineBox(f_.Line1, z))) DrawLine(p, f_.Line1, z);
    for (int i = 0; i <= 9; ++i)
        if (f_.Shape1[i].Visible && area.intersects(ToRect(f_.Shape1[i].r, z)))
            DrawShape(p, f_.Shape1[i], z, devicePixelRatioF());
    for (int i = 0; i <= 4; ++i)
        if (f_.Line2[i].Visible && area.intersects(LineBox(f_.Line2[i], z)))
            DrawLine(p, f_.Line2[i], z);
    for (int i = 0; i <= 4; ++i) label(f_.Label6[i]);
    for (int i = 0; i <= 9; ++i) {
        label(f_.Label2[i]);
        label(f_.Label3[i]);
        label(f_.Label4[i]);
    }
    for (int i = 0; i <= 9; ++i) label(f_.Label5[i]);
    for (int i = 0; i <= 9; ++i) label(f_.Label8[i]);
    label(f_.Label1);
    label(f_.Label9);
    for (int i = 0; i <= 3; ++i)
        if (f_.Command1[i].Visible && area.intersects(ToRect(f_.Command1[i].r, z)))
            DrawButton(p, i);
    DrawAdditions(p);
    if (f_.Picture1.Visible && area.intersects(ToRect(f_.Picture1.r, z)))
        DrawPictureBox(p, f_.Picture1, z);
    if (!focusRect_.isNull()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xE0, 0xA0, 0x00), 2, Qt::DashLine));
        p.drawRect(focusRect_.adjusted(1, 1, -1, -1));
    }
    if (!painted_) {
        painted_ = true;
        if (afterFirstPaint) afterFirstPaint();
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    pressed_.reset();
    if (event->button() != Qt::LeftButton) return;
    pressed_ = ItemAt(event->position().toPoint());
    if (pressed_ && pressed_->control == Control::Command1 && pressed_->enabled) {
        down_ = pressed_->index;
        update(pressed_->rect);
    }
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    std::optional<BoardItem> pressed = std::move(pressed_);
    pressed_.reset();
    if (down_ >= 0) {
        update(ToRect(f_.Command1[down_].r, zoom_));
        down_ = -1;
    }
    if (event->button() != Qt::LeftButton || !pressed || !pressed->control || !pressed->enabled)
        return;
    // A click is a press and a release on the same control.
    const std::optional<BoardItem> released = ItemAt(event->position().toPoint());
    if (!released || released->name != pressed->name) return;
    if (onClick) onClick(*pressed->control, pressed->index);
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    UpdateCursor(p);
    const std::optional<BoardItem> item = ItemAt(p);
    SetHover(item && item->control == Control::Command1 && item->enabled ? item->index : -1);
    // The unit under the pointer, for the forecast of picking it.
    int slot = -1;
    if (item && item->control &&
        (*item->control == Control::Label2 || *item->control == Control::Label3 ||
         *item->control == Control::Label4 || *item->control == Control::Label8))
        slot = item->index;
    if (slot != hoverSlot_) {
        hoverSlot_ = slot;
        if (onHoverSlot) onHoverSlot();
    }
    QWidget::mouseMoveEvent(event);
}

void BoardView::leaveEvent(QEvent* event) {
    SetHover(-1);
    if (hoverSlot_ != -1) {
        hoverSlot_ = -1;
        if (onHoverSlot) onHoverSlot();
    }
    QWidget::leaveEvent(event);
}

std::array<bool, 24> BoardView::AdditionsBasis() const {
    std::array<bool, 24> basis{};
    for (int i = 0; i <= 9; ++i) {
        basis[i] = f_.Label2[i].Caption.empty();
        basis[10 + i] = f_.Label3[i].Caption.empty();
    }
    for (int i = 0; i <= 3; ++i) {
        const Button& b = f_.Command1[i];
        basis[20 + i] = b.Visible && b.Enabled && !b.Caption.empty();
    }
    return basis;
}

void BoardView::SetAdditions(BoardAdditions additions) {
    // Every tick of the game's timer comes here: the same additions over the same board need no
    // repaint, and the board would otherwise be drawn again five times a second while it waits.
    const std::array<bool, 24> basis = AdditionsBasis();
    if (additions == additions_ && basis == additionsBasis_) return;
    additions_ = std::move(additions);
    additionsBasis_ = basis;
    // The band between the sides and the buttons' corners: repainted whole, it is small.
    update(ToRect(Rect{3100, 1380, 1000, 3100}, zoom_));
    for (int i = 0; i <= 3; ++i) update(ToRect(f_.Command1[i].r, zoom_));
}

QRect BoardView::Badge(int slot) const {
    const int top = RowTop(slot) + 15;
    return ToRect(slot < 5 ? Rect{3180, top, 420, 225} : Rect{3660, top, 390, 225}, zoom_);
}

void BoardView::DrawAdditions(QPainter& p) {
    additionRects_.clear();
    const double z = zoom_;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (additions_.keys) {
        // The key of each live button, on its corner.
        QFont font = CachedFont(Font{"ＭＳ Ｐゴシック", 7.5, true}, z);
        p.setFont(font);
        for (int i = 0; i <= 3; ++i) {
            const Button& b = f_.Command1[i];
            if (!b.Visible || !b.Enabled || b.Caption.empty()) continue;
            const QRect r = ToRect(b.r, z);
            const QRect key(r.left() + Px(30, z), r.top() + Px(30, z), Px(150, z), Px(165, z));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 40, 72, 200));
            p.drawRoundedRect(key, Px(30, z), Px(30, z));
            p.setPen(Qt::white);
            p.drawText(key, Qt::AlignCenter, QString::number(i + 1));
        }
    }
    if (!additions_.shown) {
        p.restore();
        return;
    }
    const QFont small = CachedFont(Font{"ＭＳ Ｐゴシック", 7.5, true}, z);
    p.setFont(small);
    const auto mid = [&](int slot) { return RowTop(slot % 5) + 360; };
    // The enemies' plans: an arrow from the enemy to the unit it will strike; a bracket to the
    // ally it will heal. Blue a blow, orange a blow that knocks down, purple a blow of the
    // target's own hit points, thick a doubled blow; ½ and ⅓ where the target takes less.
    for (const Intent& in : additions_.intents) {
        if (in.getsUp) continue;
        QColor colour = in.heals    ? QColor(0, 150, 60)
                        : in.holds  ? QColor(230, 120, 0)
                        : in.drains ? QColor(140, 40, 170)
                                    : QColor(30, 80, 210);
        const int width = std::max(1, static_cast<int>(std::lround((in.doubled ? 3.0 : 1.5) * z)));
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(colour);
        if (in.heals) {
            const QPoint a(Px(4020, z), Px(mid(in.enemy), z)),
                b(Px(4020, z), Px(mid(in.target), z));
            const QPoint a2(Px(4075, z), a.y()), b2(Px(4075, z), b.y());
            p.drawLine(a2, a);
            p.drawLine(a, b);
            p.drawLine(b, b2);
            const QRect plus(b.x() - Px(120, z), b.y() - Px(90, z), Px(100, z), Px(180, z));
            p.drawText(plus, Qt::AlignCenter, QStringLiteral("＋"));
            additionRects_.push_back(
                QRect(a, b).normalized().adjusted(-Px(120, z), -Px(90, z), Px(60, z), Px(90, z)));
            continue;
        }
        const QPointF from(Px(4050, z), Px(mid(in.enemy), z));
        const QPointF to(Px(3160, z), Px(mid(in.target), z));
        p.drawLine(from, to);
        // The arrowhead at the unit struck.
        const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
        const QPointF n(-d.y(), d.x());
        const double head = 90 * z / 15.0 * 1.0;
        QPolygonF arrow;
        arrow << to << to - d * head + n * head * 0.5 << to - d * head - n * head * 0.5;
        p.drawPolygon(arrow);
        QRectF box = QRectF(from, to).normalized().adjusted(-head, -head, head, head);
        QString marks;
        if (in.halved) marks = QStringLiteral("½");
        if (in.thirded) marks = QStringLiteral("⅓");
        if (in.doubled) marks += QStringLiteral("×2");
        if (in.holds) marks += QStringLiteral("止");
        if (!marks.isEmpty()) {
            const QRect label(static_cast<int>(to.x()) + Px(30, z),
                              static_cast<int>(to.y()) + Px(20, z), Px(360, z), Px(180, z));
            p.setPen(colour.darker(130));
            p.drawText(label, Qt::AlignLeft | Qt::AlignTop, marks);
            box = box.united(label);
        }
        additionRects_.push_back(box.toAlignedRect());
    }
    // Each unit's badge: the phases it acts in this turn; once every order is given, what the
    // phase leaves it with (▶: it acts in the next phase).
    for (int i = 0; i <= 9; ++i) {
        QString text;
        QColor colour(20, 20, 20);
        if (additions_.phase) {
            const PhaseForecast& f = *additions_.phase;
            const Long now = f_.Label3[i].Caption.empty() ? 0 : f.hp[i];
            if (f_.Label2[i].Caption.empty()) continue;
            if (f.dead[i]) {
                text = QStringLiteral("✕");
                colour = QColor(200, 0, 0);
            } else {
                text = QStringLiteral("→%1").arg(now);
                if (f.knockedDown[i]) text += QStringLiteral("倒");
            }
            if (f.actsNext[i]) text = QStringLiteral("▶") + text;
        } else {
            const std::vector<int>& phases = additions_.order.phases[i];
            if (phases.empty()) continue;
            for (std::size_t k = 0; k < phases.size(); ++k)
                text += (k ? QStringLiteral("·") : QString()) + QString::number(phases[k]);
            if (phases.front() == 1) colour = QColor(200, 0, 0);
        }
        const QRect badge = Badge(i);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawRoundedRect(badge, Px(30, z), Px(30, z));
        p.setPen(colour);
        p.drawText(badge, Qt::AlignCenter, text);
        additionRects_.push_back(badge);
    }
    // What picking the unit under the pointer (or the focus) would do.
    if (additions_.pick) {
        const ActionForecast& a = *additions_.pick;
        QString text;
        if (a.spent)
            text = QStringLiteral("空振り");
        else if (a.heals)
            text =
                QStringLiteral("＋%1 →%2").arg(a.targetAfter - a.targetBefore).arg(a.targetAfter);
        else
            text = QStringLiteral("−%1 →%2")
                       .arg(a.targetBefore - a.targetAfter)
                       .arg(std::max<Long>(a.targetAfter, 0));
        if (a.targetDies) text += QStringLiteral(" ✕");
        if (a.targetRevives) text += QStringLiteral(" 再起");
        if (a.knocksDown) text += QStringLiteral(" 倒");
        if (a.actorAfter < a.actorBefore)
            text += QStringLiteral(" 反−%1").arg(a.actorBefore - a.actorAfter);
        const int top = RowTop(a.target % 5) + 255;
        const QRect box = ToRect(Rect{3180, top, 870, 255}, z);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(255, 255, 230, 235));
        p.drawRoundedRect(box, Px(30, z), Px(30, z));
        p.setPen(a.targetDies ? QColor(200, 0, 0) : QColor(20, 20, 20));
        p.drawText(box, Qt::AlignCenter, text);
        additionRects_.push_back(box);
    }
    p.restore();
}

void BoardView::SetHover(int button) {
    if (button == hover_) return;
    if (hover_ >= 0) update(ToRect(f_.Command1[hover_].r, zoom_));
    if (button >= 0) update(ToRect(f_.Command1[button].r, zoom_));
    hover_ = button;
}

void BoardView::DrawButton(QPainter& p, int i) {
    const Button& b = f_.Command1[i];
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = ToRect(b.r, zoom_);
    option.text = ToMenuText(b.Caption);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (b.Enabled) {
        option.state |= QStyle::State_Enabled;
        // Held down and still under the pointer: pressed; under the pointer: lit.
        const bool held = down_ == i && hover_ == i;
        option.state |= held ? QStyle::State_Sunken : QStyle::State_Raised;
        if (hover_ == i) option.state |= QStyle::State_MouseOver;
    } else {
        option.state &= ~QStyle::State_Enabled;
        option.state |= QStyle::State_Raised;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    const QFont& font = CachedFont(b.font, zoom_);
    option.fontMetrics = QFontMetrics(font);
    DrawButtonFace(p, option, style());
    p.save();
    p.setFont(font);
    style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, nullptr);
    p.restore();
}

void BoardView::UpdateCursor(QPoint p) {
    bool hand = false;
    if (picking_) {
        const std::optional<BoardItem> item = ItemAt(p);
        hand = item && item->control &&
               (*item->control == Control::Label2 || *item->control == Control::Label3 ||
                *item->control == Control::Label4 || *item->control == Control::Label8);
    }
    const Qt::CursorShape shape = hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

bool BoardView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<BoardItem> item = ItemAt(help->pos());
        QString tip;
        if (item && item->control == Control::Label4 && item->index >= 0 && item->index <= 9 &&
            !f_.Label4[item->index].Caption.empty())
            tip = wishTips_[static_cast<std::size_t>(item->index)];
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, item->rect);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace vern::qt
