#include "diary/rtftextbox.h"

#include "platform/filewriter.h"
#include "platform/runtimeerror.h"
#include "platform/units.h"
#include "rtf/rtferror.h"
#include "rtf/rtffile.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <cerrno>
#include <memory>

namespace {
// Rich text from this many bytes on is pasted with the layout left for later.
constexpr qsizetype largePaste = 256 * 1024;

// Qt's editor places nothing lower than 2^23 pixels down the page and stalls for minutes
// laying out a document that reaches that far: four million characters wrapped into a
// narrow window do. An entry longer than this is shown one line to a paragraph, and the
// reader keeps paragraphs and line breaks far fewer than that height holds.
constexpr int longestWrappedEntry = 4'000'000;

// The names word processors give rich text on the clipboard; the first is what we offer.
const QString rtfMimeTypes[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                QStringLiteral("text/richtext")};

bool isEditKey(const QKeyEvent *key) {
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
           key->matches(QKeySequence::Paste);
}

[[noreturn]] void invalidValue() {
    raiseError(ErrorNumber::InvalidPropertyValue);
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

bool hasFormat(const QTextCharFormat &format, CharacterFormat which) {
    switch (which) {
    case CharacterFormat::Bold:
        return format.fontWeight() > QFont::Medium;
    case CharacterFormat::Italic:
        return format.fontItalic();
    case CharacterFormat::Underline:
        return format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline;
    }
    return false;
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

Alignment alignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return Alignment::Right;
    if (alignment & Qt::AlignHCenter)
        return Alignment::Center;
    return Alignment::Left;
}

// A failure with the usual description, the file it concerns and, when the system gave
// one, its reason ("File name too long").
[[noreturn]] void raiseFor(ErrorNumber number, const QString &path, int systemError) {
    QString description =
        errorDescription(number) + QStringLiteral(": ") + QDir::toNativeSeparators(path);
    if (systemError != 0)
        description += QStringLiteral(" (") + qt_error_string(systemError) + QLatin1Char(')');
    raiseError(number, description);
}

// What the system said when a file could not be opened (`opening`), read or written.
[[noreturn]] void systemFailure(const QString &path, int system, bool opening) {
    if (opening && !QFileInfo(path).absoluteDir().exists())
        raiseFor(ErrorNumber::PathNotFound, path, 0);
    if (system == EACCES || system == EPERM || system == EROFS)
        raiseFor(ErrorNumber::PermissionDenied, path, system);
    if (system == ENOSPC || system == EDQUOT)
        raiseFor(ErrorNumber::DiskFull, path, system);
    if (system == ENAMETOOLONG)
        raiseFor(ErrorNumber::BadFileName, path, system);
    if (opening && system != EIO)
        raiseFor(ErrorNumber::PathFileAccess, path, system);
    raiseFor(ErrorNumber::DeviceIO, path, system);
}

[[noreturn]] void fileFailure(const FileWriter &file, const QString &path) {
    const int system = file.systemError();
    if (file.error() == QFileDevice::PermissionsError)
        raiseFor(ErrorNumber::PermissionDenied, path, system);
    systemFailure(path, system, file.error() == QFileDevice::OpenError);
}

// A folder where the file should be: no file can be read or written under that name.
void refuseFolder(const QString &path) {
    if (QFileInfo(path).isDir())
        raiseError(
            ErrorNumber::PathFileAccess,
            QStringLiteral("%1 is a folder, not a file.").arg(QDir::toNativeSeparators(path)));
}

QByteArray rtfOf(const QMimeData *source) {
    for (const QString &type : rtfMimeTypes)
        if (source->hasFormat(type))
            return source->data(type);
    return {};
}

// Markup that is not rich text after all fails as a file in the wrong format does.
template <typename Read> void readMarkup(Read read) {
    try {
        read();
    } catch (const RtfFormatError &error) {
        raiseError(ErrorNumber::InvalidFileFormat, QString::fromUtf8(error.what()));
    }
}
} // namespace

RtfTextBox::RtfTextBox(QWidget *parent) : QTextEdit(parent) {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(15.75);
    font.setWeight(QFont::Normal);
    document()->setDefaultFont(font);
    setTabChangesFocus(false);
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
    refuseFolder(path);
    const RtfFile::Result file = RtfFile::read(path);
    const QString shown = QDir::toNativeSeparators(path);
    switch (file.outcome) {
    case RtfFile::Outcome::Read:
        break;
    case RtfFile::Outcome::NotFound:
        raiseFor(ErrorNumber::FileNotFound, path, 0);
    case RtfFile::Outcome::NotRegular:
        raiseError(ErrorNumber::PathFileAccess, RtfFile::refusal(file, shown));
    case RtfFile::Outcome::TooLarge:
        raiseError(ErrorNumber::OutOfMemory, RtfFile::refusal(file, shown));
    case RtfFile::Outcome::Failed:
        systemFailure(path, file.systemError, true);
    }
    loadRtf(file.data);
}

void RtfTextBox::loadRtf(const QByteArray &data) {
    // Read into a document of its own, which the box then shows: reading into the shown
    // document takes about four times as long (0.6 s against 0.15 s for a 1 MB entry). A
    // file that is not rich text leaves the entry as it was.
    auto loaded = std::make_unique<QTextDocument>(this);
    loaded->setDefaultFont(document()->defaultFont());
    readMarkup([&] { RtfReader::readDocument(data, *loaded); });
    // The box's first document goes with the change; one loaded before stays ours to drop.
    const QPointer<QTextDocument> previous = document();
    setDocument(loaded.release());
    if (previous && previous->parent() == this)
        delete previous;
    fitWrapToLength();
    announceSelection();
}

void RtfTextBox::SaveFile(const QString &path) {
    refuseFolder(path);
    const QByteArray data = RtfWriter::writeDocument(*document());
    FileWriter file(path);
    if (!file.openForWriting())
        fileFailure(file, path);
    if (file.write(data) != data.size() || !file.commit())
        fileFailure(file, path);
}

std::optional<bool> RtfTextBox::SelFormat(CharacterFormat which) const {
    return selectionFormat(textCursor(),
                           [which](const QTextCharFormat &f) { return hasFormat(f, which); });
}

void RtfTextBox::setSelFormat(CharacterFormat which, bool on) {
    QTextCharFormat format;
    switch (which) {
    case CharacterFormat::Bold:
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case CharacterFormat::Italic:
        format.setFontItalic(on);
        break;
    case CharacterFormat::Underline:
        format.setFontUnderline(on);
        break;
    }
    mergeCurrentCharFormat(format);
}

std::optional<Alignment> RtfTextBox::SelAlignment() const {
    const QTextCursor cursor = textCursor();
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const Alignment first = alignmentOf(block.blockFormat().alignment());
    for (; block.isValid() && block != last.next(); block = block.next()) {
        if (alignmentOf(block.blockFormat().alignment()) != first)
            return std::nullopt;
    }
    return first;
}

void RtfTextBox::setSelAlignment(Alignment alignment) {
    QTextBlockFormat format;
    switch (alignment) {
    case Alignment::Left:
        format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case Alignment::Right:
        format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
    case Alignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    }
    QTextCursor cursor = textCursor();
    cursor.mergeBlockFormat(format);
    setTextCursor(cursor);
}

void RtfTextBox::insertMarkup(const QByteArray &markup) {
    QTextCursor cursor = textCursor();
    if (markup.size() < largePaste) {
        readMarkup([&] { RtfReader::readAt(markup, cursor); });
        setTextCursor(cursor);
        fitWrapToLength();
        return;
    }
    // The editor lays out what a change brings before it answers again, which for
    // megabytes of text takes seconds; a document laid out anew is laid out a piece at a
    // time while the window answers. With an empty page size the document lays out
    // nothing, and setting it again starts that piecewise layout. The box's own caret
    // moves past the pasted text with the insertion; asking it to show the caret now
    // would lay out everything up to it at once.
    const QSizeF page = document()->pageSize();
    document()->setPageSize(QSizeF(0, 0));
    try {
        readMarkup([&] { RtfReader::readAt(markup, cursor); });
    } catch (...) {
        document()->setPageSize(page);
        throw;
    }
    document()->setPageSize(page);
    fitWrapToLength();
}

void RtfTextBox::fitWrapToLength() {
    if (document()->characterCount() > longestWrappedEntry) {
        if (lineWrapMode() != QTextEdit::NoWrap)
            setLineWrapMode(QTextEdit::NoWrap);
    } else if (wrapWidth_) {
        // Setting the width lays the whole document out again, even when it is the same.
        if (lineWrapColumnOrWidth() != *wrapWidth_)
            setLineWrapColumnOrWidth(*wrapWidth_);
        setLineWrapMode(QTextEdit::FixedPixelWidth);
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

void RtfTextBox::insertHtml(const QString &html) {
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment::fromHtml(html, document()));
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
    fitWrapToLength();
}

int RtfTextBox::SelLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RtfTextBox::SelPrint(QPrinter *printer) const {
    if (printer == nullptr)
        raiseError(ErrorNumber::ObjectRequired);
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
        raiseError(ErrorNumber::PrinterError);
}

void RtfTextBox::Move(double left, double top, double width, double height) {
    if (width < 0 || height < 0)
        invalidValue();
    placeInTwips(this, left, top, width, height);
}

double RtfTextBox::Width() const {
    return pixelsToTwipsX(width());
}

void RtfTextBox::setRightMargin(double twips) {
    if (twips < 0)
        invalidValue();
    wrapWidth_ = twipsToPixelsX(twips);
    fitWrapToLength();
}

double RtfTextBox::RightMargin() const {
    return wrapWidth_ ? pixelsToTwipsX(*wrapWidth_) : 0.0;
}

QMimeData *RtfTextBox::selectionData() const {
    auto *data = new QMimeData;
    const QTextCursor cursor = textCursor();
    data->setData(rtfMimeTypes[0], RtfWriter::writeSelection(cursor));
    data->setHtml(cursor.selection().toHtml());
    data->setText(SelText());
    return data;
}

void RtfTextBox::replaceSelectionWith(const QMimeData *source) {
    if (source) {
        if (const QByteArray rtf = rtfOf(source); RtfReader::isRtf(rtf)) {
            insertMarkup(rtf);
            return;
        }
        if (source->hasHtml()) {
            insertHtml(source->html());
            return;
        }
        if (source->hasText()) {
            setSelRTF(source->text());
            return;
        }
    }
    setSelText(QString());
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
    // The Insert key switches between inserting and overwriting, as in every editor of
    // the desktop this program comes from.
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QMimeData *RtfTextBox::createMimeDataFromSelection() const {
    return selectionData();
}

bool RtfTextBox::canInsertFromMimeData(const QMimeData *source) const {
    return !rtfOf(source).isEmpty() || source->hasHtml() || source->hasText();
}

void RtfTextBox::insertFromMimeData(const QMimeData *source) {
    replaceSelectionWith(source);
}
