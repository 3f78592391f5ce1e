#pragma once

// Files the tool bar's site into a class of the site book: the class from a list of those there
// are, the name free to edit.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TfmConnBook;

class TfmAddCurrSite : public QDialog
{
    Q_OBJECT

public:
    // book is the site manager that reads the classes; name is the site's proposed name.
    TfmAddCurrSite(TfmConnBook& book, const QString& name, QWidget* parent = nullptr);

    QString ClassName() const;
    QString SiteName() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TfmConnBook& m_book;
    QComboBox* m_classes = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_ok = nullptr;
};
