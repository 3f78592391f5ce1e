#include "gui/dialogs/preferences/MultipleThreadPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TMultipleThreadPage::TMultipleThreadPage(QWidget* parent)
    : TPreferencePage(tr("Multiple Thread Setting"), "MultipleThread", parent)
{
    m_threads = NumberField("seThreadNumber", Body());
    m_splitSize = NumberField("seSplitDownloadFileSize", Body());
    m_downloadLimit = NumberField("seDownloadLimit", Body());
    m_uploadLimit = NumberField("seUploadLimit", Body());
    m_mainThread = new QCheckBox(tr("&Use main thread to transfer file"), Body());
    m_mainThread->setObjectName("cbUseMainThreadTransfer");
    // Without connection 0 a run needs at least two connections.
    connect(m_mainThread, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && m_threads->text().trimmed() == "1")
            m_threads->setText("2");
    });
    // The thread number is brought into its range as it is typed: above the top at once, below
    // the bottom when the field is left (a "1" may be the start of "12").
    connect(m_threads, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool number = false;
        if (text.toLongLong(&number) > 255 && number)
            m_threads->setText("255");
    });
    connect(m_threads, &QLineEdit::editingFinished, this, [this] {
        bool number = false;
        if (m_threads->text().toLongLong(&number) < LowestThreadNumber() || !number)
            m_threads->setText(QString::number(LowestThreadNumber()));
    });
    auto* grid = new QGridLayout;
    auto* threadsLabel = new QLabel(tr("&Thread number = "), Body());
    threadsLabel->setBuddy(m_threads);
    auto* splitLabel = new QLabel(tr("&Split download file size = "), Body());
    splitLabel->setBuddy(m_splitSize);
    grid->addWidget(threadsLabel, 0, 0);
    grid->addWidget(m_threads, 0, 1);
    grid->addWidget(splitLabel, 1, 0);
    grid->addWidget(m_splitSize, 1, 1);
    grid->addWidget(new QLabel(tr("bytes"), Body()), 1, 2);
    // The speed limits are in KiB/s here, as a user thinks of them.
    int row = 2;
    for (auto [field, caption] : {std::pair{m_downloadLimit, tr("&Download speed limit = ")},
                                  std::pair{m_uploadLimit, tr("Upload speed li&mit = ")}}) {
        auto* label = new QLabel(caption, Body());
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(new QLabel(tr("KiB/s, for all connections together (0: none)"), Body()), row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(grid);
    layout->addWidget(m_mainThread);
    layout->addStretch(1);
}

int TMultipleThreadPage::LowestThreadNumber() const
{
    return m_mainThread->isChecked() ? 1 : 2;
}

void TMultipleThreadPage::Load(const TSettings& settings)
{
    m_mainThread->setChecked(settings.MainConnDownload);
    m_threads->setText(QString::number(settings.ConnectionCount));
    m_splitSize->setText(QString::number(settings.MTFileSize));
    m_downloadLimit->setText(QString::number((settings.DownloadLimit + 1023) / 1024));
    m_uploadLimit->setText(QString::number((settings.UploadLimit + 1023) / 1024));
}

bool TMultipleThreadPage::Check(QString& problem)
{
    return ReadNumber(m_threads, tr("Thread number"), LowestThreadNumber(), 255, m_checkedThreads, problem) &&
           ReadNumber(m_splitSize, tr("Split download file size"), 0, INT64_MAX, m_checkedSplitSize, problem) &&
           ReadNumber(m_downloadLimit, tr("Download speed limit"), 0, 100000000, m_checkedDownloadLimit, problem) &&
           ReadNumber(m_uploadLimit, tr("Upload speed limit"), 0, 100000000, m_checkedUploadLimit, problem);
}

void TMultipleThreadPage::Store(TSettings& settings) const
{
    settings.MainConnDownload = m_mainThread->isChecked();
    settings.ConnectionCount = static_cast<int>(m_checkedThreads);
    settings.MTFileSize = m_checkedSplitSize;
    settings.DownloadLimit = m_checkedDownloadLimit * 1024;
    settings.UploadLimit = m_checkedUploadLimit * 1024;
}
