#include "rtf/rtfwriter.h"

#include "rtf/codec/codepages.h"
#include "rtf/codec/twips.h"
#include "rtf/rtfpicture.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>
#include <vector>

namespace {

// The character properties that RTF carries, as we write them.
struct RunProps {
    int font = 0;
    int size = 1200;    // hundredths of a point
    int foreground = 0; // colour table index, 0 for automatic
    int background = 0;
    int underline = QTextCharFormat::NoUnderline;
    int verticalAlign = QTextCharFormat::AlignNormal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    bool operator==(const RunProps &) const = default;
};

const char *underlineWord(int style) {
    switch (style) {
    case QTextCharFormat::SingleUnderline:
        return "\\ul";
    case QTextCharFormat::DashUnderline:
        return "\\uldash";
    case QTextCharFormat::DotLine:
        return "\\uld";
    case QTextCharFormat::DashDotLine:
        return "\\uldashd";
    case QTextCharFormat::DashDotDotLine:
        return "\\uldashdd";
    case QTextCharFormat::WaveUnderline:
        return "\\ulwave";
    default: // no underline, and the marks of the spelling checker
        return nullptr;
    }
}

class Writer {
public:
    explicit Writer(const QTextDocument &document)
        : document_(document), defaultFont_(document.defaultFont()),
          twipsPerPixel_(TwipsPerPixel::ofScreen()) {}

    // Writes the characters from `from` up to `to`; a paragraph whose mark lies in the
    // range ends with \par (the whole document: every paragraph, the last one too).
    QByteArray write(int from, int to);

    // The same in steps: begin, each paragraph in turn (false once the range ended inside
    // it), then the whole file with its font and colour tables.
    void begin(int characters);
    bool writeBlock(const QTextBlock &block, int from, int to);
    QByteArray finish();

private:
    void word(const char *text) {
        out_.append(text);
        space_ = true;
    }
    void word(const char *text, long long value) {
        out_.append(text);
        out_.append(QByteArray::number(value));
        space_ = true;
    }
    // Before raw text: the space that ends the control word before it.
    void delimit() {
        if (space_) {
            out_.append(' ');
            space_ = false;
        }
    }
    void paragraph(const QTextBlockFormat &format);
    void runFormat(const QTextCharFormat &format);
    void characters(const QString &text, qsizetype from, qsizetype to);
    void character(char16_t c);
    void picture(const QTextImageFormat &format);
    bool originalPicture(const QTextImageFormat &format);
    void pictureGroup(const char *type, const QByteArray &data, QSize pixels, QSizeF shown);
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    static void escapedName(QByteArray &out, const QString &name);

    const QTextDocument &document_;
    QFont defaultFont_;
    TwipsPerPixel twipsPerPixel_;
    QByteArray out_;
    bool space_ = false;
    bool haveRun_ = false;
    RunProps run_;
    QHash<QString, int> fontIndexes_;
    std::vector<QString> fonts_;
    QHash<QRgb, int> colorIndexes_;
    std::vector<QColor> colors_;
};

QByteArray Writer::write(int from, int to) {
    begin(to - from);
    QTextBlock block = document_.findBlock(from);
    while (block.isValid() && block.position() <= to && writeBlock(block, from, to))
        block = block.next();
    return finish();
}

void Writer::begin(int characters) {
    out_.reserve(std::max(4096, characters * 2 + 1024));
    word("\\uc1");
}

bool Writer::writeBlock(const QTextBlock &block, int from, int to) {
    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1; // without the paragraph mark
    paragraph(block.blockFormat());
    bool empty = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const int start = std::max(fragment.position(), from);
        const int end = std::min(fragment.position() + fragment.length(), to);
        if (start >= end)
            continue;
        empty = false;
        const QTextCharFormat format = fragment.charFormat();
        const QString text = fragment.text();
        const qsizetype first = start - fragment.position();
        const qsizetype last = end - fragment.position();
        if (format.isImageFormat()) {
            runFormat(format);
            for (qsizetype i = first; i < last; ++i) {
                if (text.at(i) == QChar::ObjectReplacementCharacter)
                    picture(format.toImageFormat());
            }
            continue;
        }
        runFormat(format);
        characters(text, first, last);
    }
    const bool whole = blockEnd < to;
    if (empty)
        runFormat(block.charFormat()); // an empty paragraph is as high as its mark
    if (whole) {
        word("\\par");
        out_.append('\n');
        space_ = false;
    }
    return whole;
}

