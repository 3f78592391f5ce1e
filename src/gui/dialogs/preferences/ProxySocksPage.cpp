#include "gui/dialogs/preferences/ProxySocksPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ftp/FtpSecurity.h"

TProxySocksPage::TProxySocksPage(QWidget* parent) : TPreferencePage(tr("Proxy && Socks"), "ProxyAndSocks", parent)
{
    QGroupBox* proxy = ServerGroup(tr("Proxy"), "Proxy", tr("Enable &Proxy"), m_proxy);
    const char* proxyNames[] = {"rbFtpProxyUserHost", "rbFtpProxyUser", "rbFtpProxySiteSite", "rbFtpProxySiteUserHost"};
    const char* proxyTexts[] = {"USER user@host", "USER login", "SITE site", "SITE user@host"};
    auto* proxyTypes = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_proxyTypes[i] = new QRadioButton(proxyTexts[i], proxy);
        m_proxyTypes[i]->setObjectName(proxyNames[i]);
        m_proxyTypes[i]->setVisible(i < 2); // the SITE kinds are kept, not offered
        proxyTypes->addWidget(m_proxyTypes[i]);
    }
    proxyTypes->addStretch(1);
    static_cast<QVBoxLayout*>(proxy->layout())->addLayout(proxyTypes);
    auto* ftpOnly = new QLabel(tr("An FTP proxy carries FTP only: SFTP goes directly or through SOCKS."), proxy);
    ftpOnly->setObjectName("lbProxyFtpOnly");
    ftpOnly->setWordWrap(true);
    static_cast<QVBoxLayout*>(proxy->layout())->addWidget(ftpOnly);

    QGroupBox* socks = ServerGroup(tr("SOCKS"), "Socks", tr("Enable &SOCKS"), m_socks);
    const char* socksNames[] = {"rbFtpSocks4", "rbFtpSocks4A", "rbFtpSocks5"};
    const char* socksTexts[] = {"SOCKS4", "SOCKS4A", "SOCKS5"};
    auto* socksTypes = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_socksTypes[i] = new QRadioButton(socksTexts[i], socks);
        m_socksTypes[i]->setObjectName(socksNames[i]);
        socksTypes->addWidget(m_socksTypes[i]);
    }
    socksTypes->addStretch(1);
    static_cast<QVBoxLayout*>(socks->layout())->addLayout(socksTypes);

    m_passive = new QCheckBox(tr("Use PASV &mode"), Body());
    m_passive->setObjectName("cbPasvMode");
    m_tls = new QComboBox(Body());
    m_tls->setObjectName("cbTlsMode");
    for (int mode = ftpsAuto; mode <= ftpsOff; ++mode)
        m_tls->addItem(QCoreApplication::translate("Engine", SecurityName(static_cast<TFtpSecurity>(mode))));
    auto* tlsLabel = new QLabel(tr("&Security of new connections:"), Body());
    tlsLabel->setBuddy(m_tls);
    auto* tls = new QHBoxLayout;
    tls->addWidget(tlsLabel);
    tls->addWidget(m_tls);
    tls->addStretch(1);
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(proxy);
    layout->addWidget(socks);
    layout->addWidget(m_passive);
    layout->addLayout(tls);
    layout->addStretch(1);
}

QGroupBox* TProxySocksPage::ServerGroup(const QString& title, const QString& prefix, const QString& enableText,
                                        Server& server)
{
    auto* group = new QGroupBox(title, Body());
    auto edit = [group, &prefix](const char* field) {
        auto* line = new QLineEdit(group);
        line->setObjectName("ed" + prefix + field);
        return line;
    };
    server.Host = edit("Host");
    server.Port = NumberField(("ed" + prefix + "Port").toUtf8().constData(), group);
    server.User = edit("User");
    server.Pass = edit("Pass");
    server.Pass->setEchoMode(QLineEdit::Password);
    server.Enabled = new QCheckBox(enableText, group);
    server.Enabled->setObjectName("cbEnable" + prefix);
    auto* grid = new QGridLayout;
    auto row = [&grid, group](int line, int column, const QString& text, QLineEdit* field) {
        auto* label = new QLabel(text, group);
        label->setBuddy(field);
        grid->addWidget(label, line, column);
        grid->addWidget(field, line, column + 1);
    };
    row(0, 0, tr("Host"), server.Host);
    row(0, 2, tr("Port"), server.Port);
    row(1, 0, tr("User"), server.User);
    row(1, 2, tr("Pass"), server.Pass);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addWidget(server.Enabled);
    return group;
}

void TProxySocksPage::LoadServer(Server& server, const TProxySetting& setting)
{
    server.Enabled->setChecked(setting.Enabled);
    server.Host->setText(QString::fromStdString(setting.Host));
    server.Port->setText(QString::fromStdString(setting.Port));
    server.User->setText(QString::fromStdString(setting.User));
    server.Pass->setText(QString::fromStdString(setting.Pass));
}

void TProxySocksPage::StoreServer(const Server& server, TProxySetting& setting)
{
    setting.Enabled = server.Enabled->isChecked();
    setting.Host = server.Host->text().trimmed().toStdString();
    setting.Port = server.Port->text().trimmed().toStdString();
    setting.User = server.User->text().toStdString();
    setting.Pass = server.Pass->text().toStdString();
}

bool TProxySocksPage::CheckServer(const Server& server, const QString& what, QString& problem)
{
    // An empty port is allowed while the server is not used.
    if (server.Port->text().trimmed().isEmpty() && !server.Enabled->isChecked())
        return true;
    int64_t port = 0;
    return ReadNumber(server.Port, tr("The %1 port").arg(what), 1, 65535, port, problem);
}

void TProxySocksPage::Load(const TSettings& settings)
{
    LoadServer(m_proxy, settings.Proxy);
    LoadServer(m_socks, settings.Socks);
    m_passive->setChecked(settings.PasvMode);
    m_tls->setCurrentIndex(settings.TlsMode);
    int proxyType = settings.Proxy.Type >= 1 && settings.Proxy.Type <= 4 ? settings.Proxy.Type : 1;
    m_proxyTypes[proxyType - 1]->setChecked(true);
    int socksType = settings.Socks.Type >= 5 && settings.Socks.Type <= 7 ? settings.Socks.Type : 5;
    m_socksTypes[socksType - 5]->setChecked(true);
}

bool TProxySocksPage::Check(QString& problem)
{
    return CheckServer(m_proxy, tr("proxy"), problem) && CheckServer(m_socks, "SOCKS", problem);
}

void TProxySocksPage::Store(TSettings& settings) const
{
    StoreServer(m_proxy, settings.Proxy);
    StoreServer(m_socks, settings.Socks);
    settings.PasvMode = m_passive->isChecked();
    settings.TlsMode = m_tls->currentIndex();
    for (int i = 0; i < 4; ++i)
        if (m_proxyTypes[i]->isChecked())
            settings.Proxy.Type = static_cast<uint8_t>(i + 1);
    for (int i = 0; i < 3; ++i)
        if (m_socksTypes[i]->isChecked())
            settings.Socks.Type = static_cast<uint8_t>(i + 5);
}
