// The RTF reader and writer of the diary: what they read, what they write, and that
// damaged files neither crash nor hang them.
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <functional>
#include <memory>

namespace {

using Build = std::function<void(QTextCursor &)>;

std::unique_ptr<QTextDocument> read(const QByteArray &rtf) {
    auto document = std::make_unique<QTextDocument>();
    RtfReader::readDocument(rtf, *document);
    return document;
}

// The text as the document holds it, paragraphs apart by line feeds; non-breaking spaces
// and line separators stay as they are.
QString textOf(const QTextDocument &document) {
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The format of the character at a position.
QTextCharFormat formatAt(const QTextDocument &document, int position) {
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QByteArray pngOf(const QImage &image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QImage sampleImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 200));
    for (int x = 0; x < width; ++x)
        image.setPixelColor(x, x % height, Qt::yellow);
    return image;
}

QString dataFile(const char *name) {
    return QStringLiteral(RTF_DATA_DIR "/") + QLatin1String(name);
}

// The images of a document, in order, with their sizes as shown.
QList<QSizeF> imageSizes(const QTextDocument &document) {
    QList<QSizeF> sizes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                const QImage pixels =
                    document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                        .value<QImage>();
                if (!pixels.isNull())
                    sizes.append(QSizeF(image.width(), image.height()));
            }
        }
    }
    return sizes;
}

// The character format a case of data/formats.json or data/roundtrip.json gives: each
// of its keys that is given and not null.
QTextCharFormat formatOf(const QJsonObject &row) {
    const auto given = [&](const char *key) {
        return !row[key].isNull() && !row[key].isUndefined();
    };
    const QHash<QString, int> styles{{"single", QTextCharFormat::SingleUnderline},
                                     {"wave", QTextCharFormat::WaveUnderline},
                                     {"dotted", QTextCharFormat::DotLine},
                                     {"super", QTextCharFormat::AlignSuperScript},
                                     {"sub", QTextCharFormat::AlignSubScript}};
    QTextCharFormat format;
    if (row["bold"].toBool())
        format.setFontWeight(QFont::Bold);
    if (row["italic"].toBool())
        format.setFontItalic(true);
    if (row["strike"].toBool())
        format.setFontStrikeOut(true);
    if (given("size"))
        format.setFontPointSize(row["size"].toDouble());
    if (given("font"))
        format.setFontFamilies(QStringList{row["font"].toString()});
    if (given("underline"))
        format.setUnderlineStyle(
            QTextCharFormat::UnderlineStyle(styles.value(row["underline"].toString())));
    if (given("valign"))
        format.setVerticalAlignment(
            QTextCharFormat::VerticalAlignment(styles.value(row["valign"].toString())));
    if (given("colour"))
        format.setForeground(QColor(row["colour"].toString()));
    if (given("background"))
        format.setBackground(QColor(row["background"].toString()));
    return format;
}

// The format property a case of data/formats.json asks about (bold when it names none),
// and the value it must have there; a null value for a format left off.
std::pair<int, QVariant> askedFormat(const QJsonObject &row) {
    const std::pair<const char *, int> asked[] = {{"italic", QTextFormat::FontItalic},
                                                  {"strike", QTextFormat::FontStrikeOut},
                                                  {"size", QTextFormat::FontPointSize},
                                                  {"font", QTextFormat::FontFamilies},
                                                  {"underline", QTextFormat::TextUnderlineStyle},
                                                  {"valign", QTextFormat::TextVerticalAlignment},
                                                  {"colour", QTextFormat::ForegroundBrush},
                                                  {"background", QTextFormat::BackgroundBrush}};
    int property = QTextFormat::FontWeight;
    for (const auto &[key, named] : asked)
        property = row.contains(key) ? named : property;
    return {property, formatOf(row).property(property)};
}

QByteArray repeated(const char *piece, int times) {
    return QByteArray(piece).repeated(times);
}

} // namespace

Q_DECLARE_METATYPE(Build)

