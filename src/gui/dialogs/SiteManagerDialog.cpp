#include "gui/dialogs/SiteManagerDialog.h"

#include <algorithm>

#include <QAction>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/Settings.h"
#include "gui/Icons.h"
#include "platform/TextLines.h"

namespace {

using Layout = TSiteBookTables;

constexpr int kClassRole = Qt::UserRole;
constexpr int kSiteRole = Qt::UserRole + 1;

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

const char* const kNameExists = QT_TRANSLATE_NOOP("TfmConnBook", "This name already exists !\rplease change another .");

} // namespace

TfmConnBook::TfmConnBook(const std::string& bookPath, QWidget* parent) : QDialog(parent), m_book(bookPath, m_prompt)
{
    setObjectName("fmConnBook");
    setWindowTitle(tr("Site Manager"));
    BuildControls();
    resize(std::max(510, sizeHint().width()), std::max(407, sizeHint().height()));
}

void TfmConnBook::BuildControls()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName("sitetree");
    m_tree->setAccessibleName(tr("Sites"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_building)
            ShowSelectedSite();
    });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, kSiteRole).toInt() >= 0)
            accept(); // the fields as they stand, not trimmed
    });
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TfmConnBook::TreeMenu);
    // The tree's popup; F2 and Del work on the tree as in the panes.
    auto action = [this](const char* name, const char* icon, const QString& caption, void (TfmConnBook::*command)(),
                         const QKeySequence& key = {}) {
        auto* item = new QAction(GuiIcon(icon), caption, this);
        item->setObjectName(name);
        item->setShortcut(key);
        item->setShortcutContext(Qt::WidgetShortcut);
        connect(item, &QAction::triggered, this, command);
        m_tree->addAction(item);
    };
    action("miNewClass", "make-directory", tr("New Class..."), &TfmConnBook::NewClass);
    action("miNewSite", "add-site", tr("New Site..."), &TfmConnBook::NewSite);
    action("miRename", "rename", tr("Rename"), &TfmConnBook::Rename, QKeySequence(Qt::Key_F2));
    action("miDelete", "delete", tr("Delete"), &TfmConnBook::Delete, QKeySequence(Qt::Key_Delete));

    auto field = [this](const char* name, const QString& accessible) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setAccessibleName(accessible);
        return edit;
    };
    m_name = field("name", tr("Name"));
    m_address = field("addr", tr("Address"));
    m_port = field("port", tr("Port"));
    m_user = field("username", tr("User"));
    m_password = field("password", tr("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName("Memo1");
    m_description->setAccessibleName(tr("Description"));
    m_description->setTabChangesFocus(true);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Name:"), m_name);
    fields->addRow(tr("A&ddr:"), m_address);
    fields->addRow(tr("P&ort:"), m_port);
    fields->addRow(tr("&User:"), m_user);
    fields->addRow(tr("Pa&ss:"), m_password);
    auto* descriptionLabel = new QLabel(tr("D&escription:"), this);
    descriptionLabel->setBuddy(m_description);

    auto button = [this](const char* name, const QString& caption, void (TfmConnBook::*command)()) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(name);
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, command);
        return pushButton;
    };
    auto* sideButtons = new QGridLayout;
    sideButtons->addWidget(button("btnNewClass", tr("New &Class"), &TfmConnBook::NewClass), 0, 0);
    sideButtons->addWidget(button("btnDelete", tr("De&lete"), &TfmConnBook::Delete), 0, 1);
    sideButtons->addWidget(button("btnNewSite", tr("New S&ite"), &TfmConnBook::NewSite), 1, 0);
    sideButtons->addWidget(button("btnApply", tr("&Apply"), &TfmConnBook::Apply), 1, 1);

    auto* side = new QWidget(this);
    side->setObjectName("pnRight");
    side->setMinimumWidth(226);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addLayout(fields);
    sideLayout->addWidget(descriptionLabel);
    sideLayout->addWidget(m_description, 1);
    sideLayout->addLayout(sideButtons);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(button("btnBackup", tr("&Backup"), &TfmConnBook::Backup));
    bottom->addWidget(button("btnRestore", tr("&Restore"), &TfmConnBook::Restore));
    bottom->addWidget(button("btnImport", tr("I&mport"), &TfmConnBook::Import));
    bottom->addStretch(1);
    QPushButton* ok = button("btnOK", tr("OK"), &TfmConnBook::Confirm);
    ok->setDefault(true);
    bottom->addWidget(ok);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addWidget(m_tree, 1);
    top->addWidget(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    setTabOrder(m_tree, m_name);
}

