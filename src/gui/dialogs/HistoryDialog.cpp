#include "gui/dialogs/HistoryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLocale>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/dialogs/Prompts.h"
#include "history/RunHistory.h"

TfmHistory::TfmHistory(TRunHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_failedOnly(new QCheckBox(tr("Only the files that &failed"), this)),
      m_table(new QTableWidget(this))
{
    setObjectName("fmHistory");
    setWindowTitle(tr("Transfer History"));
    resize(900, 420);
    m_failedOnly->setObjectName("cbHistoryFailed");
    connect(m_failedOnly, &QCheckBox::toggled, this, &TfmHistory::Fill);
    m_table->setObjectName("tvHistory");
    m_table->setColumnCount(7);
    m_table->setHorizontalHeaderLabels(
        {tr("Started (UTC)"), "", tr("Remote"), tr("Local"), tr("Size"), tr("State"), tr("Verdict")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton = buttons->addButton(tr("&Export CSV..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName("btExportCsv");
    connect(exportButton, &QPushButton::clicked, this, &TfmHistory::Export);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    AskExportPath = [this] {
        return QFileDialog::getSaveFileName(this, tr("Export CSV"), "quillftp-history.csv", tr("CSV (*.csv)"));
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_failedOnly);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    Fill();
}

void TfmHistory::Fill()
{
    std::string error;
    std::vector<THistoryFile> files = m_history.Files(m_failedOnly->isChecked(), error);
    m_table->setRowCount(static_cast<int>(files.size()));
    for (int row = 0; row < static_cast<int>(files.size()); ++row) {
        const THistoryFile& file = files[static_cast<size_t>(row)];
        const std::string texts[] = {file.Started,   file.Download ? "get" : "put", file.Site + file.RemotePath,
                                     file.LocalPath, QLocale().toString(qlonglong(file.Size)).toStdString(),
                                     file.State,
                                     file.Verdict};
        for (int column = 0; column < 7; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(QString::fromStdString(texts[column])));
    }
    m_table->resizeColumnsToContents();
    if (!error.empty())
        ShowError(this, error);
}

void TfmHistory::Export()
{
    QString path = AskExportPath ? AskExportPath() : QString();
    if (path.isEmpty())
        return;
    std::string error;
    std::string csv = HistoryCsv(m_history.Files(m_failedOnly->isChecked(), error));
    QFile out(path);
    if (!error.empty() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()))
        ShowError(this,
                  error.empty() ? tr("Could not write %1: %2").arg(path, out.errorString()).toStdString() : error);
}
