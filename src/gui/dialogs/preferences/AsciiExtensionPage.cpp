#include "gui/dialogs/preferences/AsciiExtensionPage.h"

#include <QListWidget>
#include <QPushButton>

#include "gui/dialogs/Prompts.h"
#include "platform/TextLines.h"
#include "ui/MainWindow.h"

TAsciiExtensionPage::TAsciiExtensionPage(const TPreferenceContext& context, QWidget* parent)
    : TPreferencePage(tr("ASCII Extension"), "ASCIIExtension", parent), m_context(context)
{
    QPushButton* add = PageButton(tr("&Add"), "btnAddExtension", Body());
    QPushButton* remove = PageButton(tr("&Delete"), "btnDeleteExtension", Body());
    connect(add, &QPushButton::clicked, this, &TAsciiExtensionPage::Add);
    connect(remove, &QPushButton::clicked, this, &TAsciiExtensionPage::Delete);
    m_list =
        ListWithButtons(Body(), "ListBox1", tr("ASCII extensions"), QAbstractItemView::SingleSelection, {add, remove});
}

void TAsciiExtensionPage::Load(const TSettings& settings)
{
    ShowTexts(m_list, settings.TextExt);
}

void TAsciiExtensionPage::Add()
{
    std::string extension;
    if (!AskText(this, tr("Add Extension").toStdString(), tr("New = ").toStdString(), extension))
        return;
    for (const std::string& existing : m_context.Logic.Settings().TextExt)
        if (platform::EqualsIgnoringCase(existing, extension)) {
            ShowInformation(this, tr("This extension exists!").toStdString());
            return;
        }
    m_context.ChangeNow([&extension](TSettings& settings) { settings.TextExt.push_back(extension); });
    m_list->addItem(QString::fromStdString(extension));
}

void TAsciiExtensionPage::Delete()
{
    int row = m_list->currentRow();
    if (row < 0 || !m_list->currentItem()->isSelected())
        return;
    m_context.ChangeNow([row](TSettings& settings) {
        if (row < static_cast<int>(settings.TextExt.size()))
            settings.TextExt.erase(settings.TextExt.begin() + row);
    });
    delete m_list->takeItem(row);
}