QByteArray Writer::finish() {
    QByteArray head;
    head.reserve(1024 + out_.size());
    head.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl");
    if (fonts_.empty())
        fontIndex(defaultFont_.family());
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        head.append("{\\f");
        head.append(QByteArray::number(qulonglong(i)));
        head.append("\\fnil\\fcharset0 ");
        escapedName(head, fonts_[i]);
        head.append(";}");
    }
    head.append("}\n");
    if (!colors_.empty()) {
        head.append("{\\colortbl;");
        for (const QColor &color : colors_) {
            head.append("\\red");
            head.append(QByteArray::number(color.red()));
            head.append("\\green");
            head.append(QByteArray::number(color.green()));
            head.append("\\blue");
            head.append(QByteArray::number(color.blue()));
            head.append(';');
        }
        head.append("}\n");
    }
    head.append(out_);
    head.append("}\n");
    out_.clear();
    return head;
}

void Writer::paragraph(const QTextBlockFormat &format) {
    word("\\pard");
    switch (format.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignRight:
        word("\\qr");
        break;
    case Qt::AlignHCenter:
        word("\\qc");
        break;
    case Qt::AlignJustify:
        word("\\qj");
        break;
    default:
        break;
    }
    auto twips = [](double pixels, double perPixel) { return std::llround(pixels * perPixel); };
    if (const long long v = twips(format.leftMargin(), twipsPerPixel_.x))
        word("\\li", v);
    if (const long long v = twips(format.rightMargin(), twipsPerPixel_.x))
        word("\\ri", v);
    if (const long long v = twips(format.textIndent(), twipsPerPixel_.x))
        word("\\fi", v);
    if (const long long v = twips(format.topMargin(), twipsPerPixel_.y))
        word("\\sb", v);
    if (const long long v = twips(format.bottomMargin(), twipsPerPixel_.y))
        word("\\sa", v);
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        word("\\pagebb");
    // \pard leaves the character formatting alone, but a paragraph states its own.
    haveRun_ = false;
}

void Writer::runFormat(const QTextCharFormat &format) {
    RunProps props;
    const QStringList families = format.fontFamilies().toStringList();
    QString family = families.isEmpty() ? QString() : families.first();
    if (family.isEmpty())
        family = defaultFont_.family();
    props.font = fontIndex(family);
    double points = format.fontPointSize();
    if (points <= 0)
        points = defaultFont_.pointSizeF();
    if (points <= 0)
        points = 12;
    props.size = static_cast<int>(std::clamp<long long>(std::llround(points * 100), 50, 163800));
    props.bold = format.hasProperty(QTextFormat::FontWeight)
                     ? format.fontWeight() >= QFont::DemiBold
                     : defaultFont_.weight() >= QFont::DemiBold;
    props.italic = format.fontItalic();
    props.underline = underlineWord(format.underlineStyle()) ? format.underlineStyle()
                                                             : QTextCharFormat::NoUnderline;
    props.strike = format.fontStrikeOut();
    const auto align = format.verticalAlignment();
    if (align == QTextCharFormat::AlignSuperScript || align == QTextCharFormat::AlignSubScript)
        props.verticalAlign = align;
    if (format.fontCapitalization() == QFont::AllUppercase)
        props.caps = true;
    else if (format.fontCapitalization() == QFont::SmallCaps)
        props.smallCaps = true;
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        props.foreground = colorIndex(format.foreground().color());
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() != Qt::NoBrush)
        props.background = colorIndex(format.background().color());

    if (haveRun_ && props == run_)
        return;
    haveRun_ = true;
    run_ = props;
    word("\\plain\\f", props.font);
    word("\\fs", std::max(1, (props.size + 25) / 50));
    if (props.size % 50 != 0)
        word("\\orvanelpt", props.size); // our reader's exact size; others ignore it
    if (props.bold)
        word("\\b");
    if (props.italic)
        word("\\i");
    if (const char *ul = underlineWord(props.underline))
        word(ul);
    if (props.strike)
        word("\\strike");
    if (props.verticalAlign == QTextCharFormat::AlignSuperScript)
        word("\\super");
    else if (props.verticalAlign == QTextCharFormat::AlignSubScript)
        word("\\sub");
    if (props.caps)
        word("\\caps");
    if (props.smallCaps)
        word("\\scaps");
    if (props.foreground)
        word("\\cf", props.foreground);
    if (props.background) {
        word("\\cb", props.background);
        word("\\highlight", props.background);
    }
}

