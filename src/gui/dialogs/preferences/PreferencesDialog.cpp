#include "gui/dialogs/preferences/PreferencesDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBox>
#include <QVBoxLayout>

#include "gui/MainForm.h"
#include "gui/dialogs/Prompts.h"
#include "gui/dialogs/preferences/AntiIdlePage.h"
#include "gui/dialogs/preferences/AsciiExtensionPage.h"
#include "gui/dialogs/preferences/FontsPage.h"
#include "gui/dialogs/preferences/GeneralPage.h"
#include "gui/dialogs/preferences/MultipleThreadPage.h"
#include "gui/dialogs/preferences/ProxySocksPage.h"
#include "gui/dialogs/preferences/QuickConnectPage.h"
#include "ui/MainWindow.h"

TfmPreference::TfmPreference(TfmMain& logic, TMainForm& window) : QDialog(&window), m_context{logic, window}
{
    setObjectName("fmPreference");
    setWindowTitle(tr("Preference"));
    m_pages = new QStackedWidget(this);
    m_groups = new QToolBox(this);
    m_groups->setObjectName("obNavigation");
    m_groups->setMinimumWidth(150);

    struct Entry
    {
        QString Item;
        TPreferencePage* Page;
    };
    const std::vector<std::pair<const char*, std::vector<Entry>>> groups = {
        {QT_TR_NOOP("Connection"),
         {{tr("General"), new TGeneralPage(m_pages)},
          {tr("Anti Idle"), new TAntiIdlePage(m_pages)},
          {tr("Proxy && Socks"), new TProxySocksPage(m_pages)}}},
        {QT_TR_NOOP("Transferring"),
         {{tr("Multiple Thread"), new TMultipleThreadPage(m_pages)},
          {tr("ASC II Extension"), new TAsciiExtensionPage(m_context, m_pages)}}},
        {QT_TR_NOOP("Appearance"),
         {{tr("Fonts"), new TFontsPage(m_context, m_pages)},
          {tr("Quick Connection"), new TQuickConnectPage(m_context, m_pages)}}},
    };
    for (const auto& [title, entries] : groups) {
        auto* items = new QListWidget(m_groups);
        items->setObjectName("lb" + QString(title).remove(' '));
        items->setFrameShape(QFrame::NoFrame);
        for (const Entry& entry : entries) {
            auto* item = new QListWidgetItem(QString(entry.Item).replace("&&", "&"), items);
            item->setData(Qt::UserRole, m_pages->addWidget(entry.Page));
            entry.Page->Load(logic.Settings());
            m_all.push_back(entry.Page);
        }
        connect(items, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
            if (item)
                m_pages->setCurrentIndex(item->data(Qt::UserRole).toInt());
        });
        m_groups->addItem(items, tr(title));
    }
    ShowPage("General");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TfmPreference::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addWidget(m_groups);
    top->addWidget(m_pages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    resize(std::max(560, sizeHint().width()), std::max(400, sizeHint().height()));
}

void TfmPreference::ShowPage(const QString& name)
{
    // The group that holds the page opens, with the page's item chosen.
    for (int group = 0; group < m_groups->count(); ++group) {
        auto* items = static_cast<QListWidget*>(m_groups->widget(group));
        for (int row = 0; row < items->count(); ++row)
            if (m_pages->widget(items->item(row)->data(Qt::UserRole).toInt())->objectName() == name) {
                m_groups->setCurrentIndex(group);
                items->setCurrentRow(row);
                m_pages->setCurrentIndex(items->item(row)->data(Qt::UserRole).toInt());
            }
    }
}

void TfmPreference::Confirm()
{
    for (TPreferencePage* page : m_all) {
        QString problem;
        m_pages->setCurrentWidget(page); // so that the field's focus shows
        if (!page->Check(problem)) {
            ShowError(this, problem.toStdString());
            return;
        }
    }
    TSettings settings = m_context.Logic.Settings();
    for (const TPreferencePage* page : m_all)
        page->Store(settings);
    m_context.Logic.ApplySettings(settings);
    m_context.Window.SettingsChanged();
    accept();
}
