// The main window: "Výpočet", "Výpis a úpravy" and "&Konec".
#include "app/windows/MainWindow.h"

#include "app/windows/CalculationForm.h"
#include "app/windows/ListWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace app {

TFGenKl::TFGenKl(const QString& programDir, QWidget* parent)
    : QWidget(parent), m_programDir(programDir), m_rdata(new TFRData(this)), m_list(new TFGKDB(this)),
      m_calc(new QPushButton(QStringLiteral("Výpočet"), this)),
      m_show(new QPushButton(QStringLiteral("Výpis a úpravy"), this)),
      m_close(new QPushButton(QStringLiteral("&Konec"), this))
{
    m_logic = std::make_unique<MainWindowLogic>(m_rdata->calculation());
    setWindowTitle(QStringLiteral("Uznané porosty"));
    m_calc->setDefault(true);
    m_show->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    auto* row = new QHBoxLayout(this);
    row->addWidget(m_calc);
    row->addWidget(m_show);
    row->addWidget(m_close);
    connect(m_calc, &QPushButton::clicked, this, &TFGenKl::BitBtn1Click);
    connect(m_show, &QPushButton::clicked, this, &TFGenKl::BitBtn3Click);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    m_show->setEnabled(false);
}

TFGenKl::~TFGenKl() = default;

bool TFGenKl::FormShow()
{
    const bool chosen = m_logic->FormShow(m_programDir);
    m_list->SetDataDir(m_logic->TablesDir());
    refreshButtons();
    return chosen;
}

void TFGenKl::BitBtn1Click()
{
    m_calc->setEnabled(false);
    m_show->setEnabled(false);
    const bool completed = m_logic->BitBtn1Click(m_rdata->progress());
    refreshButtons();
    if (completed)
        m_list->ShowList(m_modalList);
}

void TFGenKl::BitBtn3Click()
{
    m_list->ShowList(m_modalList);
}

void TFGenKl::refreshButtons()
{
    m_calc->setEnabled(!m_logic->isBusy());
    m_show->setEnabled(!m_logic->isBusy() && m_logic->isListEnabled());
}

} // namespace app
