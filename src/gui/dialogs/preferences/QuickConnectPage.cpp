#include "gui/dialogs/preferences/QuickConnectPage.h"

#include <QListWidget>
#include <QPushButton>

#include "gui/dialogs/Prompts.h"
#include "ui/MainWindow.h"

TQuickConnectPage::TQuickConnectPage(const TPreferenceContext& context, QWidget* parent)
    : TPreferencePage("Quick Connection", "QuickConnect", parent), m_context(context)
{
    m_list = new QListWidget(Body());
    m_list->setObjectName("lbQuickConnect");
    m_list->setAccessibleName("Quick connections");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* remove = new QPushButton("&Delete", Body());
    remove->setObjectName("btnDeleteQuickConnect");
    auto* clear = new QPushButton("&Clear", Body());
    clear->setObjectName("btnClearQuickConnect");
    for (QPushButton* button : {remove, clear})
        button->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &TQuickConnectPage::DeleteSelected);
    connect(clear, &QPushButton::clicked, this, &TQuickConnectPage::Clear);
    ListWithButtons(Body(), m_list, {remove, clear});
}

void TQuickConnectPage::Load(const TSettings& settings)
{
    m_list->clear();
    for (const std::string& item : settings.HostItems) // masked: no password shows
        m_list->addItem(QString::fromStdString(item));
}

void TQuickConnectPage::DeleteSelected()
{
    if (!AskYesNo(this, "Clear", "Are you sure?"))
        return;
    std::vector<bool> selected;
    for (int row = 0; row < m_list->count(); ++row)
        selected.push_back(m_list->item(row)->isSelected());
    m_context.ChangeNow([&selected](TSettings& settings) {
        for (size_t row = selected.size(); row-- > 0;)
            if (selected[row] && row < settings.HostItems.size() && row < settings.HostHistory.size()) {
                settings.HostItems.erase(settings.HostItems.begin() + static_cast<long>(row));
                settings.HostHistory.erase(settings.HostHistory.begin() + static_cast<long>(row));
            }
    });
    Load(m_context.Logic.Settings());
}

void TQuickConnectPage::Clear()
{
    if (!AskYesNo(this, "Clear", "Are you sure?"))
        return;
    m_context.ChangeNow([](TSettings& settings) {
        settings.HostItems.clear();
        settings.HostHistory.clear();
    });
    m_list->clear();
}
