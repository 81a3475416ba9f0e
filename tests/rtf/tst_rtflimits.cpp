// Files that ask the RTF reader for much work or memory: each is read, or refused with
// a clear message, well within time and memory, and nothing of its text is lost.
#include "hostilertf.h"
#include "rtf/rtfdocumentbuilder.h"
#include "rtf/rtfpicture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ChildRun {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs the RTF tool to its end. Its time and memory on these files are measured by
// bench/rtf_hostile.sh; a reader that never ends fails by the test's time-out.
ChildRun runTool(const QStringList &arguments) {
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + u"/orvanel-rtf"_qs, arguments);
    tool.waitForFinished(-1);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            tool.readAllStandardOutput(), tool.readAllStandardError()};
}

QString regressionFolder() {
    return QStringLiteral(FUZZ_DIR "/regressions");
}

// The text a user reads: what the tool prints, pictures left out.
QString textOfDocument(const QTextDocument &document) {
    QString text = document.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

std::unique_ptr<QTextDocument> read(const QByteArray &rtf) {
    auto document = std::make_unique<QTextDocument>();
    RtfReader::readDocument(rtf, *document);
    return document;
}

// What a file of each kind says, counted in its bytes: the text the reader must give
// back whole, with line breaks left out.
QByteArray expectedText(const QString &kind, const QByteArray &file) {
    if (kind == u"many-fonts")
        return QByteArray(file.count(" a"), 'a');
    if (kind == u"font-redefined")
        return QByteArray(file.count("}}a"), 'a');
    if (kind == u"jpeg-scans")
        return "before  after";
    if (kind == u"long-paragraph")
        return QByteArray("lorem ipsum dolor sit amet ").repeated(file.count("lorem"));
    if (kind == u"unbroken-paragraph")
        return QByteArray(file.count('x'), 'x');
    return QByteArray(); // pictures: no text, only lines
}

QByteArray withoutLineBreaks(QByteArray text) {
    text.replace('\n', QByteArray());
    return text;
}

} // namespace

class tst_RtfLimits : public QObject {
    Q_OBJECT
private slots:
    void hostileFilesAreRead_data();
    void hostileFilesAreRead();
    void filesThatAreNotReadAreTold_data();
    void filesThatAreNotReadAreTold();
    void sameTextAsLibreOffice_data();
    void sameTextAsLibreOffice();
    void longParagraphsGoOnInNewOnes_data();
    void longParagraphsGoOnInNewOnes();
    void marksPastTheBudgetBecomeLineBreaks();
    void fontFamiliesPastTheBudgetTakeTheDocumentFont();
    void picturesPastTheBudgetArePlaceholders();
    void jpegScansAreCapped();

private:
    QTemporaryDir libreOfficeDir_;
    bool libreOfficeRan_ = false;
};

void tst_RtfLimits::hostileFilesAreRead_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qsizetype>("bytes");
    for (const HostileRtf::Kind &kind : HostileRtf::kinds()) {
        QTest::addRow("%s as reported", qPrintable(kind.name))
            << kind.name << HostileRtf::reportedSize(kind.name);
        QTest::addRow("%s at 20 MB", qPrintable(kind.name)) << kind.name << qsizetype(20'000'000);
    }
    for (const QFileInfo &file : QDir(regressionFolder()).entryInfoList({u"*.rtf"_qs}, QDir::Files))
        QTest::addRow("regression %s", qPrintable(file.fileName()))
            << file.absoluteFilePath() << qsizetype(0);
}

