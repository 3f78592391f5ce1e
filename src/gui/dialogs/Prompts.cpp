#include "gui/dialogs/Prompts.h"

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
    QPushButton* once = box.addButton("Connect &Once", QMessageBox::AcceptRole);
    QPushButton* always = box.addButton("&Trust Always", QMessageBox::YesRole);
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
    QString details = "Subject: " + QString::fromStdString(certificate.Subject) +
                      "\nIssuer: " + QString::fromStdString(certificate.Issuer) +
                      "\nValid from: " + QString::fromStdString(certificate.NotBefore) +
                      "\nValid until: " + QString::fromStdString(certificate.NotAfter) + "\nSHA-256 fingerprint:\n" +
                      fingerprint;
    return AskTrust(parent, "Unknown Certificate",
                    "The certificate of " + QString::fromStdString(site) + " is not trusted (" +
                        QString::fromStdString(certificate.VerifyError) +
                        ").\nConnect only if it is the server's own certificate.",
                    details, "CertificateQuestion");
}

std::string AskPassphrase(QWidget* parent, const std::string& keyPath)
{
    QInputDialog dialog(parent);
    dialog.setObjectName("PassphraseQuestion");
    dialog.setWindowTitle("Key Passphrase");
    dialog.setLabelText("The passphrase of the SSH key " + QString::fromStdString(keyPath) + ":");
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

TCertificateChoice AskHostKey(QWidget* parent, const std::string& site, const std::string& type,
                              const std::string& fingerprint)
{
    return AskTrust(parent, "Unknown Host Key",
                    "The SSH host key of " + QString::fromStdString(site) +
                        " is not known.\nConnect only if it is the server's own key.",
                    "Key type: " + QString::fromStdString(type) + "\nFingerprint:\n" +
                        QString::fromStdString(fingerprint),
                    "HostKeyQuestion");
}
