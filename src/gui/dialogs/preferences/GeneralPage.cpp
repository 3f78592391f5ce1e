#include "gui/dialogs/preferences/GeneralPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TGeneralPage::TGeneralPage(QWidget* parent) : TPreferencePage(tr("General"), "General", parent)
{
    m_email = new QLineEdit(Body());
    m_email->setObjectName("edAnonymousPassword");
    m_siteManager = new QCheckBox(tr("Upon Startup &Launch Site Manager"), Body());
    m_siteManager->setObjectName("cbShowSiteManagerStartup");
    m_keepTimes = new QCheckBox(tr("Transferred files keep their &modification time"), Body());
    m_keepTimes->setObjectName("cbKeepRemoteTimes");
    m_pipelining = new QCheckBox(tr("Send the next file's commands &without waiting for replies"), Body());
    m_pipelining->setObjectName("cbPipelining");
    m_confirmDelete = new QCheckBox(tr("As&k before deleting (and then delete folders with their contents)"), Body());
    m_confirmDelete->setObjectName("cbConfirmDelete");
    m_keyring = new QCheckBox(tr("Keep passwords in the desktop's ke&yring"), Body());
    m_keyring->setObjectName("cbKeyringPasswords");
    m_retries = NumberField("seConnectionRetryTimes", Body());
    m_replyTimeout = NumberField("seReplyTimeout", Body());
    m_dataTimeout = NumberField("seDataTimeout", Body());
    m_historyFiles = NumberField("seHistoryFiles", Body());
    auto* form = new QFormLayout(Body());
    auto* emailLabel = new QLabel(tr("&Email Address for Anonymous"), Body());
    emailLabel->setBuddy(m_email);
    form->addRow(emailLabel);
    form->addRow(m_email);
    form->addRow(m_siteManager);
    form->addRow(m_keepTimes);
    form->addRow(m_pipelining);
    form->addRow(m_confirmDelete);
    form->addRow(m_keyring);
    form->addRow(tr("Connection &Retry Times"), m_retries);
    form->addRow(tr("Seconds a reply may &take (0: no limit)"), m_replyTimeout);
    form->addRow(tr("Seconds a transfer may &stall (0: no limit)"), m_dataTimeout);
    form->addRow(tr("Files the transfer &history keeps (0: none)"), m_historyFiles);
}

void TGeneralPage::Load(const TSettings& settings)
{
    m_email->setText(QString::fromStdString(settings.AnonymousEmail));
    m_siteManager->setChecked(settings.ShowSiteManager);
    m_keepTimes->setChecked(settings.KeepRemoteTimes);
    m_pipelining->setChecked(settings.Pipelining);
    m_confirmDelete->setChecked(settings.ConfirmDelete);
    m_keyring->setChecked(settings.KeyringPasswords);
    m_retries->setText(QString::number(settings.ConnectionRetryTimes));
    m_replyTimeout->setText(QString::number(settings.ReplyTimeout));
    m_dataTimeout->setText(QString::number(settings.DataTimeout));
    m_historyFiles->setText(QString::number(settings.HistoryFiles));
}

bool TGeneralPage::Check(QString& problem)
{
    return ReadNumber(m_retries, tr("Connection Retry Times"), 0, 1000, m_checked[0], problem) &&
           ReadNumber(m_replyTimeout, tr("The seconds a reply may take"), 0, 86400, m_checked[1], problem) &&
           ReadNumber(m_dataTimeout, tr("The seconds a transfer may stall"), 0, 86400, m_checked[2], problem) &&
           ReadNumber(m_historyFiles, tr("The files the history keeps"), 0, 100000000, m_checked[3], problem);
}

void TGeneralPage::Store(TSettings& settings) const
{
    settings.AnonymousEmail = m_email->text().toStdString();
    settings.ShowSiteManager = m_siteManager->isChecked();
    settings.KeepRemoteTimes = m_keepTimes->isChecked();
    settings.Pipelining = m_pipelining->isChecked();
    settings.ConfirmDelete = m_confirmDelete->isChecked();
    settings.KeyringPasswords = m_keyring->isChecked();
    settings.ConnectionRetryTimes = static_cast<int>(m_checked[0]);
    settings.ReplyTimeout = static_cast<int>(m_checked[1]);
    settings.DataTimeout = static_cast<int>(m_checked[2]);
    settings.HistoryFiles = m_checked[3];
}