class tst_RtfCodec : public QObject {
    Q_OBJECT
private slots:
    void readsText_data();
    void readsText();
    // Reading.
    void formats_data();
    void formats();
    void picture();
    void millionOpenBraces();

    // Writing.
    void writerOutput_data();
    void writerOutput();
    void roundTrip_data();
    void roundTrip();
    void roundTripImage();
    void formFeedStartsAPage();
    void writeSelection_data();
    void writeSelection();
    void readAtPastesAsOneUndoStep_data();
    void readAtPastesAsOneUndoStep();

    // Other programs.
    void throughLibreOffice();
};

// ---------------------------------------------------------------------------------------
// Reading

// What a file's text and formats read as: data/formats.json holds cases written by hand
// and files other programs wrote (data/README.md), each with its text, a position and
// the one format asked of it there (none asked: not bold), and the alignment of that
// position's paragraph (left unless given).
void tst_RtfCodec::formats_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("pictures");
    QFile cases(dataFile("formats.json"));
    QVERIFY(cases.open(QIODevice::ReadOnly));
    const QJsonArray rows = QJsonDocument::fromJson(cases.readAll()).array();
    QVERIFY(rows.size() > 40);
    const QHash<QString, int> alignments{
        {"left", Qt::AlignLeft}, {"center", Qt::AlignHCenter}, {"right", Qt::AlignRight}};
    for (const QJsonValue &row : rows) {
        QByteArray rtf = row["rtf"].toString().toLatin1();
        if (row["file"].isString()) {
            QFile file(dataFile(qPrintable(row["file"].toString())));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            rtf = file.readAll();
        }
        const auto [property, value] = askedFormat(row.toObject());
        QTest::newRow(qPrintable(row["name"].toString()))
            << rtf << row["text"].toString() << row["at"].toInt() << property << value
            << alignments.value(row["alignment"].toString("left")) << row["pictures"].toInt();
    }
}

void tst_RtfCodec::formats() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(int, property);
    QFETCH(QVariant, value);
    QFETCH(int, alignment);
    QFETCH(int, pictures);
    const auto document = read(rtf);
    QCOMPARE(textOf(*document), text);
    QCOMPARE(formatAt(*document, position).property(property), value);
    QCOMPARE(
        int(document->findBlock(position).blockFormat().alignment() & Qt::AlignHorizontal_Mask),
        alignment);
    QCOMPARE(imageSizes(*document).size(), pictures);
}

void tst_RtfCodec::picture() {
    const QImage image = sampleImage(30, 12);
    const QByteArray hex = pngOf(image).toHex();
    // 600 by 240 twips: 40 by 16 pixels at 15 twips a pixel.
    const QByteArray rtf = "{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}"
                           "\\pngblip\\picw30\\pich12\\picwgoal600\\pichgoal240 " +
                           hex + "}}{\\nonshppict{\\pict\\wmetafile8 00}}b}";
    const auto document = read(rtf);
    QCOMPARE(textOf(*document), u"a\uFFFCb"_qs);
    QCOMPARE(imageSizes(*document), QList<QSizeF>{QSizeF(40, 16)});
    const QTextImageFormat format = formatAt(*document, 1).toImageFormat();
    const QImage stored =
        document->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
    QCOMPARE(stored.size(), image.size());
    QCOMPARE(stored.pixelColor(5, 5), image.pixelColor(5, 5));

    // Without a goal size the picture shows at its own size, scaled.
    const auto own = read("{\\rtf1{\\pict\\pngblip\\picscalex200 " + hex + "}}");
    QCOMPARE(imageSizes(*own), QList<QSizeF>{QSizeF(60, 12)});
    // JPEG too.
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    const auto jpegDocument = read("{\\rtf1{\\pict\\jpegblip " + jpeg.toHex() + "}}");
    QCOMPARE(imageSizes(*jpegDocument), QList<QSizeF>{QSizeF(30, 12)});
    // \bin data.
    const QByteArray png = pngOf(image);
    const auto binDocument =
        read("{\\rtf1{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}}");
    QCOMPARE(imageSizes(*binDocument), QList<QSizeF>{QSizeF(30, 12)});
    // Damaged data gives no picture and keeps the text.
    const auto damaged = read("{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0aff00}b}");
    QCOMPARE(textOf(*damaged), u"ab"_qs);
}

