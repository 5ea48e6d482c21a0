// The directory-search window (a data directory or the SQL alias) and the Enter-moving edits.
#include "app/sources/vex/DirectorySearch.h"

#include "app/sources/vex/Ovr.h"
#include "platform/db/DataSetModel.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vex {

namespace {

QStringList withoutHidden(QStringList names)
{
    names.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')); });
    return names;
}

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

DirectorySearch::DirectorySearch(const QString& startDirectory, const QString& caption, const QString& mask,
                                 bool aliasVisible)
    : m_caption(caption), m_mask(mask), m_aliasVisible(aliasVisible), m_directory(QStringLiteral("/"))
{
    setDirectory(files::programDirectory());
    setDirectory(startDirectory);
}

QStringList DirectorySearch::drives()
{
    return {QStringLiteral("/"), QDir::homePath()};
}

void DirectorySearch::setDirectory(const QString& directory)
{
    if (directory.isEmpty())
        return;
    const QString resolved = files::resolvePath(directory);
    if (files::directoryExists(resolved))
        m_directory = QDir::cleanPath(QDir(resolved).absolutePath());
}

void DirectorySearch::enter(const QString& subdirectory)
{
    setDirectory(m_directory + QLatin1Char('/') + subdirectory);
}

QStringList DirectorySearch::subdirectories() const
{
    QStringList list = withoutHidden(files::findFiles(m_directory + QStringLiteral("/*"), files::EntryKind::Directories));
    if (m_directory != QLatin1String("/"))
        list.prepend(QStringLiteral(".."));
    return list;
}

QStringList DirectorySearch::files() const
{
    return withoutHidden(files::findFiles(m_directory + QLatin1Char('/') + m_mask, files::EntryKind::Files));
}

void DirectorySearch::activate()
{
    m_accepted = false;
    m_alias = false;
}

void DirectorySearch::choose()
{
    m_accepted = true;
}

void DirectorySearch::leave()
{
    m_accepted = false;
}

void DirectorySearch::chooseAlias()
{
    m_accepted = true;
    m_alias = m_aliasVisible;
}

QString DirectorySearch::result() const
{
    if (!m_accepted)
        return kNothingChosen;
    return m_alias ? QStringLiteral("ALIAS") : m_directory;
}

TS_VyhlSoub1::TS_VyhlSoub1(DirectorySearch& search, QWidget* parent) : QDialog(parent), m_search(search)
{
    setWindowTitle(search.caption().isEmpty() ? QStringLiteral("Vyhledávání souboru") : search.caption());
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->addItems(DirectorySearch::drives());
    DirectoryLabel = new QLabel(this);
    DirectoryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->installEventFilter(this);
    FileListBox1 = new QListWidget(this);
    OKBtn = new QPushButton(QStringLiteral("Vybrat"), this);
    CancelBtn = new QPushButton(QStringLiteral("Opustit"), this);
    ButAlias = new QPushButton(QStringLiteral("ALIAS"), this);
    ButAlias->setVisible(search.aliasVisible());

    auto* lists = new QHBoxLayout;
    lists->addWidget(DirectoryListBox1);
    lists->addWidget(FileListBox1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(ButAlias);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirectoryLabel);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    connect(DriveComboBox1, &QComboBox::textActivated, this, [this](const QString& drive) {
        m_search.setDirectory(drive);
        refresh();
    });
    connect(DirectoryListBox1, &QListWidget::itemActivated, this, &TS_VyhlSoub1::enterDirectory);
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        m_search.choose();
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        m_search.leave();
        reject();
    });
    connect(ButAlias, &QPushButton::clicked, this, [this] {
        m_search.chooseAlias();
        accept();
    });
    refresh();
}

void TS_VyhlSoub1::showEvent(QShowEvent* event)
{
    m_search.activate();
    QDialog::showEvent(event);
}

bool TS_VyhlSoub1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DirectoryListBox1 && isEnterKey(event)) {
        enterDirectory(DirectoryListBox1->currentItem());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TS_VyhlSoub1::enterDirectory(const QListWidgetItem* item)
{
    if (item) {
        m_search.enter(item->text());
        refresh();
    }
}

void TS_VyhlSoub1::refresh()
{
    DirectoryLabel->setText(m_search.directory());
    OKBtn->setToolTip(QStringLiteral("Vybrat adresář %1").arg(m_search.directory()));
    DirectoryListBox1->clear();
    DirectoryListBox1->addItems(m_search.subdirectories());
    FileListBox1->clear();
    FileListBox1->addItems(m_search.files());
}

QString SelectFile(const QString& startDirectory, const QString& caption, const QString& mask, bool aliasVisible)
{
    DirectorySearch search(startDirectory, caption, mask, aliasVisible);
    TS_VyhlSoub1 window(search);
    window.exec();
    return search.result();
}

QString SelectDbFile(const QString& startDirectory, const QString& caption)
{
    return SelectFile(startDirectory, caption, QStringLiteral("*.DB"), false);
}

TdotazF1::TdotazF1(QWidget* parent) : QDialog(parent)
{
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    OKBtn = new QPushButton(QStringLiteral("Ano"), this);
    CancelBtn = new QPushButton(QStringLiteral("Ne"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    for (QLabel* l : {Label1, Label2, Label3})
        layout->addWidget(l);
    layout->addLayout(buttons);
    CancelBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        m_confirmed = true;
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        m_confirmed = false;
        reject();
    });
}

void TdotazF1::showEvent(QShowEvent* event)
{
    m_confirmed = false;
    CancelBtn->setFocus();
    QDialog::showEvent(event);
}

void ShowTableWindow(const QString& label, db::Table& table)
{
    QDialog window;
    window.setWindowTitle(QStringLiteral("Tabulka"));
    auto* text = new QLabel(label, &window);
    auto* grid = new QTableView(&window);
    db::DataSetModel model;
    model.setDataSet(&table);
    grid->setModel(&model);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(text);
    layout->addWidget(grid);
    window.exec();
    table.CheckBrowseMode();
}

} // namespace vex
