#include "gui/dialogs/preferences/PreferencePage.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/MainForm.h"
#include "ui/MainWindow.h"

void TPreferenceContext::ChangeNow(const std::function<void(TSettings&)>& change) const
{
    TSettings settings = Logic.Settings();
    change(settings);
    Logic.ApplySettings(settings);
    Window.SettingsChanged();
}

TPreferencePage::TPreferencePage(const QString& title, const char* name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    auto* strip = new QLabel(QString(title).replace("&&", "&"), this); // "&&" stands for "&"

    strip->setObjectName("lbTitle");
    QFont font = strip->font();
    font.setBold(true);
    strip->setFont(font);
    strip->setAutoFillBackground(true);
    strip->setBackgroundRole(QPalette::Highlight);
    strip->setForegroundRole(QPalette::HighlightedText);
    strip->setContentsMargins(6, 4, 6, 4);
    m_body = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(strip);
    layout->addWidget(m_body, 1);
}

bool ReadNumber(QLineEdit* edit, const QString& field, int64_t min, int64_t max, int64_t& value, QString& problem)
{
    bool ok = false;
    qlonglong number = edit->text().trimmed().toLongLong(&ok);
    if (ok && number >= min && number <= max) {
        value = number;
        return true;
    }
    problem = max == INT64_MAX
                  ? QCoreApplication::translate("TPreferencePage", "%1 must be a whole number of at least %2.")
                        .arg(field)
                        .arg(min)
                  : QCoreApplication::translate("TPreferencePage", "%1 must be a whole number from %2 to %3.")
                        .arg(field)
                        .arg(min)
                        .arg(max);
    edit->setFocus();
    edit->selectAll();
    return false;
}

QLineEdit* NumberField(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Digits and a sign may be typed; the range is checked on OK, with a message.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,19}"), edit));
    edit->setMaximumWidth(140);
    return edit;
}

QPushButton* PageButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QListWidget* ListWithButtons(QWidget* body, const char* name, const QString& accessibleName,
                             QAbstractItemView::SelectionMode mode, std::initializer_list<QWidget*> buttons)
{
    auto* list = new QListWidget(body);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setSelectionMode(mode);
    auto* column = new QVBoxLayout;
    for (QWidget* button : buttons)
        column->addWidget(button);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(body);
    layout->addWidget(list, 1);
    layout->addLayout(column);
    return list;
}

void ShowTexts(QListWidget* list, const std::vector<std::string>& texts)
{
    list->clear();
    for (const std::string& text : texts)
        list->addItem(QString::fromStdString(text));
}