// What a file reads as: data/reading.json holds each case's RTF (its bytes as Latin-1
// characters) and the text it must give: paragraphs and symbols, code pages,
// destinations, and damage. Lone surrogates, which JSON cannot hold, are here.
void tst_RtfCodec::readsText_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QFile cases(dataFile("reading.json"));
    QVERIFY(cases.open(QIODevice::ReadOnly));
    const QJsonArray rows = QJsonDocument::fromJson(cases.readAll()).array();
    QVERIFY(rows.size() > 100);
    for (const QJsonValue &row : rows)
        QTest::newRow(qPrintable(row["name"].toString()))
            << row["rtf"].toString().toLatin1() << row["text"].toString();
    QTest::newRow("code page: lone high surrogate")
        << QByteArray("{\\rtf1 \\u-10179?x}") << QString(QChar(0xD83D)) + u'x';
    QTest::newRow("code page: lone low surrogate")
        << QByteArray("{\\rtf1 x\\u-8704?}") << u'x' + QString(QChar(0xDE00));
    QTest::newRow("damage: truncated surrogate")
        << QByteArray("{\\rtf1 a\\u-10179?") << u'a' + QString(QChar(0xD83D));
}

void tst_RtfCodec::readsText() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(*read(rtf)), text);
}

void tst_RtfCodec::millionOpenBraces() {
    const auto document = read("{\\rtf1 a" + repeated("{", 1000000) + "b");
    QCOMPARE(textOf(*document), u"ab"_qs);
    const auto closed =
        read("{\\rtf1 a" + repeated("{", 1000000) + "b" + repeated("}", 1000000) + "c}");
    QCOMPARE(textOf(*closed), u"abc"_qs);
    // Random bytes after the header: whatever they mean, reading ends.
    QByteArray noise = "{\\rtf1 ";
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.append(static_cast<char>(seed >> 24));
    }
    read(noise);
}

// ---------------------------------------------------------------------------------------
// Writing

void tst_RtfCodec::writerOutput_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written"); // what the body holds

    QTest::newRow("ascii") << u"Hello"_qs << QByteArray(" Hello\\par");
    QTest::newRow("escapes") << u"{a}\\b"_qs << QByteArray("\\{a\\}\\\\b\\par");
    QTest::newRow("1252") << u"café €"_qs << QByteArray(" caf\\'e9 \\'80\\par");
    QTest::newRow("greek") << u"α"_qs << QByteArray("\\u945?\\par");
    QTest::newRow("negative u") << u"\uFB00"_qs << QByteArray("\\u-1280?\\par");
    QTest::newRow("surrogates") << QString::fromUtf8("\xF0\x9F\x98\x80")
                                << QByteArray("\\u-10179?\\u-8704?\\par");
    QTest::newRow("tab") << u"a\tb"_qs << QByteArray(" a\\tab b\\par");
    QTest::newRow("line") << u"a\u2028b"_qs << QByteArray(" a\\line b\\par");
    QTest::newRow("paragraphs") << u"a\nb"_qs << QByteArray(" a\\par");
    QTest::newRow("nbsp") << u"a\u00A0b"_qs << QByteArray(" a\\~b\\par");
}

void tst_RtfCodec::writerOutput() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QTextDocument document;
    document.setPlainText(text);
    const QByteArray rtf = RtfWriter::writeDocument(document);
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"), rtf.constData());
    QVERIFY2(rtf.contains("{\\fonttbl{\\f0"), rtf.constData());
    QVERIFY2(rtf.contains(written), rtf.constData());
    QVERIFY2(rtf.trimmed().endsWith('}'), rtf.constData());
    for (const char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    QCOMPARE(textOf(*read(rtf)), text);
}