void tst_RtfLimits::hostileFilesAreRead() {
    QFETCH(QString, kind);
    QFETCH(qsizetype, bytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = kind;
    QByteArray file;
    if (bytes > 0) {
        file = HostileRtf::make(kind, bytes);
        QVERIFY(file.size() <= bytes + 64);
        path = dir.filePath(kind + u".rtf"_qs);
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file), file.size());
    }
    const ChildRun run = runTool({u"to-text"_qs, path});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    if (bytes == 0)
        return;
    if (kind == u"empty-paragraphs") {
        // Every mark is a line, and past what the editor can lay out, a space; those
        // spaces make paragraphs long enough to go on in new ones.
        const qsizetype marks = file.count("\\par");
        const qsizetype seen = run.out.count('\n') + run.out.count(' ');
        QVERIFY2(seen >= marks && seen <= marks + marks / RtfDocumentBuilder::longParagraph + 1,
                 qPrintable(u"%1 for %2 marks"_qs.arg(seen).arg(marks)));
        QVERIFY(run.out.count('\n') <= RtfDocumentBuilder::maxBreaks);
        return;
    }
    QCOMPARE(withoutLineBreaks(run.out), expectedText(kind, file));
    if (kind.endsWith(u"pictures"))
        QCOMPARE(run.out.count('\n'), file.count("\\par"));
}

void tst_RtfLimits::filesThatAreNotReadAreTold_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message");
    QTest::newRow("pipe") << u"fifo"_qs << u"is not a file that can be opened"_qs;
    QTest::newRow("endless device") << u"/dev/zero"_qs << u"is not a file that can be opened"_qs;
    QTest::newRow("folder") << u"folder"_qs << u"is not a file that can be opened"_qs;
    QTest::newRow("too large") << u"large"_qs << u"larger than the 32 MiB a diary entry can be"_qs;
    QTest::newRow("missing") << u"missing"_qs << u"does not exist"_qs;
}

void tst_RtfLimits::filesThatAreNotReadAreTold() {
    QFETCH(QString, what);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(what);
    if (what == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (what == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(what));
    } else if (what == u"large") {
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(33 * 1024 * 1024)); // sparse: no time to write
    } else if (what.startsWith(u'/')) {
        path = what;
    }
    const ChildRun run = runTool({u"to-text"_qs, path});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

