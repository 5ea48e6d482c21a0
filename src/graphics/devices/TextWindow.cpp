// Text window: shows a listing as it is written, lets the user stop it, search, save and open.
#include "graphics/devices/TextWindow.h"

#include "framework/core/Messages.h"
#include "graphics/devices/TextDevices.h"
#include "graphics/devices/TextFormats.h"
#include "graphics/interpret/UniversalInterpret.h"
#include "platform/ui/Services.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>

namespace {

constexpr qint64 maxOpenBytes = 64LL * 1024 * 1024;

QString defaultChooser(QWidget* parent, bool save)
{
    if (save) {
        QFileDialog dialog(parent, QStringLiteral("Uložení protokolu do souboru"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("textový soubor (*.TXT) (*.txt)"), QStringLiteral("RTF soubor (RTF) (*.rtf)")});
        dialog.setDefaultSuffix(QStringLiteral("TXT"));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.txt")) ? QStringLiteral("TXT") : QStringLiteral("RTF"));
        });
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                       : QString();
    }
    return QFileDialog::getOpenFileName(parent, QString(), QString(), QStringLiteral("Text, RTF (*.txt *.rtf)"));
}

QAction* makeAction(QWidget* owner, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, owner);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
}

} // namespace

TStdtxtForm::TStdtxtForm(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_edit = new QPlainTextEdit(this);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    setCentralWidget(m_edit);
    statusBar();
    m_open = makeAction(this, QStringLiteral("Otevřít"), QStringLiteral("Otevření souboru"));
    m_save = makeAction(this, QStringLiteral("Uložit"), QStringLiteral("Uložení do souboru"));
    m_find = makeAction(this, QStringLiteral("Najít text"), QStringLiteral("Vyhledání textu"));
    m_font = makeAction(this, QStringLiteral("Změna písma"), QStringLiteral("Nastavení písma"));
    m_abort = makeAction(this, QStringLiteral("Přerušit"), QStringLiteral("Přerušení výpisu"));
    m_close = makeAction(this, QStringLiteral("Zavřít"), QStringLiteral("Zavření formuláře"));
    QToolBar* tools = addToolBar(QStringLiteral("ToolBar1"));
    tools->addActions({m_open, m_save, m_find, m_font, m_abort, m_close});
    QToolBar* options = addToolBar(QStringLiteral("ToolBar2"));
    m_wrap = new QCheckBox(QStringLiteral("Zalamovat řádky"), options);
    options->addWidget(m_wrap);
    m_holder = Create<TEntity>();
    m_chooseFile = [this](bool save) { return defaultChooser(this, save); };

    connect(m_open, &QAction::triggered, this, &TStdtxtForm::OpenExecute);
    connect(m_save, &QAction::triggered, this, [this] { SaveExecute(); });
    connect(m_find, &QAction::triggered, this, &TStdtxtForm::FindTextExecute);
    connect(m_font, &QAction::triggered, this, &TStdtxtForm::SetFontExecute);
    connect(m_abort, &QAction::triggered, this, &TStdtxtForm::AbortExecute);
    connect(m_close, &QAction::triggered, this, &QWidget::close);
    connect(m_wrap, &QCheckBox::toggled, this, [this](bool on) {
        m_edit->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    });
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] { m_modified = true; });
    connect(m_edit, &QPlainTextEdit::cursorPositionChanged, this, &TStdtxtForm::showCaretPosition);
}

TStdtxtForm::~TStdtxtForm() = default;

void TStdtxtForm::SetOwnerElement(TMemoFormDevice* device)
{
    m_owner = device;
    if (device && m_holder->IndexOf(device) < 0)
        m_holder->Add(device);
}

void TStdtxtForm::ForgetOwnerElement()
{
    if (TMemoFormDevice* device = m_owner.get())
        m_holder->Remove(device);
    m_owner = nullptr;
}

TMemoFormDevice* TStdtxtForm::OwnerElement() const
{
    return m_owner.get();
}

QString TStdtxtForm::Text() const
{
    return m_edit->toPlainText();
}