// ---------------------------------------------------------------- showing

void TfmConnBook::showEvent(QShowEvent* event)
{
    if (m_skipLoad)
        m_skipLoad = false;
    else
        LoadBook();
    QDialog::showEvent(event);
}

void TfmConnBook::LoadBook()
{
    ClearFields();
    m_book.LoadSiteBook();
    BuildTree();
}

void TfmConnBook::BuildTree()
{
    m_building = true;
    m_tree->clear();
    QTreeWidgetItem* selected = nullptr;
    for (size_t c = 0; c < m_book.Classes.size(); ++c) {
        const TSiteBook::ClassNode& node = m_book.Classes[c];
        auto* classItem = new QTreeWidgetItem(m_tree, {text(node.Name)});
        classItem->setIcon(0, GuiIcon("site-class"));
        classItem->setData(0, kClassRole, static_cast<int>(c));
        classItem->setData(0, kSiteRole, -1);
        if (m_book.Selected.classIndex == static_cast<int>(c) && m_book.Selected.siteIndex < 0)
            selected = classItem;
        for (size_t s = 0; s < node.Sites.size(); ++s) {
            auto* siteItem = new QTreeWidgetItem(classItem, {text(node.Sites[s])});
            siteItem->setIcon(0, GuiIcon("site"));
            siteItem->setData(0, kClassRole, static_cast<int>(c));
            siteItem->setData(0, kSiteRole, static_cast<int>(s));
            if (m_book.Selected.classIndex == static_cast<int>(c) && m_book.Selected.siteIndex == static_cast<int>(s))
                selected = siteItem;
        }
    }
    if (selected) {
        m_tree->setCurrentItem(selected);
        m_tree->scrollToItem(selected);
    }
    m_building = false;
    ShowSelectedSite(); // the fields follow the node the tree shows as selected
}

void TfmConnBook::SelectNode(int classIndex, int siteIndex)
{
    m_book.Selected = {classIndex, siteIndex};
    BuildTree();
}

void TfmConnBook::ShowSelectedSite()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    m_book.Selected = item ? TSiteBook::NodeRef{item->data(0, kClassRole).toInt(), item->data(0, kSiteRole).toInt()}
                           : TSiteBook::NodeRef{};
    m_book.RebuildSiteTables();
    if (!SiteSelected() || m_book.SelectedRecord == 0) {
        ClearFields();
        return;
    }
    int record = m_book.SelectedRecord;
    const TSiteBookTables& tables = m_book.Tables;
    m_name->setText(text(tables.Text(record, Layout::kName)));
    m_address->setText(text(tables.Text(record, Layout::kHost)));
    m_port->setText(text(tables.Text(record, Layout::kPort)));
    m_user->setText(text(tables.Text(record, Layout::kUser)));
    m_password->setText(text(tables.Text(record, Layout::kPassword)));
    m_description->setPlainText(text(tables.Text(record, Layout::kDescription)));
}

void TfmConnBook::ClearFields()
{
    for (QLineEdit* edit : {m_name, m_address, m_port, m_user, m_password})
        edit->clear();
    m_description->clear();
}

QString TfmConnBook::Address() const
{
    return m_address->text();
}

QString TfmConnBook::Port() const
{
    return m_port->text();
}

QString TfmConnBook::UserName() const
{
    return m_user->text();
}

QString TfmConnBook::Password() const
{
    return m_password->text();
}

// ---------------------------------------------------------------- changes

