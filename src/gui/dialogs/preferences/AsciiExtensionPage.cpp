#include "gui/dialogs/preferences/AsciiExtensionPage.h"

#include <QListWidget>
#include <QPushButton>

#include "gui/dialogs/Prompts.h"
#include "platform/TextLines.h"
#include "ui/MainWindow.h"

TAsciiExtensionPage::TAsciiExtensionPage(const TPreferenceContext& context, QWidget* parent)
    : TPreferencePage("ASCII Extension", "ASCIIExtension", parent), m_context(context)
{
    m_list = new QListWidget(Body());
    m_list->setObjectName("ListBox1");
    m_list->setAccessibleName("ASCII extensions");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* add = new QPushButton("&Add", Body());
    add->setObjectName("btnAddExtension");
    auto* remove = new QPushButton("&Delete", Body());
    remove->setObjectName("btnDeleteExtension");
    for (QPushButton* button : {add, remove})
        button->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &TAsciiExtensionPage::Add);
    connect(remove, &QPushButton::clicked, this, &TAsciiExtensionPage::Delete);
    ListWithButtons(Body(), m_list, {add, remove});
}

void TAsciiExtensionPage::Load(const TSettings& settings)
{
    m_list->clear();
    for (const std::string& extension : settings.TextExt)
        m_list->addItem(QString::fromStdString(extension));
}

void TAsciiExtensionPage::Add()
{
    std::string extension;
    if (!AskText(this, "Add Extension", "New = ", extension))
        return;
    for (const std::string& existing : m_context.Logic.Settings().TextExt)
        if (platform::EqualsIgnoringCase(existing, extension)) {
            ShowInformation(this, "This extension exists!");
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
