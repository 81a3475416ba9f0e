// The toolbar of the main window: its buttons, pictures, font box and dispatch.
#include "shell/frmmain.h"

#include "platform/errorhandling.h"
#include "platform/units.h"
#include "shell/imagelist.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>

namespace {

enum class Style { Plain, Pressable, Group, Separator };

struct Button {
    const char *key; // also the tooltip and the picture's key
    Style style;
};

// "Pressable" buttons are plain buttons the program shows pressed.
const Button buttons[] = {
    {"New", Style::Plain},           {"Open", Style::Plain},        {"Save", Style::Plain},
    {nullptr, Style::Separator},     {"Print", Style::Plain},       {nullptr, Style::Separator},
    {"Cut", Style::Plain},           {"Copy", Style::Plain},        {"Paste", Style::Plain},
    {nullptr, Style::Separator},     {"Bold", Style::Pressable},    {"Italic", Style::Pressable},
    {"Underline", Style::Pressable}, {nullptr, Style::Separator},   {"Align Left", Style::Group},
    {"Center", Style::Group},        {"Align Right", Style::Group},
};

struct Picture {
    const char *key;
    const char *file;
};
const Picture pictures[] = {
    {"New", "new"},
    {"Open", "open"},
    {"Save", "save"},
    {"Print", "print"},
    {"Cut", "cut"},
    {"Copy", "copy"},
    {"Paste", "paste"},
    {"Bold", "bold"},
    {"Italic", "italic"},
    {"Underline", "underline"},
    {"Align Left", "alignleft"},
    {"Center", "center"},
    {"Align Right", "alignright"},
};

const QColor maskColor(192, 192, 192);
const QSize buttonSize(23, 22);
const QSize pictureSize(16, 16);
constexpr double fontBoxWidthTwips = 3015;

} // namespace

void frmMain::buildToolbar() {
    imlToolbarIcons = new ImageList(pictureSize, maskColor, this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));
    for (const Picture &picture : pictures)
        imlToolbarIcons->add(QString::fromLatin1(picture.key),
                             QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(picture.file)));

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setWindowTitle(QStringLiteral("Toolbar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(pictureSize);
    tbToolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, tbToolBar);

    auto *alignment = new QActionGroup(tbToolBar);
    alignment->setExclusive(true);
    for (const Button &button : buttons) {
        if (button.style == Style::Separator) {
            tbToolBar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction *action = tbToolBar->addAction(imlToolbarIcons->image(key), key);
        action->setObjectName(key);
        action->setToolTip(key);
        action->setData(key);
        if (button.style == Style::Pressable)
            action->setCheckable(true);
        if (button.style == Style::Group) {
            action->setCheckable(true);
            alignment->addAction(action);
        }
        if (auto *widget = tbToolBar->widgetForAction(action))
            widget->setFixedSize(buttonSize);
        connect(action, &QAction::triggered, this,
                [this, action, pressable = button.style == Style::Pressable] {
                    // A pressable button looks pressed only while the program says so.
                    if (pressable)
                        action->setChecked(!action->isChecked());
                    tbToolBar_ButtonClick(action);
                });
    }

    Combo1 = new QComboBox(tbToolBar);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                      QStringLiteral("Courtier New")});
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Combo1->setFixedWidth(twipsToPixelsX(fontBoxWidthTwips));
    Combo1->setToolTip(QStringLiteral("Font"));
    tbToolBar->addWidget(Combo1);
}

void frmMain::setToolbarButtonValue(const QString &key, bool pressed) {
    if (QAction *button = tbToolBar->findChild<QAction *>(key, Qt::FindDirectChildrenOnly))
        button->setChecked(pressed);
}

void frmMain::tbToolBar_ButtonClick(QAction *Button) {
    runIgnoringErrors({[&] {
        const QString key = Button->data().toString();
        if (key == QLatin1String("New"))
            LoadNewDoc();
        else if (key == QLatin1String("Open"))
            mnuFileOpenDiaryEntry_Click(1);
        else if (key == QLatin1String("Save"))
            mnuFileSave_Click();
        else if (key == QLatin1String("Print"))
            mnuFilePrint_Click();
        else if (key == QLatin1String("Cut"))
            mnuEditCut_Click();
        else if (key == QLatin1String("Copy"))
            mnuEditCopy_Click();
        else if (key == QLatin1String("Paste"))
            mnuEditPaste_Click();
        else
            formatActiveDocument(key, Button);
    }});
}
