// The toolbar of the main window: its buttons, pictures, font box and dispatch.
#include "shell/frmmain.h"

#include "platform/errorhandling.h"
#include "platform/imagelist.h"
#include "platform/toolbaraccessibility.h"
#include "platform/units.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <variant>

namespace {

enum class Style { Plain, Pressable, Group, Separator };

using Command = void (*)(frmMain &);
// What a button does: a command of the main window, or a format of the active entry.
using ButtonAction = std::variant<Command, CharacterFormat, Alignment>;

struct Button {
    const char *key; // also the tooltip and the picture's key
    const char *picture;
    Style style;
    const char *shortcut;
    ButtonAction action;
};

// The buttons in toolbar order; their pictures make the image list in the same order.
// "Pressable" buttons are plain buttons the program shows pressed. The shortcuts are the
// ones every word processor has.
// clang-format off
const Button buttons[] = {
    {"New", "new", Style::Plain, "", +[](frmMain &w) { w.LoadNewDoc(); }},
    {"Open", "open", Style::Plain, "", +[](frmMain &w) { w.mnuFileOpenDiaryEntry_Click(1); }},
    {"Save", "save", Style::Plain, "", +[](frmMain &w) { w.mnuFileSave_Click(); }},
    {nullptr, nullptr, Style::Separator, "", Command{}},
    {"Print", "print", Style::Plain, "", +[](frmMain &w) { w.mnuFilePrint_Click(); }},
    {nullptr, nullptr, Style::Separator, "", Command{}},
    {"Cut", "cut", Style::Plain, "", +[](frmMain &w) { w.mnuEditCut_Click(); }},
    {"Copy", "copy", Style::Plain, "", +[](frmMain &w) { w.mnuEditCopy_Click(); }},
    {"Paste", "paste", Style::Plain, "", +[](frmMain &w) { w.mnuEditPaste_Click(); }},
    {nullptr, nullptr, Style::Separator, "", Command{}},
    {"Bold", "bold", Style::Pressable, "Ctrl+B", CharacterFormat::Bold},
    {"Italic", "italic", Style::Pressable, "Ctrl+I", CharacterFormat::Italic},
    {"Underline", "underline", Style::Pressable, "Ctrl+U", CharacterFormat::Underline},
    {nullptr, nullptr, Style::Separator, "", Command{}},
    {"Align Left", "alignleft", Style::Group, "Ctrl+L", Alignment::Left},
    {"Center", "center", Style::Group, "Ctrl+E", Alignment::Center},
    {"Align Right", "alignright", Style::Group, "Ctrl+R", Alignment::Right},
};
// clang-format on

const QColor maskColor(192, 192, 192);
const QSize buttonSize(23, 22);
const QSize pictureSize(16, 16);
constexpr double fontBoxWidthTwips = 3015;

} // namespace

void frmMain::buildToolbar() {
    installToolbarAccessibility();
    imlToolbarIcons = new ImageList(pictureSize, maskColor, this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));
    for (const Button &button : buttons)
        if (button.picture)
            imlToolbarIcons->add(
                QString::fromLatin1(button.key),
                QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(button.picture)));

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
        if (*button.shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(button.shortcut)));
            // The keys work while the toolbar is hidden too.
            addAction(action);
        }
        if (button.style != Style::Plain)
            action->setCheckable(true);
        if (button.style == Style::Group)
            alignment->addAction(action);
        if (const auto *format = std::get_if<CharacterFormat>(&button.action))
            characterButtons_[static_cast<std::size_t>(*format)] = action;
        if (const auto *aligned = std::get_if<Alignment>(&button.action))
            alignmentButtons_[static_cast<std::size_t>(*aligned)] = action;
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
    // A name typed and entered changes nothing, so it is not added to the list either.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems({QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                      QStringLiteral("Courtier New")});
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Combo1->setFixedWidth(twipsToPixelsX(fontBoxWidthTwips));
    Combo1->setToolTip(QStringLiteral("Font"));
    // A screen reader names a combo box after its label; this one is heard, not seen.
    auto *label = new QLabel(QStringLiteral("Font"), tbToolBar);
    label->setBuddy(Combo1);
    label->hide();
    Combo1->setAccessibleName(label->text());
    tbToolBar->addWidget(Combo1);
}

void frmMain::showCharacterFormat(CharacterFormat format, bool on) {
    characterButtons_[static_cast<std::size_t>(format)]->setChecked(on);
}

void frmMain::showAlignment(std::optional<Alignment> shown) {
    for (Alignment alignment : alignments)
        alignmentButtons_[static_cast<std::size_t>(alignment)]->setChecked(shown == alignment);
}

void frmMain::tbToolBar_ButtonClick(QAction *Button) {
    runIgnoringErrors({[&] {
        const QString key = Button->data().toString();
        for (const auto &button : buttons) {
            if (!button.key || key != QLatin1String(button.key))
                continue;
            if (const auto *command = std::get_if<Command>(&button.action))
                (*command)(*this);
            else if (const auto *format = std::get_if<CharacterFormat>(&button.action))
                diary_.applyCharacterFormat(*format, Button);
            else
                diary_.applyAlignment(std::get<Alignment>(button.action));
            return;
        }
    }});
}