void Writer::characters(const QString &text, qsizetype from, qsizetype to) {
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = data[i];
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            delimit();
            out_.append(static_cast<char>(c));
            continue;
        }
        character(c);
    }
}

void Writer::character(char16_t c) {
    switch (c) {
    case '\\':
        out_.append("\\\\");
        space_ = false;
        return;
    case '{':
        out_.append("\\{");
        space_ = false;
        return;
    case '}':
        out_.append("\\}");
        space_ = false;
        return;
    case '\t':
        word("\\tab");
        return;
    case 0x2028: // a line break within the paragraph
    case 0x2029:
    case '\n':
        word("\\line");
        return;
    case 0x00A0:
        out_.append("\\~");
        space_ = false;
        return;
    case 0x00AD:
        out_.append("\\-");
        space_ = false;
        return;
    case 0x2011:
        out_.append("\\_");
        space_ = false;
        return;
    case '\f': // a form feed typed or pasted starts a new page
        word("\\page");
        return;
    case 0xFDD0: // frame markers of the document itself
    case 0xFDD1:
        return;
    default:
        break;
    }
    const int byte = c < 0x20 ? -1 : CodePage::encode1252(c);
    if (byte >= 0) {
        static const char hex[] = "0123456789abcdef";
        out_.append("\\'");
        out_.append(hex[byte >> 4]);
        out_.append(hex[byte & 15]);
        space_ = false;
        return;
    }
    // \u takes a signed 16-bit number; the "?" is for readers that do not know it.
    // Control characters go the same way: as bytes they would mean nothing to RTF.
    const int value = c > 32767 ? int(c) - 65536 : int(c);
    out_.append("\\u");
    out_.append(QByteArray::number(value));
    out_.append('?');
    space_ = false;
}

void Writer::picture(const QTextImageFormat &format) {
    if (originalPicture(format))
        return;
    const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.metaType().id() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.metaType().id() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.metaType().id() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
    }
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    pictureGroup("\\pngblip", png, image.size(), QSizeF(width, height));
}

bool Writer::originalPicture(const QTextImageFormat &format) {
    // A picture the reader did not show: its own data, as it came.
    const QString name = format.stringProperty(originalPictureProperty);
    if (name.isEmpty())
        return false;
    const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.metaType().id() != QMetaType::QByteArray)
        return false;
    const QByteArray data = resource.toByteArray();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (!size.isValid())
        return false;
    const QSizeF shown = format.property(originalSizeProperty).toSizeF();
    pictureGroup(name.endsWith(QLatin1String(".png")) ? "\\pngblip" : "\\jpegblip", data, size,
                 shown.isEmpty() ? QSizeF(size) : shown);
    return true;
}

