#include "gui/dialogs/FileExistsDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfmFileExists::TfmFileExists(const QString& localPath, QWidget* parent) : QDialog(parent)
{
    setObjectName("TfmFileExists");
    setWindowTitle(tr("FileExists"));
    setModal(true);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    auto* icon = new QLabel(this);
    int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size, size));
    auto* info = new QLabel(tr("This local file exists!") + "\n" + localPath, this);
    info->setObjectName("lbInfo");
    info->setWordWrap(true);
    info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    info->setMinimumWidth(360);

    auto* text = new QHBoxLayout;
    text->addWidget(icon, 0, Qt::AlignTop);
    text->addWidget(info, 1);

    auto* buttons = new QHBoxLayout;
    struct Button
    {
        const char* name;
        const char* caption;
        TFileExistsChoice choice;
    };
    static const Button kButtons[] = {{"btOverWrite", QT_TR_NOOP("&OverWrite"), TFileExistsChoice::Overwrite},
                                      {"btOverwriteAll", QT_TR_NOOP("OverWrite &All"), TFileExistsChoice::OverwriteAll},
                                      {"btSkip", QT_TR_NOOP("&Skip"), TFileExistsChoice::Skip},
                                      {"btSkipAll", QT_TR_NOOP("Skip A&ll"), TFileExistsChoice::SkipAll}};
    buttons->addStretch();
    for (const Button& entry : kButtons) {
        auto* button = new QPushButton(tr(entry.caption), this);
        button->setObjectName(entry.name);
        button->setAutoDefault(false);
        TFileExistsChoice choice = entry.choice;
        connect(button, &QPushButton::clicked, this, [this, choice] {
            m_choice = choice;
            accept();
        });
        buttons->addWidget(button);
        if (choice == TFileExistsChoice::Skip)
            button->setDefault(true); // Enter leaves the file alone
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
