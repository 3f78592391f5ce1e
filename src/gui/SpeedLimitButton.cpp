#include "gui/SpeedLimitButton.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QLocale>
#include <QMenu>

#include "gui/Icons.h"

namespace {

// The limits offered at one click, bytes per second; 0 is none.
constexpr int64_t kPresets[] = {0, 100 * 1024, 500 * 1024, 1024 * 1024, 5 * 1024 * 1024, 10 * 1024 * 1024};

} // namespace

TSpeedLimitButton::TSpeedLimitButton(TfmMain& logic, QWidget* parent) : QToolButton(parent), m_logic(logic)
{
    setObjectName("btnSpeedLimit");
    setAccessibleName(tr("Speed limit"));
    setToolTip(tr("Speed limits for all connections together; they apply at once, also to a running transfer"));
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
    auto* menu = new QMenu(this);
    menu->setObjectName("pmSpeedLimit");
    for (bool download : {true, false}) {
        QMenu* direction = menu->addMenu(download ? tr("&Download limit") : tr("&Upload limit"));
        direction->setObjectName(download ? "pmDownloadLimit" : "pmUploadLimit");
        direction->setIcon(GuiIcon(download ? "download" : "upload"));
        auto* group = new QActionGroup(direction);
        for (int64_t rate : kPresets) {
            QAction* action = direction->addAction(rate == 0 ? tr("&No limit") : RateText(rate));
            action->setCheckable(true);
            action->setData(QVariant::fromValue<qlonglong>(rate));
            group->addAction(action);
            connect(action, &QAction::triggered, this, [this, download, rate] { Choose(download, rate); });
        }
        QAction* other = direction->addAction(tr("&Other..."));
        other->setCheckable(true);
        other->setData(QVariant::fromValue<qlonglong>(-1));
        group->addAction(other);
        connect(other, &QAction::triggered, this, [this, download] { AskOther(download); });
    }
    setMenu(menu);
    ShowLimits();
}

QString TSpeedLimitButton::RateText(int64_t bytesPerSecond)
{
    if (bytesPerSecond <= 0)
        return tr("none");
    if (bytesPerSecond >= 1024 * 1024 && bytesPerSecond % (1024 * 1024) == 0)
        return tr("%1 MiB/s").arg(QLocale().toString(bytesPerSecond / (1024 * 1024)));
    return tr("%1 KiB/s").arg(QLocale().toString((bytesPerSecond + 1023) / 1024));
}

void TSpeedLimitButton::ShowLimits()
{
    int64_t down = m_logic.Settings().DownloadLimit;
    int64_t up = m_logic.Settings().UploadLimit;
    setText(down == 0 && up == 0 ? tr("No speed limit")
                                 : tr("Limit \u2193 %1  \u2191 %2").arg(RateText(down), RateText(up)));
    for (bool download : {true, false}) {
        auto* direction = findChild<QMenu*>(download ? "pmDownloadLimit" : "pmUploadLimit");
        int64_t rate = download ? down : up;
        bool preset = std::find(std::begin(kPresets), std::end(kPresets), rate) != std::end(kPresets);
        for (QAction* action : direction->actions())
            action->setChecked(preset ? action->data().toLongLong() == rate : action->data().toLongLong() < 0);
    }
}

void TSpeedLimitButton::Choose(bool download, int64_t bytesPerSecond)
{
    const TSettings& settings = m_logic.Settings();
    m_logic.SetSpeedLimits(download ? bytesPerSecond : settings.DownloadLimit,
                           download ? settings.UploadLimit : bytesPerSecond);
    ShowLimits();
}

void TSpeedLimitButton::AskOther(bool download)
{
    int64_t now = download ? m_logic.Settings().DownloadLimit : m_logic.Settings().UploadLimit;
    bool ok = false;
    int kib = QInputDialog::getInt(this, download ? tr("Download limit") : tr("Upload limit"),
                                   tr("KiB/s for all connections together (0: none):"),
                                   static_cast<int>((now + 1023) / 1024), 0, 100000000, 1, &ok);
    if (ok)
        Choose(download, static_cast<int64_t>(kib) * 1024);
    else
        ShowLimits(); // the tick goes back to what holds
}