namespace {

// The properties the codec carries, as they show in the document.
struct Shown {
    QString family;
    double points;
    bool bold, italic, strike;
    int underline, valign;
    QColor foreground, background;
    bool operator==(const Shown &) const = default;
};

Shown shownAt(const QTextDocument &document, int position) {
    const QTextCharFormat f = formatAt(document, position);
    const QStringList families = f.fontFamilies().toStringList();
    Shown shown;
    shown.family = families.isEmpty() ? document.defaultFont().family() : families.first();
    const double points =
        f.fontPointSize() > 0 ? f.fontPointSize() : document.defaultFont().pointSizeF();
    shown.points = std::round(points * 100) / 100;
    shown.bold = f.fontWeight() >= QFont::DemiBold;
    shown.italic = f.fontItalic();
    shown.strike = f.fontStrikeOut();
    shown.underline = f.underlineStyle();
    shown.valign = f.verticalAlignment();
    shown.foreground =
        f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
    shown.background =
        f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
    return shown;
}

QString describe(const Shown &s) {
    return QStringLiteral("%1 %2pt b%3 i%4 s%5 u%6 v%7 fg %8 bg %9")
        .arg(s.family)
        .arg(s.points)
        .arg(s.bold)
        .arg(s.italic)
        .arg(s.strike)
        .arg(s.underline)
        .arg(s.valign)
        .arg(s.foreground.name(), s.background.name());
}

void setDiaryFont(QTextDocument &document) {
    document.setDefaultFont(QFont(QStringLiteral("Courier New"), 12));
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(15.75);
    document.setDefaultFont(font);
}

} // namespace

// The documents of data/roundtrip.json: segments of text, each in the formats it gives
// (as in formats.json), then the paragraphs' alignments and margins in pixels.
void tst_RtfCodec::roundTrip_data() {
    QTest::addColumn<Build>("build");
    QFile cases(dataFile("roundtrip.json"));
    QVERIFY(cases.open(QIODevice::ReadOnly));
    const QHash<QString, Qt::Alignment> alignments{{"left", Qt::AlignLeft},
                                                   {"center", Qt::AlignHCenter},
                                                   {"right", Qt::AlignRight},
                                                   {"justify", Qt::AlignJustify}};
    for (const QJsonValue &row : QJsonDocument::fromJson(cases.readAll()).array()) {
        QTest::newRow(qPrintable(row["name"].toString()))
            << Build([row, alignments](QTextCursor &cursor) {
                   for (const QJsonValue &segment : row["segments"].toArray()) {
                       const QStringList paragraphs = segment["text"].toString().split('\n');
                       for (qsizetype i = 0; i < paragraphs.size(); ++i) {
                           if (i > 0)
                               cursor.insertBlock();
                           cursor.insertText(paragraphs[i], formatOf(segment.toObject()));
                       }
                   }
                   QTextBlock block = cursor.document()->begin();
                   for (const QJsonValue &paragraph : row["paragraphs"].toArray()) {
                       QTextBlockFormat format;
                       if (paragraph["alignment"].isString())
                           format.setAlignment(alignments.value(paragraph["alignment"].toString()));
                       format.setLeftMargin(paragraph["left"].toDouble());
                       format.setRightMargin(paragraph["right"].toDouble());
                       format.setTextIndent(paragraph["indent"].toDouble());
                       format.setTopMargin(paragraph["top"].toDouble());
                       format.setBottomMargin(paragraph["bottom"].toDouble());
                       QTextCursor(block).setBlockFormat(format);
                       block = block.next();
                   }
               });
    }
    // Lone surrogates, which JSON cannot hold.
    QTest::newRow("lone surrogates") << Build([](QTextCursor &cursor) {
        cursor.insertText(u"high "_qs + QChar(0xD800) + u" low "_qs + QChar(0xDC00) +
                          u" pair \U0001F600"_qs);
    });
}

