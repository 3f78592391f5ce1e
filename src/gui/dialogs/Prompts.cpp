#include "gui/dialogs/Prompts.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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
    QString text = QString::fromStdString(value);
    dialog.setTextValue(text);
    // A name shows with its stem selected, so that typing replaces it and keeps the extension.
    qsizetype dot = text.lastIndexOf('.');
    if (!text.contains('/') && dot > 0)
        QTimer::singleShot(0, &dialog, [&dialog, dot] {
            if (auto* edit = dialog.findChild<QLineEdit*>())
                edit->setSelection(0, static_cast<int>(dot));
        });
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
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("Prompts", "Error"), boxText(text),
                    QMessageBox::Ok, parent);
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

namespace {

// Connect once, trust always or cancel, for a server's certificate or host key that nothing
// vouches for; details as they stand, selectable (a fingerprint is compared by eye).
TCertificateChoice AskTrust(QWidget* parent, const QString& title, const QString& text, const QString& details,
                            const char* objectName)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    box.setObjectName(objectName);
    box.setInformativeText("<div style=\"white-space:pre\">" + details.toHtmlEscaped() + "</div>");
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton* once = box.addButton(QCoreApplication::translate("Prompts", "Connect &Once"), QMessageBox::AcceptRole);
    QPushButton* always = box.addButton(QCoreApplication::translate("Prompts", "&Trust Always"), QMessageBox::YesRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == once)
        return TCertificateChoice::Once;
    if (box.clickedButton() == always)
        return TCertificateChoice::Always;
    return TCertificateChoice::Cancel;
}

} // namespace

TCertificateChoice AskCertificate(QWidget* parent, const std::string& site, const TTlsCertificate& certificate)
{
    // The fingerprint in two halves of 16 bytes, so that the box stays narrower than a small
    // screen at a large scale.
    QString fingerprint = QString::fromStdString(certificate.Fingerprint);
    if (fingerprint.size() > 48)
        fingerprint.insert(48, '\n');
    QString details =
        QCoreApplication::translate("Prompts", "Subject: %1\nIssuer: %2\nValid from: %3\nValid until: %4\n"
                                               "SHA-256 fingerprint:\n%5")
            .arg(QString::fromStdString(certificate.Subject), QString::fromStdString(certificate.Issuer),
                 QString::fromStdString(certificate.NotBefore), QString::fromStdString(certificate.NotAfter),
                 fingerprint);
    return AskTrust(parent, QCoreApplication::translate("Prompts", "Unknown Certificate"),
                    QCoreApplication::translate("Prompts", "The certificate of %1 is not trusted (%2).\n"
                                                           "Connect only if it is the server's own certificate.")
                        .arg(QString::fromStdString(site), QString::fromStdString(certificate.VerifyError)),
                    details, "CertificateQuestion");
}

std::string AskPassphrase(QWidget* parent, const std::string& keyPath)
{
    QInputDialog dialog(parent);
    dialog.setObjectName("PassphraseQuestion");
    dialog.setWindowTitle(QCoreApplication::translate("Prompts", "Key Passphrase"));
    dialog.setLabelText(QCoreApplication::translate("Prompts", "The passphrase of the SSH key %1:")
                            .arg(QString::fromStdString(keyPath)));
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

TCertificateChoice AskHostKey(QWidget* parent, const std::string& site, const std::string& type,
                              const std::string& fingerprint)
{
    return AskTrust(parent, QCoreApplication::translate("Prompts", "Unknown Host Key"),
                    QCoreApplication::translate("Prompts", "The SSH host key of %1 is not known.\n"
                                                           "Connect only if it is the server's own key.")
                        .arg(QString::fromStdString(site)),
                    QCoreApplication::translate("Prompts", "Key type: %1\nFingerprint:\n%2")
                        .arg(QString::fromStdString(type), QString::fromStdString(fingerprint)),
                    "HostKeyQuestion");
}
