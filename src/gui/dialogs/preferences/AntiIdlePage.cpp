#include "gui/dialogs/preferences/AntiIdlePage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

TAntiIdlePage::TAntiIdlePage(QWidget* parent) : TPreferencePage(tr("Anti Idle"), "AntiIdle", parent)
{
    auto* commands = new QListWidget(Body());
    commands->setObjectName("lbAntiIdleCommands");
    commands->addItems({"PWD", "REST 0", "TYPE I", "TYPE A"}); // shown only: the commands are fixed
    commands->setSelectionMode(QAbstractItemView::NoSelection);
    commands->setFocusPolicy(Qt::NoFocus);
    auto* commandsLabel = new QLabel(tr("Use there commands in random order"), Body());
    m_enable = new QCheckBox(tr("&Enable Anti Idle"), Body());
    m_enable->setObjectName("cbEnableAntiIdle");
    m_interval = NumberField("spAntiIdleInterval", Body());
    auto* intervalLabel = new QLabel(tr("Anti Idle &Interval "), Body());
    intervalLabel->setBuddy(m_interval);
    auto* interval = new QHBoxLayout;
    interval->addWidget(intervalLabel);
    interval->addWidget(m_interval);
    interval->addWidget(new QLabel(tr("Seconds"), Body()));
    interval->addStretch(1);
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(commandsLabel);
    layout->addWidget(commands, 1);
    layout->addWidget(m_enable);
    layout->addLayout(interval);
}

void TAntiIdlePage::Load(const TSettings& settings)
{
    m_enable->setChecked(settings.AntiIdleEnable);
    m_interval->setText(QString::number(settings.Interval));
}

bool TAntiIdlePage::Check(QString& problem)
{
    return ReadNumber(m_interval, tr("Anti Idle Interval"), 1, 86400, m_checked, problem);
}

void TAntiIdlePage::Store(TSettings& settings) const
{
    settings.AntiIdleEnable = m_enable->isChecked();
    settings.Interval = static_cast<int>(m_checked);
}
