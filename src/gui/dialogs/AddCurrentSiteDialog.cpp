#include "gui/dialogs/AddCurrentSiteDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialogs/SiteManagerDialog.h"

TfmAddCurrSite::TfmAddCurrSite(TfmConnBook& book, const QString& name, QWidget* parent) : QDialog(parent), m_book(book)
{
    setObjectName("fmAddCurrSite");
    setWindowTitle(tr("Add Current Site"));
    m_classes = new QComboBox(this);
    m_classes->setObjectName("ComboBox1");
    m_classes->setEditable(false); // only classes there are
    m_name = new QLineEdit(name, this);
    m_name->setObjectName("Edit1");
    auto* form = new QFormLayout;
    form->addRow(tr("&Class : "), m_classes);
    form->addRow(tr("&Name :"), m_name);
    auto* note = new QLabel(tr("The site book has no class yet: add one in the Site Manager first."), this);
    note->setObjectName("lbNoClass");
    note->setWordWrap(true);
    note->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(254);
}

void TfmAddCurrSite::showEvent(QShowEvent* event)
{
    m_classes->clear();
    m_book.LoadBook();
    for (const TSiteBook::ClassNode& node : m_book.Book().Classes)
        m_classes->addItem(QString::fromStdString(node.Name));
    m_classes->setCurrentIndex(m_classes->count() > 0 ? 0 : -1);
    // Without a class there is nothing to file the site under.
    bool any = m_classes->count() > 0;
    m_ok->setEnabled(any);
    findChild<QLabel*>("lbNoClass")->setVisible(!any);
    QDialog::showEvent(event);
}

QString TfmAddCurrSite::ClassName() const
{
    return m_classes->currentText();
}

QString TfmAddCurrSite::SiteName() const
{
    return m_name->text();
}