void Writer::pictureGroup(const char *type, const QByteArray &data, QSize pixels, QSizeF shown) {
    out_.append("{\\pict");
    out_.append(type);
    word("\\picw", pixels.width());
    word("\\pich", pixels.height());
    word("\\picwgoal", std::llround(shown.width() * twipsPerPixel_.x));
    word("\\pichgoal", std::llround(shown.height() * twipsPerPixel_.y));
    out_.append('\n');
    static const char hex[] = "0123456789abcdef";
    out_.reserve(out_.size() + data.size() * 2 + data.size() / 64 + 8);
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out_.append(hex[b >> 4]);
        out_.append(hex[b & 15]);
        if (i % 64 == 63)
            out_.append('\n');
    }
    out_.append("}");
    space_ = false;
}

int Writer::fontIndex(const QString &family) {
    const auto found = fontIndexes_.constFind(family);
    if (found != fontIndexes_.constEnd())
        return *found;
    const int index = static_cast<int>(fonts_.size());
    fonts_.push_back(family);
    fontIndexes_.insert(family, index);
    return index;
}

int Writer::colorIndex(const QColor &color) {
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    const auto found = colorIndexes_.constFind(rgb);
    if (found != colorIndexes_.constEnd())
        return *found;
    colors_.push_back(QColor::fromRgb(rgb));
    const int index = static_cast<int>(colors_.size()); // 0 is "automatic"
    colorIndexes_.insert(rgb, index);
    return index;
}

void Writer::escapedName(QByteArray &out, const QString &name) {
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == ';' || c < 0x20)
            continue; // a semicolon would end the name
        if (c == '\\' || c == '{' || c == '}') {
            out.append('\\');
            out.append(static_cast<char>(c));
        } else if (c < 0x7F) {
            out.append(static_cast<char>(c));
        } else {
            out.append("\\u");
            out.append(QByteArray::number(c > 32767 ? int(c) - 65536 : int(c)));
            out.append('?');
        }
    }
}

} // namespace

QByteArray RtfWriter::writeDocument(const QTextDocument &document) {
    Writer writer(document);
    return writer.write(0, document.characterCount());
}

struct RtfIncrementalWriter::State {
    explicit State(const QTextDocument &document) : writer(document) {}
    Writer writer;
};

RtfIncrementalWriter::RtfIncrementalWriter(const QTextDocument &document)
    : document_(document), state_(std::make_unique<State>(document)) {
    state_->writer.begin(document.characterCount());
}

RtfIncrementalWriter::~RtfIncrementalWriter() = default;

bool RtfIncrementalWriter::writeFor(std::chrono::nanoseconds budget) {
    if (done_)
        return true;
    QElapsedTimer clock;
    clock.start();
    // At least one paragraph a step, however short the budget.
    do {
        const QTextBlock block = document_.findBlock(position_);
        if (!block.isValid() || !state_->writer.writeBlock(block, 0, document_.characterCount())) {
            done_ = true;
            return true;
        }
        position_ = block.position() + block.length();
    } while (clock.nsecsElapsed() < budget.count());
    return false;
}

void RtfIncrementalWriter::documentChanged(int from, int removed, int added) {
    if (from >= position_)
        return; // not written yet: it is written as it is then
    if (from + removed >= position_) {
        // The change reaches the paragraph to be written next: start again.
        state_ = std::make_unique<State>(document_);
        state_->writer.begin(document_.characterCount());
        position_ = 0;
        done_ = false;
        return;
    }
    position_ += added - removed;
}

QByteArray RtfIncrementalWriter::take() {
    return state_->writer.finish();
}

QByteArray RtfWriter::writeSelection(const QTextCursor &cursor) {
    if (!cursor.document())
        return Writer(QTextDocument()).write(0, 0);
    Writer writer(*cursor.document());
    return writer.write(cursor.selectionStart(), cursor.selectionEnd());
}