bool TfmConnBook::ReloadKeepingSelection()
{
    std::string className;
    std::string siteName;
    if (m_book.Selected.classIndex >= 0 && m_book.Selected.classIndex < static_cast<int>(m_book.Classes.size())) {
        const TSiteBook::ClassNode& node = m_book.Classes[static_cast<size_t>(m_book.Selected.classIndex)];
        className = node.Name;
        if (m_book.Selected.siteIndex >= 0 && m_book.Selected.siteIndex < static_cast<int>(node.Sites.size()))
            siteName = node.Sites[static_cast<size_t>(m_book.Selected.siteIndex)];
    }
    m_book.LoadSiteBook();
    int classIndex = className.empty() ? -1 : m_book.FindClass(className);
    int siteIndex = -1;
    if (classIndex >= 0 && !siteName.empty()) {
        const auto& sites = m_book.Classes[static_cast<size_t>(classIndex)].Sites;
        auto found = std::find(sites.begin(), sites.end(), siteName);
        if (found == sites.end())
            classIndex = -1; // the site went: nothing is selected
        else
            siteIndex = static_cast<int>(found - sites.begin());
    }
    m_book.Selected = {classIndex, siteIndex};
    m_book.RebuildSiteTables();
    bool kept = className.empty() || classIndex >= 0;
    if (!kept)
        BuildTree(); // the node went meanwhile: show the book as it is now
    return kept;
}

bool TfmConnBook::NameTaken(const std::string& name) const
{
    const TSiteBook::NodeRef& node = m_book.Selected;
    if (node.siteIndex < 0)
        return m_book.FindClass(name) >= 0;
    const auto& sites = m_book.Classes[static_cast<size_t>(node.classIndex)].Sites;
    return std::find(sites.begin(), sites.end(), name) != sites.end();
}

void TfmConnBook::NewClass()
{
    std::string name;
    if (!AskText(this, tr("New Class").toStdString(), tr("Name: ").toStdString(), name))
        return;
    ReloadKeepingSelection();
    if (m_book.FindClass(name) >= 0) {
        ShowError(this, tr("Duplicate Class Name!").toStdString());
        return;
    }
    m_book.AddClassUnique(name);
    BuildTree();
}

void TfmConnBook::NewSite()
{
    if (m_book.Selected.classIndex < 0 || m_book.Selected.siteIndex >= 0) {
        ShowError(this, tr("Please Select a Class!").toStdString());
        return;
    }
    std::string name;
    if (!AskText(this, tr("Add New Site").toStdString(), tr("Site Name: ").toStdString(), name))
        return;
    if (!ReloadKeepingSelection())
        return;
    const std::string className = m_book.Classes[static_cast<size_t>(m_book.Selected.classIndex)].Name;
    // A second site of a name would take over the first one's data: refused as renames are.
    if (m_book.FindSite(className, Layout::Fit(name, Layout::kName.width))) {
        ShowInformation(this, tr(kNameExists).toStdString());
        return;
    }
    ShowInformation(this, tr("Please Finish the information of this site and press Apply Button").toStdString());
    if (!m_book.AddSiteUnique(className, {name, "", "21", "anonymous", TSettings::kDefaultAnonymousEmail, ""}))
        return;
    BuildTree();
}

void TfmConnBook::Apply()
{
    if (!SiteSelected())
        return;
    if (!ReloadKeepingSelection())
        return;
    int record = m_book.SelectedRecord;
    if (record == 0)
        return;
    m_book.Tables.SetText(record, Layout::kHost, m_address->text().toStdString());
    m_book.Tables.SetText(record, Layout::kPort, m_port->text().toStdString());
    m_book.Tables.SetText(record, Layout::kUser, m_user->text().toStdString());
    m_book.Tables.SetText(record, Layout::kPassword, m_password->text().toStdString());
    m_book.Tables.SetText(record, Layout::kDescription, m_description->toPlainText().toStdString());
    if (!m_book.SaveSiteBook())
        ShowError(this, tr("The site book could not be written: ").toStdString() + m_book.Path());
    BuildTree();
}

