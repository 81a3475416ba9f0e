#pragma once

#include <QTextEdit>
#include <optional>

class QPrinter;

// The rich-text box of a diary window. It loads and saves Rich Text Format files,
// reports and sets the formatting of the selection (with a third, mixed value where the
// selection is partly formatted), prints, and raises SelChange whenever the selection
// or the caret moves. Sizes and positions are in twips.
//
// Cut, Copy and Paste keys are left to the window that holds the box, so that the
// program's own Edit commands run for them.
class RtfTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RtfTextBox(QWidget *parent = nullptr);

    void LoadFile(const QString &path);
    void SaveFile(const QString &path);

    std::optional<bool> SelBold() const;
    std::optional<bool> SelItalic() const;
    std::optional<bool> SelUnderline() const;
    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);

    // 0 left, 1 right, 2 centre; nothing when the selected paragraphs differ.
    std::optional<int> SelAlignment() const;
    void setSelAlignment(int alignment);

    QString SelRTF() const;
    void setSelRTF(const QString &text);
    QString SelText() const;
    void setSelText(const QString &text);
    int SelLength() const;

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

    int lastAnchor_ = -1;
    int lastPosition_ = -1;
};
