#include "gui/dialogs/preferences/QuickConnectPage.h"

#include <QListWidget>
#include <QPushButton>

#include "gui/dialogs/Prompts.h"
#include "ui/MainWindow.h"

TQuickConnectPage::TQuickConnectPage(const TPreferenceContext& context, QWidget* parent)
    : TPreferencePage(tr("Quick Connection"), "QuickConnect", parent), m_context(context)
{
    QPushButton* remove = PageButton(tr("&Delete"), "btnDeleteQuickConnect", Body());
    QPushButton* clear = PageButton(tr("&Clear"), "btnClearQuickConnect", Body());
    connect(remove, &QPushButton::clicked, this, &TQuickConnectPage::DeleteSelected);
    connect(clear, &QPushButton::clicked, this, &TQuickConnectPage::Clear);
    m_list = ListWithButtons(Body(), "lbQuickConnect", tr("Quick connections"), QAbstractItemView::ExtendedSelection,
                             {remove, clear});
}

void TQuickConnectPage::Load(const TSettings& settings)
{
    ShowTexts(m_list, settings.HostItems); // masked: no password shows
}

void TQuickConnectPage::DeleteSelected()
{
    if (!AskYesNo(this, tr("Clear").toStdString(), tr("Are you sure?").toStdString()))
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
    if (!AskYesNo(this, tr("Clear").toStdString(), tr("Are you sure?").toStdString()))
        return;
    m_context.ChangeNow([](TSettings& settings) {
        settings.HostItems.clear();
        settings.HostHistory.clear();
    });
    m_list->clear();
}