void tst_RtfCodec::roundTrip() {
    QFETCH(Build, build);
    QTextDocument original;
    setDiaryFont(original);
    {
        QTextCursor cursor(&original);
        build(cursor);
    }
    const QByteArray first = RtfWriter::writeDocument(original);

    QTextDocument back;
    setDiaryFont(back);
    RtfReader::readDocument(first, back);
    QCOMPARE(textOf(back), textOf(original));
    QCOMPARE(back.blockCount(), original.blockCount());
    for (int i = 0; i < original.characterCount() - 1; ++i) {
        if (original.characterAt(i) == QChar::ParagraphSeparator)
            continue;
        const Shown want = shownAt(original, i);
        const Shown got = shownAt(back, i);
        QVERIFY2(want == got, qPrintable(QStringLiteral("at %1: %2 instead of %3")
                                             .arg(i)
                                             .arg(describe(got), describe(want))));
    }
    for (QTextBlock a = original.begin(), b = back.begin(); a.isValid() && b.isValid();
         a = a.next(), b = b.next()) {
        const QTextBlockFormat fa = a.blockFormat();
        const QTextBlockFormat fb = b.blockFormat();
        QCOMPARE(int(fb.alignment() & Qt::AlignHorizontal_Mask),
                 int(fa.alignment() & Qt::AlignHorizontal_Mask));
        QCOMPARE(fb.leftMargin(), fa.leftMargin());
        QCOMPARE(fb.rightMargin(), fa.rightMargin());
        QCOMPARE(fb.textIndent(), fa.textIndent());
        QCOMPARE(fb.topMargin(), fa.topMargin());
        QCOMPARE(fb.bottomMargin(), fa.bottomMargin());
    }

    // Written again, the same bytes.
    QCOMPARE(RtfWriter::writeDocument(back), first);
}

void tst_RtfCodec::formFeedStartsAPage() {
    QTextDocument original;
    setDiaryFont(original);
    QTextCursor(&original).insertText(u"first page\fsecond page"_qs);
    const QByteArray written = RtfWriter::writeDocument(original);
    QVERIFY(written.contains("first page\\page second page"));
    const auto back = read(written);
    QCOMPARE(textOf(*back), u"first page\nsecond page"_qs);
    QVERIFY(back->lastBlock().blockFormat().pageBreakPolicy() &
            QTextFormat::PageBreak_AlwaysBefore);
}

void tst_RtfCodec::roundTripImage() {
    QTextDocument original;
    setDiaryFont(original);
    const QImage image = sampleImage(24, 10);
    original.addResource(QTextDocument::ImageResource, QUrl(u"diary:picture"_qs), image);
    QTextCursor cursor(&original);
    cursor.insertText(u"before "_qs);
    QTextImageFormat format;
    format.setName(u"diary:picture"_qs);
    format.setWidth(48);
    format.setHeight(20);
    cursor.insertImage(format);
    cursor.insertText(u" after"_qs);

    const QByteArray rtf = RtfWriter::writeDocument(original);
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw24\\pich10\\picwgoal720\\pichgoal300"));
    const auto back = read(rtf);
    QCOMPARE(textOf(*back), u"before \uFFFC after"_qs);
    QCOMPARE(imageSizes(*back), QList<QSizeF>{QSizeF(48, 20)});
    const QImage stored = back->resource(QTextDocument::ImageResource,
                                         QUrl(formatAt(*back, 7).toImageFormat().name()))
                              .value<QImage>();
    QCOMPARE(stored.convertToFormat(QImage::Format_RGB32), image);
    QCOMPARE(RtfWriter::writeDocument(*back), rtf);
}

void tst_RtfCodec::writeSelection_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text");
    // "one two three" / "second line": positions 0-12, 13 is the mark, 14-24.
    QTest::newRow("within a paragraph") << 4 << 12 << u"two thre"_qs;
    QTest::newRow("across paragraphs") << 8 << 17 << u"three\nsec"_qs;
    QTest::newRow("whole first paragraph with mark") << 0 << 14 << u"one two three\n"_qs;
    QTest::newRow("no selection") << 3 << 3 << QString();
    QTest::newRow("everything") << 0 << 25 << u"one two three\nsecond line"_qs;
}

