#include "gui/dialogs/preferences/FontsPage.h"

#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/Fonts.h"
#include "gui/MainForm.h"
#include "ui/MainWindow.h"

namespace {

QLabel* sample(const char* name, QWidget* parent)
{
    auto* label = new QLabel("QuillFTP", parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumHeight(48);
    return label;
}

} // namespace

TFontsPage::TFontsPage(const TPreferenceContext& context, QWidget* parent)
    : TPreferencePage(tr("Fonts"), "Fonts", parent), m_context(context)
{
    auto group = [this](const QString& title, QLabel* panel, const QString& buttonText, const char* buttonName) {
        auto* box = new QGroupBox(title, Body());
        panel->setParent(box);
        QPushButton* button = PageButton(buttonText, buttonName, box);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(panel);
        layout->addWidget(button, 0, Qt::AlignRight);
        return std::make_pair(box, button);
    };
    m_programSample = sample("ProgramFontPanel", Body());
    m_logSample = sample("LogWindowFontPanel", Body());
    auto [programBox, programButton] =
        group(tr("Program Font"), m_programSample, tr("Set &Program Font"), "btnProgramFont");
    auto [logBox, logButton] =
        group(tr("Log Window Font"), m_logSample, tr("Set &Log Window Font"), "btnLogWindowFont");

    // A font chosen takes effect at once: its sample, the setting switched on, the window.
    auto fontButton = [this](QPushButton* button, QLabel* panel, bool TSettings::*use, TFontSetting TSettings::*data) {
        connect(button, &QPushButton::clicked, this, [this, panel, use, data] {
            QFont font;
            if (!ChooseFont(panel, font))
                return;
            panel->setFont(font);
            m_context.ChangeNow([&font, use, data](TSettings& settings) {
                settings.*use = true;
                settings.*data = SettingFromFont(font, settings.*data);
            });
        });
    };
    fontButton(programButton, m_programSample, &TSettings::ProgramFont, &TSettings::ProgramFontData);
    fontButton(logButton, m_logSample, &TSettings::RichEditFont, &TSettings::RichEditFontData);

    m_logLines = NumberField("seLogLines", Body());
    QPushButton* resetLayout = PageButton(tr("&Reset Window Layout"), "btnResetLayout", Body());
    resetLayout->setToolTip(tr("The window's size, splitters and columns as at the first start"));
    connect(resetLayout, &QPushButton::clicked, this, [this] { m_context.Window.ResetLayout(); });
    auto* form = new QFormLayout;
    form->addRow(tr("Lines kept per log &page"), m_logLines);
    form->addRow(resetLayout);

    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(programBox);
    layout->addWidget(logBox);
    layout->addLayout(form);
    layout->addStretch(1);
}

bool TFontsPage::ChooseFont(QLabel* sample, QFont& font)
{
    QFontDialog dialog(sample->font(), this);
    dialog.setObjectName("fontDialog");
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.selectedFont();
    return true;
}

void TFontsPage::Load(const TSettings& settings)
{
    QFont font;
    m_programSample->setFont(settings.ProgramFont && FontFromSetting(settings.ProgramFontData, font) ? font : QFont());
    m_logSample->setFont(settings.RichEditFont && FontFromSetting(settings.RichEditFontData, font) ? font : QFont());
    m_logLines->setText(QString::number(settings.LogLines));
}

bool TFontsPage::Check(QString& problem)
{
    return ReadNumber(m_logLines, tr("Lines kept per log page"), 1, 1000000, m_checkedLogLines, problem);
}

void TFontsPage::Store(TSettings& settings) const
{
    settings.LogLines = static_cast<int>(m_checkedLogLines);
}
