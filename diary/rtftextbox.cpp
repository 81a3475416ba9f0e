#include "diary/rtftextbox.h"

#include "diary/rtfreader.h"
#include "diary/rtfwriter.h"
#include "platform/runtimeerror.h"
#include "platform/units.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <cerrno>
#include <memory>

namespace {
const QString rtfMimeType = QStringLiteral("text/rtf");

bool isEditKey(const QKeyEvent *key) {
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
           key->matches(QKeySequence::Paste);
}

[[noreturn]] void invalidValue() {
    throw RuntimeError(ErrorNumber::InvalidPropertyValue, QStringLiteral("Invalid property value"));
}

// The markup as the bytes it stands for: RTF is seven-bit text with escapes, and
// bytes our own writer never produces come back as they went in.
QByteArray markupBytes(const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return text.toUtf8();
    }
    return text.toLatin1();
}

// On, off or mixed over the selection; with no selection, the format of text typed next.
template <typename Test> std::optional<bool> selectionFormat(const QTextCursor &cursor, Test test) {
    if (!cursor.hasSelection())
        return test(cursor.charFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<bool> found;
    for (QTextBlock block = cursor.document()->findBlock(start);
         block.isValid() && block.position() < end; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start)
                continue;
            if (fragment.position() >= end)
                break;
            const bool value = test(fragment.charFormat());
            if (found && *found != value)
                return std::nullopt;
            found = value;
        }
    }
    return found ? found : test(cursor.charFormat());
}

int alignmentCode(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return 1;
    if (alignment & Qt::AlignHCenter)
        return 2;
    return 0;
}

[[noreturn]] void fileFailure(const QFileDevice &file, const QString &path) {
    if (file.error() == QFileDevice::OpenError && !QFileInfo(path).absoluteDir().exists())
        throw RuntimeError(ErrorNumber::PathNotFound, QStringLiteral("Path not found"));
    if (file.error() == QFileDevice::PermissionsError || errno == EACCES || errno == EPERM ||
        errno == EROFS)
        throw RuntimeError(ErrorNumber::PermissionDenied, QStringLiteral("Permission denied"));
    if (errno == ENOSPC || errno == EDQUOT)
        throw RuntimeError(ErrorNumber::DiskFull, QStringLiteral("Disk full"));
    if (file.error() == QFileDevice::OpenError)
        throw RuntimeError(ErrorNumber::PathFileAccess, QStringLiteral("Path/File access error"));
    throw RuntimeError(ErrorNumber::DeviceIO, QStringLiteral("Device I/O error"));
}
} // namespace

RtfTextBox::RtfTextBox(QWidget *parent) : QTextEdit(parent) {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(15.75);
    font.setWeight(QFont::Normal);
    document()->setDefaultFont(font);
    setTabChangesFocus(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RtfTextBox::selectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RtfTextBox::selectionMoved);
}

void RtfTextBox::selectionMoved() {
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == lastAnchor_ && cursor.position() == lastPosition_)
        return;
    announceSelection();
}

void RtfTextBox::announceSelection() {
    const QTextCursor cursor = textCursor();
    lastAnchor_ = cursor.anchor();
    lastPosition_ = cursor.position();
    emit SelChange();
}

void RtfTextBox::LoadFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(ErrorNumber::FileNotFound, QStringLiteral("File not found"));
    if (info.isDir())
        throw RuntimeError(ErrorNumber::PathFileAccess, QStringLiteral("Path/File access error"));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        fileFailure(file, path);
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fileFailure(file, path);
    // Read into a document of its own, which the box then shows: reading into the shown
    // document takes about four times as long (0.6 s against 0.15 s for a 1 MB entry). A
    // file that is not rich text leaves the entry as it was.
    auto loaded = std::make_unique<QTextDocument>(this);
    loaded->setDefaultFont(document()->defaultFont());
    RtfReader::readDocument(data, *loaded);
    // The box's first document goes with the change; one loaded before stays ours to drop.
    const QPointer<QTextDocument> previous = document();
    setDocument(loaded.release());
    if (previous && previous->parent() == this)
        delete previous;
    announceSelection();
}

void RtfTextBox::SaveFile(const QString &path) {
    const QByteArray data = RtfWriter::writeDocument(*document());
    // The new content goes to a file beside the old one, which it replaces only once it
    // is whole on disk.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fileFailure(file, path);
    if (file.write(data) != data.size() || !file.commit())
        fileFailure(file, path);
}

std::optional<bool> RtfTextBox::SelBold() const {
    return selectionFormat(textCursor(),
                           [](const QTextCharFormat &f) { return f.fontWeight() > QFont::Medium; });
}

