#pragma once

// One page of the preferences: it shows settings and, when the dialog's OK is pressed, first
// checks its fields (so that nothing is applied when one of them is wrong) and then writes them.
// Pages whose buttons act at once change the program's settings through the context.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QWidget>

#include "config/Settings.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class TMainForm;
class TfmMain;

// What a page may change at once.
struct TPreferenceContext
{
    TfmMain& Logic;
    TMainForm& Window;
    // The program's settings with one change made by change, applied now.
    void ChangeNow(const std::function<void(TSettings&)>& change) const;
};

class TPreferencePage : public QWidget
{
    Q_OBJECT

public:
    TPreferencePage(const QString& title, const char* name, QWidget* parent);

    virtual void Load(const TSettings& settings) = 0;
    // False with the problem (and the field's focus) when a field cannot be taken.
    virtual bool Check(QString& /*problem*/) { return true; }
    virtual void Store(TSettings& /*settings*/) const {}

protected:
    // The page's own area, below its title strip.
    QWidget* Body() const { return m_body; }

private:
    QWidget* m_body;
};

// A whole number typed in edit, within min..max; false (with a message naming the field and
// the range, and the focus on the field) otherwise.
bool ReadNumber(QLineEdit* edit, const QString& field, int64_t min, int64_t max, int64_t& value, QString& problem);
QLineEdit* NumberField(const char* name, QWidget* parent);
// A button of a page: Enter in a field still means the dialog's OK.
QPushButton* PageButton(const QString& caption, const char* name, QWidget* parent);
// A list of texts with its buttons stacked at its right, as the list pages show them.
QListWidget* ListWithButtons(QWidget* body, const char* name, const QString& accessibleName,
                             QAbstractItemView::SelectionMode mode, std::initializer_list<QWidget*> buttons);
void ShowTexts(QListWidget* list, const std::vector<std::string>& texts);
