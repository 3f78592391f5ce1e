#include "gui/dialogs/SyncDialog.h"

#include <map>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/Icons.h"
#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"
#include "sync/SyncPlanFile.h"
#include "ui/SyncWork.h"

namespace {

// An action as the plan's rows show it: its words and its icon.
struct TActionLook
{
    const char* Text;
    const char* Icon;
};

TActionLook LookOf(TSyncActionKind kind)
{
    static const std::map<TSyncActionKind, TActionLook> kLooks = {
        {TSyncActionKind::Upload, {QT_TRANSLATE_NOOP("TSyncDialog", "Upload"), "upload"}},
        {TSyncActionKind::Download, {QT_TRANSLATE_NOOP("TSyncDialog", "Download"), "download"}},
        {TSyncActionKind::MakeDirThere, {QT_TRANSLATE_NOOP("TSyncDialog", "Make remote directory"), "make-directory"}},
        {TSyncActionKind::MakeDirHere, {QT_TRANSLATE_NOOP("TSyncDialog", "Make local directory"), "make-directory"}},
        {TSyncActionKind::DeleteThere, {QT_TRANSLATE_NOOP("TSyncDialog", "Delete remote"), "delete"}},
        {TSyncActionKind::DeleteHere, {QT_TRANSLATE_NOOP("TSyncDialog", "Delete local"), "delete"}},
        {TSyncActionKind::Skip, {QT_TRANSLATE_NOOP("TSyncDialog", "Skip"), "abort"}},
        {TSyncActionKind::Conflict, {QT_TRANSLATE_NOOP("TSyncDialog", "Conflict"), "abort"}}};
    return kLooks.at(kind);
}

} // namespace

TSyncDialog::TSyncDialog(TSyncWork& sync, QWidget* parent) : QDialog(parent), m_sync(sync)
{
    setObjectName("fmSynchronize");
    setWindowTitle(tr("Synchronize"));
    const TSyncPlan& plan = sync.Plan();

    auto* folders = new QLabel(
        tr("Local: %1\nRemote: %2").arg(QString::fromStdString(plan.Local), QString::fromStdString(plan.Remote)), this);
    folders->setObjectName("lbFolders");
    folders->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* way = new QGroupBox(tr("Direction"), this);
    m_up = new QRadioButton(tr("&Upload: make the remote folder like the local one"), way);
    m_up->setObjectName("rbUp");
    m_down = new QRadioButton(tr("&Download: make the local folder like the remote one"), way);
    m_down->setObjectName("rbDown");
    m_both = new QRadioButton(tr("&Both ways: each side takes what changed on the other"), way);
    m_both->setObjectName("rbBoth");
    auto* wayLayout = new QVBoxLayout(way);
    for (QRadioButton* button : {m_up, m_down, m_both}) {
        wayLayout->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Replan();
        });
    }
    m_delete = new QCheckBox(tr("D&elete what is gone on the leading side"), this);
    m_delete->setObjectName("cbDelete");
    connect(m_delete, &QCheckBox::toggled, this, [this] { Replan(); });

    m_actions = new QTreeWidget(this);
    m_actions->setObjectName("tvPlan");
    m_actions->setAccessibleName(tr("Plan"));
    m_actions->setRootIsDecorated(false);
    m_actions->setUniformRowHeights(true);
    m_actions->setHeaderLabels({tr("Action"), tr("Path"), tr("Why")});
    m_actions->header()->setStretchLastSection(true);
    connect(m_actions, &QTreeWidget::itemChanged, this, &TSyncDialog::ItemChanged);

    m_refused = new QLabel(this);
    m_refused->setObjectName("lbRefused");
    m_refused->setWordWrap(true);
    m_totals = new QLabel(this);
    m_totals->setObjectName("lbTotals");
    m_totals->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_run = buttons->addButton(tr("&Synchronize"), QDialogButtonBox::AcceptRole);
    m_run->setObjectName("btSynchronize");
    m_run->setIcon(GuiIcon("synchronize"));
    QPushButton* save = buttons->addButton(tr("Save &Plan..."), QDialogButtonBox::ActionRole);
    save->setObjectName("btSavePlan");
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(save, &QPushButton::clicked, this, &TSyncDialog::SavePlan);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folders);
    layout->addWidget(way);
    layout->addWidget(m_delete);
    layout->addWidget(m_actions, 1);
    layout->addWidget(m_refused);
    layout->addWidget(m_totals);
    layout->addWidget(buttons);

    m_filling = true;
    (plan.Options.Direction == TSyncDirection::Up     ? m_up
     : plan.Options.Direction == TSyncDirection::Down ? m_down
                                                      : m_both)
        ->setChecked(true);
    m_delete->setChecked(plan.Options.Delete);
    m_filling = false;
    ShowPlan();
    resize(760, 520);
}

void TSyncDialog::Replan()
{
    if (m_filling)
        return;
    TSyncOptions options;
    options.Direction = m_up->isChecked()     ? TSyncDirection::Up
                        : m_down->isChecked() ? TSyncDirection::Down
                                              : TSyncDirection::Both;
    options.Delete = m_delete->isChecked();
    m_sync.Replan(options);
    ShowPlan();
}

void TSyncDialog::ShowPlan()
{
    m_filling = true;
    m_actions->clear();
    const TSyncPlan& plan = m_sync.Plan();
    QList<QTreeWidgetItem*> items;
    for (const TSyncAction& action : plan.Actions) {
        TActionLook look = LookOf(action.Kind);
        auto* item =
            new QTreeWidgetItem({tr(look.Text), QString::fromUtf8(action.Path.c_str()) + (action.Directory ? "/" : ""),
                                 QString::fromUtf8(action.Why.c_str())});
        item->setIcon(0, GuiIcon(look.Icon));
        item->setToolTip(2, item->text(2));
        if (action.Acts()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, action.Checked ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setForeground(0, palette().color(QPalette::PlaceholderText));
        }
        items.append(item);
    }
    m_actions->addTopLevelItems(items);
    for (int column = 0; column < 2; ++column)
        m_actions->resizeColumnToContents(column);
    m_refused->setText(QString::fromUtf8(plan.DeletionsRefused.c_str()));
    m_refused->setVisible(!plan.DeletionsRefused.empty());
    m_filling = false;
    ShowTotals();
}

void TSyncDialog::ShowTotals()
{
    const TSyncPlan& plan = m_sync.Plan();
    m_totals->setText(QString::fromStdString(SyncPlanTotalsText(plan)));
    bool acts = false;
    for (const TSyncAction& action : plan.Actions)
        acts = acts || (action.Acts() && action.Checked);
    m_run->setEnabled(acts);
}

void TSyncDialog::ItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0)
        return;
    m_sync.SetChecked(static_cast<size_t>(m_actions->indexOfTopLevelItem(item)), item->checkState(0) == Qt::Checked);
    ShowTotals();
}

void TSyncDialog::SavePlan()
{
    QString path =
        QFileDialog::getSaveFileName(this, tr("Save Plan"), "plan.json", tr("Synchronization plans (*.json)"));
    if (path.isEmpty())
        return;
    if (!platform::writeFileAtomically(path.toStdString(), SyncPlanJson(m_sync.Plan())))
        QMessageBox::warning(this, tr("Save Plan"), tr("The plan could not be written to %1.").arg(path));
}