void TStdtxtForm::Write(const QString& s)
{
    m_pendingLine += s;
    QTextCursor cursor(m_edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(m_pendingLine);
    m_modified = true;
}

void TStdtxtForm::WriteLn(const QString& s)
{
    Write(s);
    m_pendingLine.clear();
    m_edit->appendPlainText(QStringLiteral(" "));
    m_edit->ensureCursorVisible();
}

void TStdtxtForm::ClearText()
{
    m_edit->clear();
    m_pendingLine.clear();
}

void TStdtxtForm::BeginOutput()
{
    m_running = true;
    ProcessMessages();
}

void TStdtxtForm::EndOutput()
{
    m_running = false;
}

bool TStdtxtForm::askToSave()
{
    return ui::services().askYesNo(QStringLiteral("Obsah souboru byl změněn ... uložit?"));
}

// The original closed the window even when the save was cancelled or failed, losing the text.
void TStdtxtForm::closeEvent(QCloseEvent* event)
{
    if (m_running || (m_modified && askToSave() && !SaveExecute())) {
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
    if (TMemoFormDevice* device = m_owner.get()) {
        m_owner = nullptr;
        m_holder->RemoveAndFree(device);
    }
}

bool TStdtxtForm::SaveExecute()
{
    const QString path = m_chooseFile ? m_chooseFile(true) : QString();
    return !path.isEmpty() && SaveTo(path);
}

bool TStdtxtForm::SaveTo(const QString& path)
{
    const bool plain = QFileInfo(path).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = plain ? EncodePlainText(Text()) : EncodeRtf(Text(), m_edit->font().family());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ui::services().showMessage(QStringLiteral("Soubor %1 nelze uložit: %2").arg(path, file.errorString()));
        return false;
    }
    m_modified = false;
    return true;
}

bool TStdtxtForm::OpenFrom(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxOpenBytes) {
        ui::services().showMessage(QStringLiteral("Soubor %1 nelze otevřít.").arg(path));
        return false;
    }
    const QByteArray bytes = file.read(maxOpenBytes);
    QString text;
    try {
        text = LooksLikeRtf(bytes) ? DecodeRtf(bytes) : DecodePlainText(bytes);
    } catch (const Exception& e) {
        ui::services().showMessage(e.message());
        return false;
    }
    m_edit->setPlainText(text);
    m_pendingLine.clear();
    m_modified = false;
    return true;
}

void TStdtxtForm::OpenExecute()
{
    if (m_modified && askToSave() && !SaveExecute())
        return;
    const QString path = m_chooseFile ? m_chooseFile(false) : QString();
    if (!path.isEmpty())
        OpenFrom(path);
}

void TStdtxtForm::SetFontExecute()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_edit->font(), this);
    if (ok)
        m_edit->setFont(font);
}

void TStdtxtForm::AbortExecute()
{
    TMemoFormDevice* device = m_owner.get();
    if (!device)
        return;
    if (auto* run = dynamic_cast<TUniversalInterpret*>(device->GetOwnerOfClass(TUniversalInterpret::StaticClass()))) {
        run->SetStop(true);
        WriteLn(QStringLiteral("***** Přerušeno uživatelem !!!!!! *****"));
        WriteLn(QStringLiteral("  "));
    }
}

void TStdtxtForm::FindTextExecute()
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, QStringLiteral("Najít text"), QString(), QLineEdit::Normal,
                                               m_lastSearch, &ok);
    if (ok && !text.isEmpty()) {
        m_lastSearch = text;
        FindNext(text);
    }
}

bool TStdtxtForm::FindNext(const QString& text)
{
    const QString all = Text();
    const int from = m_edit->textCursor().position() + 1;
    const qsizetype at = from <= all.size() ? all.indexOf(text, from, Qt::CaseInsensitive) : -1;
    if (at < 0 || text.isEmpty()) {
        ui::services().showMessage(QStringLiteral("Text ") + text + QStringLiteral(" Nenalezen !"));
        return false;
    }
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + text.size()), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    m_edit->ensureCursorVisible();
    m_edit->setFocus();
    return true;
}

void TStdtxtForm::showCaretPosition()
{
    const QTextCursor cursor = m_edit->textCursor();
    statusBar()->showMessage(QStringLiteral("%1/%2").arg(cursor.blockNumber()).arg(cursor.positionInBlock()));
}
