#include "style.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <optional>

namespace vern::qt {

namespace {

// An icon of the style that asks the style for itself the first time it is drawn or measured.
class LazyStandardIcon : public QIconEngine {
  public:
    LazyStandardIcon(const QStyle* style, QStyle::StandardPixmap which)
        : style_(const_cast<QStyle*>(style)), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // The style's own arrows are never empty; asking must not decode them.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("vernadora.lazy"); }
    QIconEngine* clone() const override { return new LazyStandardIcon(*this); }

  private:
    const QIcon& Icon() {
        if (!icon_) icon_ = style_ ? style_->standardIcon(which_) : QIcon();
        return *icon_;
    }
    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    std::optional<QIcon> icon_;
};

class GameStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new LazyStandardIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
    // Nothing in the game's windows slides: a widget takes its new place at once. (The main
    // window would otherwise start an animation for each of its parts as it first shows.)
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Widget_Animation_Duration) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void UseGameStyle() {
    QApplication::setStyle(new GameStyle);
}

} // namespace vern::qt