void tst_RtfLimits::sameTextAsLibreOffice_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("joinLines");
    QVERIFY(libreOfficeDir_.isValid());
    QDir folder(libreOfficeDir_.path());
    folder.mkdir(u"in"_qs);
    for (const QFileInfo &file :
         QDir(regressionFolder()).entryInfoList({u"*.rtf"_qs}, QDir::Files)) {
        QFile::copy(file.absoluteFilePath(), folder.filePath(u"in/"_qs + file.fileName()));
        QTest::newRow(qPrintable(file.fileName())) << file.fileName() << false;
    }
    // Small enough for LibreOffice to read at once; long paragraphs are broken by ours
    // and not by LibreOffice, so their lines are compared joined.
    for (const HostileRtf::Kind &kind : HostileRtf::kinds()) {
        if (kind.name.endsWith(u"pictures"))
            continue; // no text to compare
        const QString name = kind.name + u".rtf"_qs;
        QFile out(folder.filePath(u"in/"_qs + name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(HostileRtf::make(kind.name, 40'000));
        QTest::newRow(qPrintable(name)) << name << kind.name.endsWith(u"paragraph");
    }
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
    if (soffice.isEmpty())
        return;
    QStringList arguments{u"-env:UserInstallation=file://"_qs + folder.filePath(u"profile"_qs),
                          u"--headless"_qs,
                          u"--convert-to"_qs,
                          u"txt:Text (encoded):UTF8"_qs,
                          u"--outdir"_qs,
                          folder.filePath(u"out"_qs)};
    for (const QFileInfo &file : QDir(folder.filePath(u"in"_qs)).entryInfoList(QDir::Files))
        arguments.append(file.absoluteFilePath());
    QProcess process;
    process.start(soffice, arguments);
    libreOfficeRan_ = process.waitForFinished(300000) && process.exitCode() == 0;
}

void tst_RtfLimits::sameTextAsLibreOffice() {
    QFETCH(QString, name);
    QFETCH(bool, joinLines);
    if (!libreOfficeRan_)
        QSKIP("LibreOffice (soffice) is not installed or could not convert");
    QFile theirs(
        libreOfficeDir_.filePath(u"out/"_qs + QFileInfo(name).completeBaseName() + u".txt"_qs));
    QVERIFY(theirs.open(QIODevice::ReadOnly));
    QString expected = QString::fromUtf8(theirs.readAll());
    expected.remove(QChar(0xFEFF));
    QFile source(libreOfficeDir_.filePath(u"in/"_qs + name));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QString ours = textOfDocument(*read(source.readAll()));
    expected.replace(u"\r\n"_qs, u"\n"_qs);
    while (expected.endsWith(u'\n'))
        expected.chop(1);
    while (ours.endsWith(u'\n'))
        ours.chop(1);
    if (joinLines) {
        expected.remove(u'\n');
        ours.remove(u'\n');
    }
    QCOMPARE(ours, expected);
}

void tst_RtfLimits::longParagraphsGoOnInNewOnes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("paragraphFormat");
    QTest::addColumn<int>("pieces");
    QString words;
    while (words.size() < 25'000)
        words += u"lorem ipsum dolor sit amet "_qs;
    QTest::newRow("words") << words << QByteArray() << 3;
    QTest::newRow("one word") << QString(25'000, u'x') << QByteArray() << 3;
    QTest::newRow("centred") << words << QByteArray("\\qc") << 3;
    QString emoji;
    while (emoji.size() < 25'001)
        emoji += QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("pairs of surrogates") << emoji << QByteArray() << 3;
    QTest::newRow("just under the limit")
        << QString(int(RtfDocumentBuilder::longParagraph), u'y') << QByteArray() << 1;
}

void tst_RtfLimits::longParagraphsGoOnInNewOnes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, paragraphFormat);
    QFETCH(int, pieces);
    QByteArray rtf = "{\\rtf1\\ansi\\pard" + paragraphFormat + " ";
    for (const QChar c : text)
        rtf += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode()))
                                  : "\\u" + QByteArray::number(qint16(c.unicode())) + "?";
    rtf += "\\par}";
    const auto document = read(rtf);
    QCOMPARE(document->blockCount(), pieces);
    QString joined;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.length() - 1 <= RtfDocumentBuilder::longParagraph);
        QVERIFY(!block.text().isEmpty() && !block.text().front().isLowSurrogate());
        if (block.next().isValid() && text.contains(u' '))
            QVERIFY(block.text().endsWith(u' ')); // broken after a word
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 paragraphFormat.isEmpty() ? Qt::AlignLeft : Qt::AlignHCenter);
        joined += block.text();
    }
    QCOMPARE(joined, text);

    // Pasted, the same: the text is whole, in pieces the editor can lay out.
    QTextDocument target;
    target.setPlainText(u"[]"_qs);
    QTextCursor cursor(&target);
    cursor.setPosition(1);
    RtfReader::readAt(rtf, cursor);
    QCOMPARE(target.toPlainText().remove(QChar::ParagraphSeparator).remove(u'\n'),
             u'[' + text + u']');
    for (QTextBlock block = target.begin(); block.isValid(); block = block.next())
        QVERIFY(block.length() - 1 <= RtfDocumentBuilder::longParagraph + 1);
}

void tst_RtfLimits::marksPastTheBudgetBecomeLineBreaks() {
    const int marks = RtfDocumentBuilder::maxParagraphs + 5;
    const auto document = read("{\\rtf1\\ansi " + QByteArray("a\\par ").repeated(marks) + "end}");
    QCOMPARE(document->blockCount(), RtfDocumentBuilder::maxParagraphs + 1);
    // Every line is there: the last paragraph holds the rest, a line each.
    const QString last = document->lastBlock().text();
    QCOMPARE(last, (u"a"_qs + QChar::LineSeparator).repeated(5) + u"end"_qs);
    QCOMPARE(document->toPlainText().count(u'a'), marks);

    // Past the breaks the editor can lay out in all, a mark is a space.
    const int many = RtfDocumentBuilder::maxBreaks + 1000;
    const auto tall = read("{\\rtf1\\ansi " + QByteArray("b\\par ").repeated(many) + "}");
    const QString text = tall->toPlainText();
    QCOMPARE(text.count(u'b'), many);
    const qsizetype breaks = text.count(u'\n');
    QVERIFY2(breaks < RtfDocumentBuilder::maxBreaks &&
                 breaks > RtfDocumentBuilder::maxBreaks * 98 / 100,
             qPrintable(QString::number(breaks)));
    QVERIFY(text.endsWith(QStringLiteral("b ").repeated(999) + u'b'));
}

