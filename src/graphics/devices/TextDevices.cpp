// Text devices: listings written to a text file or shown in the text window.
#include "graphics/devices/TextDevices.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/devices/TextFormats.h"
#include "graphics/devices/TextWindow.h"
#include "graphics/interpret/Interpret.h"
#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"

// --- TTextFileDevice ---------------------------------------------------------------------------

TClass TTextFileDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TTextFileDevice, TDevice>("TTextFileDevice", [](PropertyTable<TTextFileDevice>& t) {
        t.string("FileName", &TTextFileDevice::FileName, &TTextFileDevice::SetFileName);
    });
    return &info;
}

void TTextFileDevice::BeforeDestruction()
{
    if (m_file)
        m_file->close();
    m_file.reset();
    TDevice::BeforeDestruction();
}

QString TTextFileDevice::FileName() const
{
    return IsOpen() ? m_name : QString();
}

void TTextFileDevice::close()
{
    if (!m_file)
        return;
    const bool flushed = m_file->flush();
    m_file->close();
    m_file.reset();
    if (!flushed)
        throw EInOutError(QStringLiteral("Chyba zápisu do souboru %1").arg(m_name));
}

void TTextFileDevice::SetFileName(const QString& name)
{
    close();
    m_name = name;
    auto file = std::make_unique<QFile>(name);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EInOutError(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(name, file->errorString()));
    m_file = std::move(file);
}

// The original left reopening undecided; appending keeps what earlier runs wrote.
void TTextFileDevice::BeginOutput()
{
    if (IsOpen() || m_name.isEmpty())
        return;
    auto file = std::make_unique<QFile>(m_name);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append))
        throw EInOutError(QStringLiteral("Soubor %1 nelze otevřít: %2").arg(m_name, file->errorString()));
    m_file = std::move(file);
}

void TTextFileDevice::EndOutput()
{
    close();
}

void TTextFileDevice::put(const QByteArray& bytes)
{
    if (!IsOpen())
        return;
    if (m_file->write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("Chyba zápisu do souboru %1").arg(m_name));
}

void TTextFileDevice::Write(const QString& s)
{
    put(Cp1250::encode(s));
}

void TTextFileDevice::WriteLn(const QString& s)
{
    put(Cp1250::encode(s) + "\r\n");
}

// --- TMemoFormDevice ---------------------------------------------------------------------------

TClass TMemoFormDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TMemoFormDevice, TDevice>("TMemoFormDevice", [](PropertyTable<TMemoFormDevice>& t) {
        using D = TMemoFormDevice;
        t.integer("Left", &D::Left, &D::SetLeft)
            .integer("Top", &D::Top, &D::SetTop)
            .integer("Width", &D::Width, &D::SetWidth)
            .integer("Height", &D::Height, &D::SetHeight)
            .string("Caption", &D::Caption, &D::SetCaption);
    });
    return &info;
}

void TMemoFormDevice::AfterConstruction()
{
    TDevice::AfterConstruction();
    m_form = new TStdtxtForm();
    m_form->SetOwnerElement(this);
}

// The original let pending events run here; a destructor runs no events now.
void TMemoFormDevice::BeforeDestruction()
{
    if (m_form && !m_form->Closing())
        m_form->ForgetOwnerElement();
    PostToOwners(InterpretCode::RunEnded, nullptr);
    TDevice::BeforeDestruction();
}

TStdtxtForm* TMemoFormDevice::Form() const
{
    return m_form.data();
}

qint32 TMemoFormDevice::Left() const
{
    return m_form ? m_form->x() : 0;
}

void TMemoFormDevice::SetLeft(qint32 v)
{
    if (m_form)
        m_form->move(v, m_form->y());
}

qint32 TMemoFormDevice::Top() const
{
    return m_form ? m_form->y() : 0;
}

void TMemoFormDevice::SetTop(qint32 v)
{
    if (m_form)
        m_form->move(m_form->x(), v);
}

qint32 TMemoFormDevice::Width() const
{
    return m_form ? m_form->width() : 0;
}

void TMemoFormDevice::SetWidth(qint32 v)
{
    if (m_form)
        m_form->resize(v, m_form->height());
}

qint32 TMemoFormDevice::Height() const
{
    return m_form ? m_form->height() : 0;
}

void TMemoFormDevice::SetHeight(qint32 v)
{
    if (m_form)
        m_form->resize(m_form->width(), v);
}

QString TMemoFormDevice::Caption() const
{
    return m_form ? m_form->windowTitle() : QString();
}

void TMemoFormDevice::SetCaption(const QString& text)
{
    if (m_form)
        m_form->setWindowTitle(text);
}

void TMemoFormDevice::SetVisible(bool visible)
{
    if (m_form)
        m_form->setVisible(visible);
}

void TMemoFormDevice::Clear()
{
    if (m_form)
        m_form->ClearText();
}

void TMemoFormDevice::Write(const QString& s)
{
    if (m_form)
        m_form->Write(s);
}

void TMemoFormDevice::WriteLn(const QString& s)
{
    if (m_form)
        m_form->WriteLn(s);
}

void TMemoFormDevice::BeginOutput()
{
    if (m_form)
        m_form->BeginOutput();
}

void TMemoFormDevice::EndOutput()
{
    if (m_form)
        m_form->EndOutput();
}

void RegisterTextDeviceClasses()
{
    RegisterUnitClasses({TTextFileDevice::StaticClass(), TMemoFormDevice::StaticClass()});
}
