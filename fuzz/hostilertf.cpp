#include "hostilertf.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <functional>

namespace HostileRtf {
namespace {

const QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0";

// The file: a head, then `piece(i)` for i = 0, 1, ... while the file stays under
// `bytes`, then a tail. One piece at least.
QByteArray repeated(const QByteArray &start, const std::function<QByteArray(int)> &piece,
                    const QByteArray &end, qsizetype bytes) {
    QByteArray out = start;
    out.reserve(bytes + 64);
    for (int i = 0;; ++i) {
        const QByteArray next = piece(i);
        if (i > 0 && out.size() + next.size() + end.size() > bytes)
            break;
        out.append(next);
    }
    out.append(end);
    return out;
}

QByteArray hex(const QByteArray &data) {
    // Lines of 128 digits, as word processors write pictures.
    const QByteArray digits = data.toHex();
    QByteArray out;
    out.reserve(digits.size() + digits.size() / 128 + 1);
    for (qsizetype at = 0; at < digits.size(); at += 128) {
        if (at > 0)
            out.append('\n');
        out.append(digits.mid(at, 128));
    }
    return out;
}

QByteArray encoded(const QImage &image, const char *format, bool progressive = false) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return data;
}

// A flat picture: a few bytes of PNG for millions of pixels.
QByteArray flatPng(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 240));
    return encoded(image, "PNG");
}

QByteArray pictureGroups(int side, qsizetype bytes) {
    const QByteArray picture = "{\\pict\\pngblip\\picw" + QByteArray::number(side) + "\\pich" +
                               QByteArray::number(side) + "\n" + hex(flatPng(side)) + "}\\par\n";
    return repeated(
        head + "{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ", [&](int) { return picture; }, "}", bytes);
}

// A progressive JPEG whose last scan is repeated until the picture is about `bytes` long:
// each scan is a few bytes but makes a decoder walk every block of the picture again.
QByteArray manyScanJpeg(qsizetype bytes) {
    QImage image(1024, 1024, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1024, 1024);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    const QByteArray jpeg = encoded(image, "JPEG", true);

    // Find the start of the last scan (its SOS marker) and the end of picture marker.
    qsizetype lastScan = -1;
    for (qsizetype at = jpeg.indexOf("\xFF\xDA"); at >= 0; at = jpeg.indexOf("\xFF\xDA", at + 2))
        lastScan = at;
    const qsizetype end = jpeg.lastIndexOf("\xFF\xD9");
    if (lastScan < 0 || end < lastScan)
        return jpeg;
    const QByteArray scan = jpeg.mid(lastScan, end - lastScan);
    QByteArray out = jpeg.left(end);
    while (out.size() + scan.size() + 2 <= bytes)
        out.append(scan);
    out.append("\xFF\xD9");
    return out;
}

QByteArray jpegScans(qsizetype bytes) {
    const QByteArray prefix =
        head + "{\\fonttbl{\\f0 Arial;}}\\f0 before {\\pict\\jpegblip\\picw1024\\pich1024\n";
    const QByteArray suffix = "} after\\par}";
    // Hex doubles the picture's bytes, with a line end every 128 digits.
    const qsizetype room = (bytes - prefix.size() - suffix.size()) * 64 / 129;
    return prefix + hex(manyScanJpeg(std::max<qsizetype>(room, 4096))) + suffix;
}

struct Recipe {
    const char *name;
    const char *description;
    qsizetype reported;
    std::function<QByteArray(qsizetype)> make;
};

const std::vector<Recipe> &recipes() {
    static const std::vector<Recipe> list = {
        {"many-fonts", "a font table of distinct families, each used once", 527'000,
         [](qsizetype bytes) {
             // Half the file is the table, half the text that uses it.
             QByteArray table = "{\\fonttbl";
             QByteArray text;
             for (int i = 0;; ++i) {
                 const QByteArray n = QByteArray::number(i);
                 const QByteArray entry = "{\\f" + n + " F" + n + ";}";
                 const QByteArray use = "\\f" + n + " a";
                 if (head.size() + table.size() + text.size() + entry.size() + use.size() + 2 >
                     bytes)
                     break;
                 table += entry;
                 text += use;
             }
             return head + table + "}" + text + "}";
         }},
        {"font-redefined", "one font defined again before every character", 469'000,
         [](qsizetype bytes) {
             return repeated(
                 head, [](int i) { return "{\\fonttbl{\\f0 F" + QByteArray::number(i) + ";}}a"; },
                 "}", bytes);
         }},
        {"jpeg-scans", "a progressive JPEG picture with thousands of scans", 531'000, jpegScans},
        {"large-pictures", "flat 4000 x 4000 PNG pictures", 1'400'000,
         [](qsizetype bytes) { return pictureGroups(4000, bytes); }},
        {"larger-pictures", "flat 5700 x 5700 PNG pictures", 5'600'000,
         [](qsizetype bytes) { return pictureGroups(5700, bytes); }},
        {"long-paragraph", "one paragraph of words", 6'000'000,
         [](qsizetype bytes) {
             return repeated(
                 head + "{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ",
                 [](int) { return QByteArray("lorem ipsum dolor sit amet "); }, "\\par}", bytes);
         }},
        {"unbroken-paragraph", "one paragraph of one word", 6'000'000,
         [](qsizetype bytes) {
             return repeated(
                 head + "{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ",
                 [](int) { return QByteArray(1000, 'x'); }, "\\par}", bytes);
         }},
        {"empty-paragraphs", "paragraph marks and nothing else", 5'000'000,
         [](qsizetype bytes) {
             return repeated(
                 head, [](int) { return QByteArray("\\par\n"); }, "}", bytes);
         }},
    };
    return list;
}

const Recipe *find(const QString &name) {
    for (const Recipe &recipe : recipes())
        if (name == QLatin1String(recipe.name))
            return &recipe;
    return nullptr;
}

} // namespace

QList<Kind> kinds() {
    QList<Kind> list;
    for (const Recipe &recipe : recipes())
        list.append({QString::fromLatin1(recipe.name), QString::fromLatin1(recipe.description)});
    return list;
}

QByteArray make(const QString &kind, qsizetype bytes) {
    const Recipe *recipe = find(kind);
    return recipe ? recipe->make(bytes) : QByteArray();
}

qsizetype reportedSize(const QString &kind) {
    const Recipe *recipe = find(kind);
    return recipe ? recipe->reported : 0;
}

} // namespace HostileRtf
