// The rich-text box of a diary window, through the members the program uses on it.
#include "diary/rtftextbox.h"
#include "filepermissions.h"
#include "platform/runtimeerror.h"
#include "testworld.h"

#include <QApplication>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <optional>

Q_DECLARE_METATYPE(std::optional<bool>)
Q_DECLARE_METATYPE(std::optional<Alignment>)

namespace {
// "one two three" with "two" bold, in two paragraphs: the first left, the second centred.
void fillSample(RtfTextBox &box) {
    box.setPlainText(QStringLiteral("one two three\nsecond line"));
    QTextCursor cursor(box.document());
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCursor(box.document()->findBlockByNumber(1)).mergeBlockFormat(centred);
}

void select(RtfTextBox &box, int start, int end) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

} // namespace

class tst_RtfTextBox : public QObject {
    Q_OBJECT
private slots:
    void selectionFormat_data();
    void selectionFormat();
    void selRtfTakesPlainTextAsText();
    void selTextReplacesAndDeletes();
    void fileFailures_data();
    void fileFailures();
    void moveAndMargin();
    void editKeysAreLeftToTheWindow();
};

void tst_RtfTextBox::selectionFormat_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<std::optional<bool>>("bold");
    QTest::addColumn<std::optional<Alignment>>("alignment");
    const auto mixed = std::optional<bool>();
    QTest::newRow("caret in bold word")
        << 5 << 5 << std::optional<bool>(true) << std::optional(Alignment::Left);
    QTest::newRow("plain word") << 8 << 13 << std::optional<bool>(false)
                                << std::optional(Alignment::Left);
    QTest::newRow("bold word") << 4 << 7 << std::optional<bool>(true)
                               << std::optional(Alignment::Left);
    QTest::newRow("partly bold") << 0 << 7 << mixed << std::optional(Alignment::Left);
    QTest::newRow("centred line") << 16 << 20 << std::optional<bool>(false)
                                  << std::optional(Alignment::Center);
    QTest::newRow("both lines") << 10 << 20 << std::optional<bool>(false)
                                << std::optional<Alignment>();
}

void tst_RtfTextBox::selectionFormat() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(std::optional<bool>, bold);
    QFETCH(std::optional<Alignment>, alignment);
    RtfTextBox box;
    fillSample(box);
    select(box, start, end);
    QCOMPARE(box.SelBold(), bold);
    QCOMPARE(box.SelAlignment(), alignment);
    QCOMPARE(box.SelLength(), end - start);
}

void tst_RtfTextBox::selRtfTakesPlainTextAsText() {
    RtfTextBox box;
    box.setPlainText("before after");
    select(box, 7, 7);
    box.setSelRTF("copied {from} elsewhere \\ ");
    QCOMPARE(box.toPlainText(), QString("before copied {from} elsewhere \\ after"));
    select(box, 7, 13);
    box.setSelRTF("{\\rtf1\\ansi {\\b pasted}}");
    QCOMPARE(box.toPlainText(), QString("before pasted {from} elsewhere \\ after"));
    select(box, 8, 9);
    QCOMPARE(box.SelBold(), std::optional<bool>(true));
}

void tst_RtfTextBox::selTextReplacesAndDeletes() {
    RtfTextBox box;
    box.setPlainText("keep this word");
    select(box, 5, 9);
    box.setSelText("that");
    QCOMPARE(box.toPlainText(), QString("keep that word"));
    select(box, 4, 9);
    box.setSelText("");
    QCOMPARE(box.toPlainText(), QString("keep word"));
    QCOMPARE(box.SelLength(), 0);
}

void tst_RtfTextBox::fileFailures_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::newRow("load missing file") << "load"
                                       << "missing.DIA" << 53;
    QTest::newRow("load a folder") << "load"
                                   << "folder" << 75;
    QTest::newRow("load plain text") << "load"
                                     << "plain.txt" << 321;
    QTest::newRow("load unreadable") << "load"
                                     << "locked/entry.DIA" << 70;
    QTest::newRow("save to missing folder") << "save"
                                            << "nowhere/entry.DIA" << 76;
    QTest::newRow("save to read-only folder") << "save"
                                              << "locked/new.DIA" << 70;
    QTest::newRow("save where a folder stands") << "save"
                                                << "folder" << 75;
}

void tst_RtfTextBox::fileFailures() {
    QFETCH(QString, operation);
    QFETCH(QString, path);
    QFETCH(int, error);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    QDir(dir.path()).mkdir("locked");
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("just words\n");
    plain.close();
    QFile locked(dir.filePath("locked/entry.DIA"));
    QVERIFY(locked.open(QIODevice::WriteOnly));
    locked.write("{\\rtf1 secret}");
    locked.close();
    locked.setPermissions(QFileDevice::Permissions());
    QFile::setPermissions(dir.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    RtfTextBox box;
    box.setPlainText("what the user typed");
    QString description;
    int raised = 0;
    {
        FilePermissionsApply asAnyUser;
        try {
            if (operation == "load")
                box.LoadFile(dir.filePath(path));
            else
                box.SaveFile(dir.filePath(path));
        } catch (const RuntimeError &failure) {
            raised = failure.Number();
            description = failure.Description();
        }
    }
    QFile::setPermissions(dir.filePath("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(raised, error);
    QCOMPARE(box.toPlainText(), QString("what the user typed"));
    // The description names the file and says what is wrong with it.
    QVERIFY2(description.contains(QDir::toNativeSeparators(dir.filePath(path))) ||
                 (operation == "load" && error == 321),
             qPrintable(description));
    if (path == "folder")
        QVERIFY2(description.contains("is a folder"), qPrintable(description));
}

// Bounds and the right margin in twips: a negative one is refused with error 380 and
// changes nothing.
void tst_RtfTextBox::moveAndMargin() {
    QWidget window;
    RtfTextBox box(&window);
    box.Move(150, 300, 6000, 3000);
    const double width = box.Width();
    box.setRightMargin(width - 400);
    const double margin = box.RightMargin();
    QCOMPARE(box.lineWrapMode(), QTextEdit::FixedPixelWidth);
    QCOMPARE(errorNumberOf([&] { box.Move(0, 0, -10, 100); }), 380);
    QCOMPARE(errorNumberOf([&] { box.setRightMargin(-1); }), 380);
    QCOMPARE(box.Width(), width);
    QCOMPARE(box.RightMargin(), margin);
}

void tst_RtfTextBox::editKeysAreLeftToTheWindow() {
    // The window's Edit shortcuts get Ctrl+X, C and V; the box does nothing of its own.
    QWidget window;
    RtfTextBox box(&window);
    int windowCuts = 0;
    auto *cut = new QAction(&window);
    cut->setShortcut(QKeySequence::Cut);
    window.addAction(cut);
    connect(cut, &QAction::triggered, [&] { ++windowCuts; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box.setFocus();
    QTest::keyClicks(&box, "text");
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(windowCuts, 1);
    QCOMPARE(box.toPlainText(), QString("text"));
}

QTEST_MAIN(tst_RtfTextBox)
#include "tst_rtftextbox.moc"
