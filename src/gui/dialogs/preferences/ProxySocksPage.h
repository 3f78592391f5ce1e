#pragma once

#include "gui/dialogs/preferences/PreferencePage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;

// The FTP proxy, the SOCKS server, passive mode and TLS.
class TProxySocksPage : public TPreferencePage
{
    Q_OBJECT

public:
    explicit TProxySocksPage(QWidget* parent);
    void Load(const TSettings& settings) override;
    bool Check(QString& problem) override;
    void Store(TSettings& settings) const override;

private:
    struct Server
    {
        QCheckBox* Enabled;
        QLineEdit* Host;
        QLineEdit* Port;
        QLineEdit* User;
        QLineEdit* Pass;
    };
    QGroupBox* ServerGroup(const QString& title, const QString& prefix, const QString& enableText, Server& server);
    static void LoadServer(Server& server, const TProxySetting& setting);
    static void StoreServer(const Server& server, TProxySetting& setting);
    static bool CheckServer(const Server& server, const QString& what, QString& problem);

    Server m_proxy{};
    Server m_socks{};
    QRadioButton* m_proxyTypes[4] = {}; // Type 1 .. 4
    QRadioButton* m_socksTypes[3] = {}; // Type 5 .. 7
    QCheckBox* m_passive;
    QComboBox* m_tls;
};
