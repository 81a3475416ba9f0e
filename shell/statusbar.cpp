#include "shell/statusbar.h"

#include "platform/platform.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace {
// Often enough that a lock key lights its panel without a visible delay.
constexpr int refreshMilliseconds = 250;

struct Indicator {
    const char *text;
    LockKey key;
};
const Indicator indicators[] = {
    {"CAPS", LockKey::Caps}, {"NUM", LockKey::Num}, {"SCRL", LockKey::Scroll}};
} // namespace

StatusBar::StatusBar(std::function<bool()> insertMode, QWidget *parent)
    : QStatusBar(parent), insertMode_(std::move(insertMode)) {
    setObjectName(QStringLiteral("sbStatusBar"));
    auto addPanel = [this](const QString &text, int stretch) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Panels(%1)").arg(panels_.size() + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        label->setAlignment(Qt::AlignCenter);
        addPermanentWidget(label, stretch);
        panels_ << label;
        return label;
    };
    addPanel(QStringLiteral("Status"), 1)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    addPanel(QString(), 0);
    addPanel(QString(), 0);
    for (const Indicator &indicator : indicators)
        addPanel(QString::fromLatin1(indicator.text), 0);
    addPanel(QStringLiteral("INS"), 0);
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &StatusBar::refresh);
    clock_->start(refreshMilliseconds);
    refresh();
}

QLabel *StatusBar::panel(int index) const {
    return panels_.value(index - 1);
}

void StatusBar::refresh() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    const QString date = locale.toString(platform().today(), QLocale::ShortFormat);
    const QString time = locale.toString(now.time(), QLocale::ShortFormat);
    if (panels_[1]->text() != date)
        panels_[1]->setText(date);
    if (panels_[2]->text() != time)
        panels_[2]->setText(time);
    auto light = [](QLabel *panel, bool lit) {
        if (panel->isEnabled() != lit)
            panel->setEnabled(lit);
    };
    for (int i = 0; i < 3; ++i)
        light(panels_[3 + i], platform().keyState(indicators[i].key));
    light(panels_[6], insertMode_());
}