void TfmConnBook::Delete()
{
    if (!AskYesNo(this, tr("Delete").toStdString(), tr("Confirm to delete?").toStdString()) ||
        m_book.Selected.classIndex < 0)
        return;
    if (!ReloadKeepingSelection())
        return;
    TSiteBook::NodeRef node = m_book.Selected;
    auto& classes = m_book.Classes;
    if (node.siteIndex < 0)
        classes.erase(classes.begin() + node.classIndex); // with all its sites
    else
        classes[static_cast<size_t>(node.classIndex)].Sites.erase(
            classes[static_cast<size_t>(node.classIndex)].Sites.begin() + node.siteIndex);
    m_book.Selected = {};
    m_book.RebuildSiteTables();
    m_book.SaveSiteBook();
    BuildTree();
    ClearFields();
}

void TfmConnBook::Rename()
{
    if (m_book.Selected.classIndex < 0)
        return;
    std::string name;
    if (!AskText(this, tr("Rename: ").toStdString(), tr("NewName = ").toStdString(), name))
        return;
    if (!ReloadKeepingSelection())
        return;
    TSiteBook::NodeRef node = m_book.Selected;
    if (NameTaken(name)) {
        ShowInformation(this, tr(kNameExists).toStdString());
        return;
    }
    const TSiteBook::ClassNode& owner = m_book.Classes[static_cast<size_t>(node.classIndex)];
    if (node.siteIndex < 0)
        m_book.Rename = {TSiteBook::PendingRename::Kind::Class, owner.Name, name, ""};
    else
        m_book.Rename = {TSiteBook::PendingRename::Kind::Site, owner.Sites[static_cast<size_t>(node.siteIndex)], name,
                         owner.Name};
    m_tree->setUpdatesEnabled(false);
    m_book.RebuildSiteTables(); // applies the rename
    m_book.SaveSiteBook();
    BuildTree();
    m_tree->setUpdatesEnabled(true);
}

void TfmConnBook::Import()
{
    const QString leapFtp = tr("LeapFtp (SITES.INI) (*.ini)");
    const QString cuteFtp = tr("CuteFtp Exported List (*.TXT) (*.txt)");
    QFileDialog chooser(this, tr("Import"));
    chooser.setObjectName("importDialog");
    chooser.setOption(QFileDialog::DontUseNativeDialog); // the same chooser everywhere, tests included
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilters({leapFtp, cuteFtp});
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    // The filter chosen decides the format, not the file's extension.
    std::string file = chooser.selectedFiles().front().toStdString();
    bool leap = chooser.selectedNameFilter() == leapFtp;
    ReloadKeepingSelection();
    if (leap)
        m_book.ImportLeapFtpSites(file);
    else
        m_book.ImportCuteFtpList(file);
    BuildTree();
}

void TfmConnBook::Backup()
{
    if (AskYesNo(this, tr("Backup").toStdString(), tr("Are you sure ?").toStdString()))
        m_book.BackupSiteBook();
}

void TfmConnBook::Restore()
{
    if (!AskYesNo(this, tr("Restore").toStdString(), tr("Are you sure ?").toStdString()))
        return;
    m_book.RestoreSiteBook();
    LoadBook();
}

void TfmConnBook::Confirm()
{
    for (QLineEdit* edit : {m_address, m_port, m_user, m_password})
        edit->setText(QString::fromStdString(platform::TrimBlanks(edit->text().toStdString())));
    if (SiteSelected())
        accept();
}

void TfmConnBook::TreeMenu(const QPoint& position)
{
    QMenu menu(this);
    menu.setObjectName("pmSiteTree");
    menu.addAction(findChild<QAction*>("miNewClass"));
    menu.addAction(findChild<QAction*>("miNewSite"));
    menu.addSeparator();
    menu.addAction(findChild<QAction*>("miRename"));
    menu.addAction(findChild<QAction*>("miDelete"));
    menu.exec(m_tree->viewport()->mapToGlobal(position));
}
