// Text devices: listings written to a text file or shown in the text window.
#pragma once

#include "graphics/devices/Device.h"
#include "graphics/devices/TextWindow.h"

#include <QFile>
#include <QPointer>

#include <memory>


// TTextFileDevice: writes lines into a windows-1250 text file with CRLF line ends. Writing
// FileName creates (empties) the file and opens it; EndOutput closes it; BeginOutput opens it
// again for appending, so earlier output is kept. I/O failures raise EInOutError.
class TTextFileDevice : public TDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void BeforeDestruction() override;

    // The name while the file is open for output, else empty.
    QString FileName() const;
    void SetFileName(const QString& name);
    bool IsOpen() const { return m_file && m_file->isOpen(); }

    void Write(const QString& s) override;
    void WriteLn(const QString& s) override;
    void BeginOutput() override;
    void EndOutput() override;

private:
    void put(const QByteArray& bytes);
    void close();

    QString m_name;
    std::unique_ptr<QFile> m_file;
};

// TMemoFormDevice: shows the listing in a text window it creates. The window holds the device
// as one of its holders; closing the window drops that hold (the device lives on when someone
// else holds it). When the device goes first, the window stays open, detached.
class TMemoFormDevice : public TDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;
    void BeforeDestruction() override;

    TStdtxtForm* Form() const;
    qint32 Left() const;
    void SetLeft(qint32 v);
    qint32 Top() const;
    void SetTop(qint32 v);
    qint32 Width() const;
    void SetWidth(qint32 v);
    qint32 Height() const;
    void SetHeight(qint32 v);
    QString Caption() const;
    void SetCaption(const QString& text);

    void SetVisible(bool visible) override;
    void Clear() override;
    void Write(const QString& s) override;
    void WriteLn(const QString& s) override;
    void BeginOutput() override;
    void EndOutput() override;

private:
    QPointer<TStdtxtForm> m_form;
};

void RegisterTextDeviceClasses();