void tst_RtfCodec::writeSelection() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);
    QTextDocument document;
    document.setPlainText(u"one two three\nsecond line"_qs);
    QTextCursor bold(&document);
    bold.setPosition(4);
    bold.setPosition(7, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    bold.mergeCharFormat(format);

    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QByteArray rtf = RtfWriter::writeSelection(cursor);
    QVERIFY(RtfReader::isRtf(rtf));

    // Pasted into an empty document, exactly the selection.
    QTextDocument target;
    QTextCursor at(&target);
    RtfReader::readAt(rtf, at);
    QCOMPARE(textOf(target), text);
    if (start <= 4 && end >= 7)
        QCOMPARE(formatAt(target, 4 - start).fontWeight(), int(QFont::Bold));
}

void tst_RtfCodec::readAtPastesAsOneUndoStep_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text");

    QTest::newRow("words") << QByteArray("{\\rtf1 {\\b XY}Z}") << 5 << 5 << u"HelloXYZ world"_qs;
    QTest::newRow("replaces selection") << QByteArray("{\\rtf1 XYZ}") << 1 << 10 << u"HXYZd"_qs;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 A\\par B}") << 5 << 5
                                << u"HelloA\nB world"_qs;
    QTest::newRow("ends with mark")
        << QByteArray("{\\rtf1 A\\par}") << 5 << 5 << u"HelloA\n world"_qs;
    QTest::newRow("nothing") << QByteArray("{\\rtf1 }") << 5 << 5 << u"Hello world"_qs;
}

void tst_RtfCodec::readAtPastesAsOneUndoStep() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);
    QTextDocument document;
    document.setPlainText(u"Hello world"_qs);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCursor(&document).setBlockFormat(centred);
    document.clearUndoRedoStacks();

    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    RtfReader::readAt(rtf, cursor);
    QCOMPARE(textOf(document), text);
    // The text after the cursor keeps its paragraph's format.
    QCOMPARE(document.lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
    if (text != u"Hello world"_qs) {
        document.undo();
        QCOMPARE(textOf(document), u"Hello world"_qs);
        QVERIFY(!document.isUndoAvailable());
    }
}

// ---------------------------------------------------------------------------------------
// Other programs

void tst_RtfCodec::throughLibreOffice() {
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QTextDocument original;
    setDiaryFont(original);
    QTextCursor cursor(&original);
    cursor.insertText(u"Plain "_qs);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(u"bold"_qs, bold);
    cursor.insertText(u" Ελληνικά Русский 日本語 {braces} \\back"_qs, QTextCharFormat());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(u"second paragraph, café"_qs);
    const QString ours = dir.filePath(u"ours.rtf"_qs);
    {
        QFile out(ours);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(RtfWriter::writeDocument(original));
    }

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(soffice, {u"-env:UserInstallation=file://"_qs + dir.filePath(u"profile"_qs),
                            u"--headless"_qs, u"--convert-to"_qs, u"rtf:Rich Text Format"_qs,
                            u"--outdir"_qs, dir.filePath(u"out"_qs), ours});
    QVERIFY(process.waitForStarted());
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        QFAIL("LibreOffice did not finish within three minutes");
    }
    QFile converted(dir.filePath(u"out/ours.rtf"_qs));
    QVERIFY2(converted.open(QIODevice::ReadOnly), process.readAll().constData());
    const auto back = read(converted.readAll());
    QCOMPARE(textOf(*back), textOf(original));
    QCOMPARE(formatAt(*back, 7).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(*back, 2).fontWeight(), int(QFont::Normal));
    QCOMPARE(back->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

QTEST_MAIN(tst_RtfCodec)
#include "tst_rtfcodec.moc"
