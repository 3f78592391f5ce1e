#include "gui/dialogs/Prompts.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QString boxText(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace('\r', '\n');
    return result;
}

} // namespace

bool AskText(QWidget* parent, const std::string& caption, const std::string& prompt, std::string& value)
{
    QInputDialog dialog(parent);
    dialog.setObjectName("inputBox");
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(value));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue().toStdString();
    return true;
}

void ShowInformation(QWidget* parent, const std::string& text)
{
    QMessageBox box(QMessageBox::Information, "QuillFTP", boxText(text), QMessageBox::Ok, parent);
    box.setObjectName("messageBox");
    box.exec();
}

void ShowError(QWidget* parent, const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, "Error", boxText(text), QMessageBox::Ok, parent);
    box.setObjectName("errorBox");
    box.exec();
}

bool AskYesNo(QWidget* parent, const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), boxText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName("questionBox");
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes; // closing the box is No
}