void tst_RtfLimits::fontFamiliesPastTheBudgetTakeTheDocumentFont() {
    const QByteArray file = HostileRtf::make(u"many-fonts"_qs, 527'000);
    const auto document = read(file);
    QSet<QString> families;
    int withoutFamily = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QStringList names = it.fragment().charFormat().fontFamilies().toStringList();
            if (names.isEmpty())
                withoutFamily += it.fragment().length();
            else
                families.insert(names.first());
        }
    QCOMPARE(families.size(), 1000);
    QVERIFY(families.contains(u"F0"_qs) && families.contains(u"F999"_qs));
    QVERIFY(withoutFamily > 0);
    QCOMPARE(document->toPlainText().count(u'a'), file.count(" a"));
}

void tst_RtfLimits::picturesPastTheBudgetArePlaceholders() {
    // Pictures of 16 million pixels: two fit the budget of one reading. Each is to be
    // shown an inch wide and two thirds of an inch high.
    const QByteArray goal = "\\picwgoal1440\\pichgoal960";
    const QByteArray file =
        HostileRtf::make(u"large-pictures"_qs, 1'400'000).replace("\\pngblip", "\\pngblip" + goal);
    const int count = int(file.count("\\pict"));
    QVERIFY(count > 2);
    const auto document = read(file);
    QList<QTextImageFormat> pictures;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.append(it.fragment().charFormat().toImageFormat());
    QCOMPARE(pictures.size(), count);
    int shown = 0;
    for (const QTextImageFormat &picture : pictures) {
        const QImage image =
            document->resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
        if (picture.toolTip().isEmpty()) {
            ++shown;
            QCOMPARE(image.size(), QSize(4000, 4000));
        } else {
            QCOMPARE(picture.toolTip(),
                     u"Picture not shown: it has 4000 × 4000 pixels, and the pictures of one "
                     "entry may have 32 million in all. It stays in the entry and is saved "
                     "with it."_qs);
            QVERIFY(image.width() < 1000); // the placeholder, not the picture
        }
    }
    QCOMPARE(shown, int(RtfPictureDecoder::pixelBudget / (4000 * 4000)));

    // Saved, every picture's own data goes back into the file.
    const QByteArray written = RtfWriter::writeDocument(*document);
    QCOMPARE(written.count("\\pngblip"), count);
    QCOMPARE(written.count(goal), count);
    const auto again = read(written);
    QCOMPARE(textOfDocument(*again), textOfDocument(*document));
    const QByteArray firstPicture = file.mid(file.indexOf("\n", file.indexOf("\\pict")) + 1);
    const QByteArray hex = firstPicture.left(firstPicture.indexOf('}')).replace('\n', "");
    QByteArray writtenHex = written;
    writtenHex.replace('\n', "");
    // Placeholders keep the bytes they came with (the pictures shown are encoded anew).
    QVERIFY(writtenHex.count(hex) >= count - shown);
}

void tst_RtfLimits::jpegScansAreCapped() {
    const auto document = read(HostileRtf::make(u"jpeg-scans"_qs, 100'000));
    QTextImageFormat picture;
    for (auto it = document->begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            picture = it.fragment().charFormat().toImageFormat();
    QVERIFY(picture.isValid());
    QCOMPARE(picture.toolTip(),
             u"Picture not shown: it is a JPEG of more than 100 scans, which takes too long to "
             "draw. It stays in the entry and is saved with it."_qs);
    QCOMPARE(textOfDocument(*document), u"before  after"_qs);

    // An ordinary progressive JPEG of a few scans is shown.
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    QVERIFY(writer.write(image));
    const auto shown = read("{\\rtf1{\\pict\\jpegblip " + jpeg.toHex() + "}}");
    const QTextImageFormat format = [&] {
        for (auto it = shown->begin().begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
        return QTextImageFormat();
    }();
    QVERIFY(format.isValid());
    QVERIFY(format.toolTip().isEmpty());
    QCOMPARE(
        shown->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().size(),
        QSize(64, 48));
}

QTEST_MAIN(tst_RtfLimits)
#include "tst_rtflimits.moc"
