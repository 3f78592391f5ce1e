#include "gui/dialogs/PropertiesDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

namespace {

QString permissionsText(QFile::Permissions permissions)
{
    QString text;
    const std::pair<QFile::Permission, char> bits[] = {
        {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
        {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
        {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}};
    for (const auto& [bit, letter] : bits)
        text += permissions.testFlag(bit) ? QChar(letter) : QChar('-');
    return text;
}

} // namespace

TfmProperties::TfmProperties(const QString& path, QWidget* parent) : QDialog(parent)
{
    setObjectName("TfmProperties");
    QFileInfo info(path);
    setWindowTitle(tr("%1 Properties").arg(info.fileName()));
    auto* form = new QFormLayout;
    auto add = [&](const QString& label, const QString& value) {
        auto* field = new QLabel(value, this);
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, field);
    };
    add(tr("Name:"), info.fileName());
    add(tr("Location:"), info.absolutePath());
    add(tr("Type:"), info.isDir() ? tr("Folder") : QMimeDatabase().mimeTypeForFile(info).comment());
    if (!info.isDir())
        add(tr("Size:"), tr("%1 bytes").arg(QLocale().toString(info.size())));
    add(tr("Permissions:"), permissionsText(info.permissions()));
    add(tr("Owner:"), info.owner() + " / " + info.group());
    add(tr("Modified:"), QLocale().toString(info.lastModified(), QLocale::ShortFormat));
    add(tr("Accessed:"), QLocale().toString(info.lastRead(), QLocale::ShortFormat));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}
