#include "gui/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/Icons.h"

TfmAbout::TfmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmAbout");
    setWindowTitle(tr("About"));
    auto* icon = new QLabel(this);
    icon->setObjectName("imgIcon");
    icon->setPixmap(GuiIcon("quillftp").pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* name = new QLabel(QString("%1 %2").arg(kProgramName, kProgramVersion), this);
    name->setObjectName("lbName");
    QFont large = name->font();
    large.setPixelSize(35);
    name->setFont(large);
    auto* version = new QLabel(QString(tr("Version %1    Build %2")).arg(kProgramVersion, kProgramBuild), this);
    version->setObjectName("lbVersion");
    QFont small = version->font();
    small.setPixelSize(14);
    version->setFont(small);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(16);
    setMinimumSize(337, 176);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
