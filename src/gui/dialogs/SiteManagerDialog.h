#pragma once

// The site manager: the tree of classes and sites of the site book on the left, the fields of
// the selected site on the right, and the commands that change the book. Every change starts
// from the file as it is on disk (another instance of the program may have saved since) and
// ends with the whole file written.

#include <QDialog>

#include "config/SiteBook.h"
#include "gui/dialogs/Prompts.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

class TfmConnBook : public QDialog
{
    Q_OBJECT

public:
    TfmConnBook(const std::string& bookPath, QWidget* parent = nullptr);

    TSiteBook& Book() { return m_book; }
    // The next showing keeps the tree and the fields as they are.
    void SetSkipLoad() { m_skipLoad = true; }
    // Fields emptied, the file read, the tree built.
    void LoadBook();
    // Shows a node as selected, as a click on it would.
    void SelectNode(int classIndex, int siteIndex);

    // The fields as they stand, stored or not.
    QString Address() const;
    QString Port() const;
    QString UserName() const;
    QString Password() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildTree();
    void ShowSelectedSite();
    void ClearFields();
    // Reads the file again and finds the selected node in it by its names; false (the tree
    // shown anew) when that node is gone.
    bool ReloadKeepingSelection();
    bool SiteSelected() const { return m_book.Selected.classIndex >= 0 && m_book.Selected.siteIndex >= 0; }
    bool NameTaken(const std::string& name) const;

    void NewClass();
    void NewSite();
    void Apply();
    void Delete();
    void Rename();
    void Import();
    void Backup();
    void Restore();
    void Confirm();
    void TreeMenu(const QPoint& position);

    TDialogPrompt m_prompt{this};
    TSiteBook m_book;
    bool m_skipLoad = false;
    bool m_building = false;

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QPlainTextEdit* m_description = nullptr;
};