std::optional<bool> RtfTextBox::SelItalic() const {
    return selectionFormat(textCursor(), [](const QTextCharFormat &f) { return f.fontItalic(); });
}

std::optional<bool> RtfTextBox::SelUnderline() const {
    return selectionFormat(textCursor(), [](const QTextCharFormat &f) {
        return f.fontUnderline() || f.underlineStyle() != QTextCharFormat::NoUnderline;
    });
}

void RtfTextBox::setSelBold(bool on) {
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(format);
}

void RtfTextBox::setSelItalic(bool on) {
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeCurrentCharFormat(format);
}

void RtfTextBox::setSelUnderline(bool on) {
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeCurrentCharFormat(format);
}

std::optional<int> RtfTextBox::SelAlignment() const {
    const QTextCursor cursor = textCursor();
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const int first = alignmentCode(block.blockFormat().alignment());
    for (; block.isValid() && block != last.next(); block = block.next()) {
        if (alignmentCode(block.blockFormat().alignment()) != first)
            return std::nullopt;
    }
    return first;
}

void RtfTextBox::setSelAlignment(int alignment) {
    static constexpr Qt::Alignment flags[] = {Qt::AlignLeft | Qt::AlignAbsolute,
                                              Qt::AlignRight | Qt::AlignAbsolute, Qt::AlignHCenter};
    if (alignment < 0 || alignment > 2)
        invalidValue();
    QTextBlockFormat format;
    format.setAlignment(flags[alignment]);
    QTextCursor cursor = textCursor();
    cursor.mergeBlockFormat(format);
    setTextCursor(cursor);
}

QString RtfTextBox::SelRTF() const {
    return QString::fromLatin1(RtfWriter::writeSelection(textCursor()));
}

void RtfTextBox::insertMarkup(const QByteArray &markup) {
    QTextCursor cursor = textCursor();
    RtfReader::readAt(markup, cursor);
    setTextCursor(cursor);
}

void RtfTextBox::setSelRTF(const QString &text) {
    const QByteArray markup = markupBytes(text);
    if (RtfReader::isRtf(markup))
        insertMarkup(markup);
    else
        setSelText(text);
}

QString RtfTextBox::SelText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void RtfTextBox::setSelText(const QString &text) {
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

int RtfTextBox::SelLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RtfTextBox::SelPrint(QPrinter *printer) const {
    if (printer == nullptr)
        throw RuntimeError(ErrorNumber::ObjectRequired, QStringLiteral("Object required"));
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        // Pictures of the selection are resources of this document: the printed copy
        // finds them through its parent.
        QTextDocument selection(document());
        selection.setDefaultFont(document()->defaultFont());
        QTextCursor(&selection).insertFragment(cursor.selection());
        selection.print(printer);
    } else {
        document()->print(printer);
    }
    if (printer->printerState() == QPrinter::Error)
        throw RuntimeError(ErrorNumber::PrinterError, QStringLiteral("Printer error"));
}

void RtfTextBox::Move(double left, double top, double width, double height) {
    if (width < 0 || height < 0)
        invalidValue();
    setGeometry(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                twipsToPixelsY(height));
}

double RtfTextBox::Width() const {
    return pixelsToTwipsX(width());
}

void RtfTextBox::setRightMargin(double twips) {
    if (twips < 0)
        invalidValue();
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(twipsToPixelsX(twips));
}

double RtfTextBox::RightMargin() const {
    return lineWrapMode() == QTextEdit::FixedPixelWidth ? pixelsToTwipsX(lineWrapColumnOrWidth())
                                                        : 0.0;
}

bool RtfTextBox::event(QEvent *event) {
    // Declining the override lets the main window's Edit shortcuts take these keys.
    if (event->type() == QEvent::ShortcutOverride && isEditKey(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    return QTextEdit::event(event);
}

void RtfTextBox::keyPressEvent(QKeyEvent *event) {
    if (isEditKey(event)) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QMimeData *RtfTextBox::createMimeDataFromSelection() const {
    auto *data = new QMimeData;
    data->setText(SelText());
    data->setData(rtfMimeType, RtfWriter::writeSelection(textCursor()));
    return data;
}

bool RtfTextBox::canInsertFromMimeData(const QMimeData *source) const {
    return source->hasFormat(rtfMimeType) || source->hasText();
}

void RtfTextBox::insertFromMimeData(const QMimeData *source) {
    if (source->hasFormat(rtfMimeType)) {
        try {
            insertMarkup(source->data(rtfMimeType));
            return;
        } catch (const RuntimeError &) {
            // Not rich text after all: take its plain text below.
        }
    }
    if (source->hasText())
        setSelRTF(source->text());
}
