#pragma once

#include "diary/formatting.h"

#include <QTextEdit>
#include <optional>

class QPrinter;

// The rich-text box of a diary window. It loads and saves Rich Text Format files,
// reports and sets the formatting of the selection (with a third, mixed value where the
// selection is partly formatted), prints, and raises SelChange whenever the selection
// or the caret moves. Sizes and positions are in twips.
//
// Cut, Copy and Paste keys are left to the window that holds the box, so that the
// program's own Edit commands run for them; the clipboard data is the box's own in both
// ways, so keys, the context menu, drag and drop and the Edit menu agree.
class RtfTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RtfTextBox(QWidget *parent = nullptr);

    void LoadFile(const QString &path);
    // The entry becomes the RTF given; what is not RTF is refused as LoadFile refuses it.
    void loadRtf(const QByteArray &data);
    void SaveFile(const QString &path);

    // On, off or mixed (nothing) over the selection; at the caret, the format of text
    // typed next.
    std::optional<bool> SelFormat(CharacterFormat format) const;
    void setSelFormat(CharacterFormat format, bool on);
    std::optional<bool> SelBold() const { return SelFormat(CharacterFormat::Bold); }
    std::optional<bool> SelItalic() const { return SelFormat(CharacterFormat::Italic); }
    std::optional<bool> SelUnderline() const { return SelFormat(CharacterFormat::Underline); }

    // Nothing when the selected paragraphs differ.
    std::optional<Alignment> SelAlignment() const;
    void setSelAlignment(Alignment alignment);

    // Replaces the selection with RTF markup; text that is not markup goes in as text.
    void setSelRTF(const QString &text);
    QString SelText() const;
    void setSelText(const QString &text);
    int SelLength() const;

    // The selection as the clipboard carries it to other programs: RTF for word
    // processors, HTML for mail and web editors, its visible text for everything else.
    QMimeData *selectionData() const;
    // Replaces the selection with clipboard data: RTF first, then HTML, then plain text
    // (plain text that is RTF markup is read as RTF). Data with none of them, or none at
    // all, deletes the selection.
    void replaceSelectionWith(const QMimeData *source);

    void SelPrint(QPrinter *printer) const;

    void Move(double left, double top, double width, double height);
    double Width() const;
    // The wrap width, measured from the box's left edge.
    void setRightMargin(double twips);
    double RightMargin() const;

signals:
    void SelChange();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void selectionMoved();
    void announceSelection();
    void insertMarkup(const QByteArray &markup);
    void insertHtml(const QString &html);
    void fitWrapToLength();

    int lastAnchor_ = -1;
    int lastPosition_ = -1;
    // The width lines wrap at, in pixels, once a right margin is set; the box's width
    // until then.
    std::optional<int> wrapWidth_;
};
