// Every story text measured in the story label as the window draws it: Label7's own font and
// box, wrapped the way the label wraps. A text may take at most the four lines the label has
// room for, counting the lines a too-long line wraps into.
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextOption>

#include "render.h"

// moc cannot read the game's Japanese identifiers; it needs none of these.
#ifndef Q_MOC_RUN
#include "catalogue/content.h"
#include "state/form.h"
#include "story/dispatcher.h"
#include "story/scene_table.h"
#include "story/scenes.h"
#endif

namespace vern::qt::test {

class StoryTextWidthTest : public QObject {
    Q_OBJECT
  private slots:
    void everyStoryTextFitsTheLabel();
    void theMeasureWrapsWhereTheLabelDoes();
    void everyStoryTextDrawsAsShapedTextWould();
};

namespace {

struct Measure {
    QRectF box;
    QFont font;
    QImage canvas{8, 8, QImage::Format_RGB32};
    QPainter painter{&canvas};
    QTextOption option{Qt::AlignLeft | Qt::AlignTop};

    Measure() {
        const Label label = MakeForm3().Label7;
        box = QRectF(QPointF(0, 0), QSizeF(ToRect(label.r, 1).size()));
        font = ToFont(label.font, 1);
        painter.setFont(font);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    }
    // Lines the label shows for a caption, and whether they fit its height.
    int Lines(const std::string& caption, bool& fits) {
        const QRectF used = painter.boundingRect(box, ToText(caption), option);
        fits = used.height() <= box.height() && used.width() <= box.width();
        return qRound(used.height() / QFontMetricsF(font).lineSpacing());
    }
};

} // namespace

void StoryTextWidthTest::theMeasureWrapsWhereTheLabelDoes() {
    Measure m;
    // Without the game's own font every measure would be of another font: no pass, no skip.
    if (QFontInfo(m.font).family() != QStringLiteral("IPAPGothic"))
        QFAIL("the label's font IPAPGothic is not installed (tools/setup.sh installs it)");
    QCOMPARE(m.box.width(), 433.0);
    bool fits = false;
    QCOMPARE(m.Lines("あ", fits), 1);
    QCOMPARE(m.Lines("\r\r\r", fits), 4);
    QVERIFY(fits);
    QCOMPARE(m.Lines("\r\r\r\r", fits), 5);
    QVERIFY(!fits);
    QCOMPARE(m.Lines(std::string(26, 'W'), fits), 2); // a long line wraps
}

void StoryTextWidthTest::everyStoryTextFitsTheLabel() {
    Measure m;
    if (QFontInfo(m.font).family() != QStringLiteral("IPAPGothic"))
        QFAIL("the label's font IPAPGothic is not installed (tools/setup.sh installs it)");
    int checked = 0;
    for (int n = 1; n <= kSceneCount; ++n) {
        const ContentFile* file = SceneContent(n);
        QVERIFY(file);
        for (const ContentEntry& e : file->entries) {
            std::string text = e.Text();
            ExpandIndentMarks(text);
            bool fits = false;
            const int lines = m.Lines(text, fits);
            const QString where =
                QString::fromStdString(SceneFile(n)) + ":" + QString::number(e.sourceLine);
            QVERIFY2(lines <= 4 && fits,
                     qPrintable(where + ": " + QString::number(lines) + " lines: " + ToText(text)));
            ++checked;
        }
    }
    QVERIFY(checked > 39);
}

void StoryTextWidthTest::everyStoryTextDrawsAsShapedTextWould() {
    // The game's fonts skip text shaping: every story text must come out pixel for pixel as
    // the shaped text of the same font would, or the skipping changed how the game looks.
    Measure m;
    if (QFontInfo(m.font).family() != QStringLiteral("IPAPGothic"))
        QFAIL("the label's font IPAPGothic is not installed (tools/setup.sh installs it)");
    QFont shaped = m.font;
    shaped.setStyleStrategy(QFont::PreferDefault);
    QVERIFY(shaped != m.font);
    const QSize size = m.box.size().toSize() + QSize(0, 40);
    const auto draw = [&](const QFont& font, const QString& text) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(QPointF(0, 0), QSizeF(size)), text, m.option);
        return image;
    };
    int checked = 0;
    for (int n = 1; n <= kSceneCount; ++n) {
        for (const ContentEntry& e : SceneContent(n)->entries) {
            std::string text = e.Text();
            ExpandIndentMarks(text);
            const QString shown = ToText(text);
            QVERIFY2(draw(m.font, shown) == draw(shaped, shown),
                     qPrintable(QString::fromStdString(SceneFile(n)) + ":" +
                                QString::number(e.sourceLine) + ": " + shown));
            ++checked;
        }
    }
    QVERIFY(checked > 39);
}

} // namespace vern::qt::test

QTEST_MAIN(vern::qt::test::StoryTextWidthTest)
#include "story_text_width_test.moc"
