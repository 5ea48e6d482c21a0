// Tests of the text devices, the text window and its text formats.
#include "graphics/devices/TextDevices.h"

#include "graphics/devices/TextFormats.h"
#include "graphics/devices/TextWindow.h"
#include "graphics/support/GraphicsTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPlainTextEdit>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy\nřádek 2 — €");

ui::RecordingServices& recorder()
{
    return dynamic_cast<ui::RecordingServices&>(ui::services());
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(TextFileDevice, NamingTruncatesAndLaterOutputsAppend)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old text");
    old.close();
    auto device = Create<TTextFileDevice>();
    device->SetFileName(path);
    EXPECT_EQ(device->FileName(), path);
    device->Write(QStringLiteral("kůň "));
    device->WriteLn(QStringLiteral("a"));
    device->EndOutput();
    EXPECT_EQ(device->FileName(), "");
    device->BeginOutput();
    device->WriteLn(QStringLiteral("b"));
    device->EndOutput();
    EXPECT_EQ(readAll(path), QByteArray("k\xF9\xF2 a\r\nb\r\n"));
    // The device has a page and a projection like every device.
    EXPECT_NE(device->Page(), nullptr);
    EXPECT_NE(device->Projection(), nullptr);
}

TEST(TextFileDevice, FailuresRaiseAndASecondWriterKeepsBothOutputs)
{
    QTemporaryDir dir;
    auto device = Create<TTextFileDevice>();
    EXPECT_THROW(device->SetFileName(dir.filePath("missing/list.txt")), EInOutError);
    device->Write("nothing open");   // ignored, no crash
    const QString path = dir.filePath("shared.txt");
    auto first = Create<TTextFileDevice>();
    auto second = Create<TTextFileDevice>();
    first->SetFileName(path);
    first->EndOutput();
    second->SetFileName(path);
    second->EndOutput();
    first->BeginOutput();
    second->BeginOutput();
    first->WriteLn("one");
    second->WriteLn("two");
    first->EndOutput();
    second->EndOutput();
    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.contains("one\r\n"));
    EXPECT_TRUE(text.contains("two\r\n"));
    // A file that vanished as a directory took its place cannot be opened again.
    QFile::remove(path);
    QDir(dir.path()).mkdir("shared.txt");
    EXPECT_THROW(first->BeginOutput(), EInOutError);
}

TEST(TextWindow, WritesBuildLinesAndWriteLnStartsABlankOne)
{
    auto device = Create<TMemoFormDevice>();
    QPointer<TStdtxtForm> form = device->Form();
    device->Write("a");
    device->Write("b");
    device->WriteLn("c");
    EXPECT_EQ(form->Text(), "abc\n ");
    device->Write("d");
    EXPECT_EQ(form->Text(), "abc\nd");
    device->SetCaption("Výpis");
    EXPECT_EQ(device->Caption(), "Výpis");
    device->Clear();
    EXPECT_EQ(form->Text(), "");
}

TEST(TextWindow, RefusesToCloseWhileRunningAndKeepsTextWhenTheSaveIsCancelled)
{
    auto device = Create<TMemoFormDevice>();
    QPointer<TStdtxtForm> form = device->Form();
    device->BeginOutput();
    device->WriteLn("x");
    recorder().clear();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(recorder().messages.empty());
    device->EndOutput();
    form->SetFileChooser([](bool) { return QString(); });
    recorder().script({ui::Answer::Yes});   // save? yes, then the dialog is cancelled
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->Text(), "x\n ");
    recorder().script({ui::Answer::No});
    EXPECT_TRUE(form->close());
    // The window's hold was not the only one: the device lives on.
    EXPECT_EQ(device->GetName(), "TMemoFormDevice");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(device->Form(), nullptr);
}

TEST(TextWindow, ClosingFreesADeviceOnlyItHolds)
{
    auto* device = Create<TMemoFormDevice>().release();
    WeakRef<TMemoFormDevice> weak(device);
    QPointer<TStdtxtForm> form = device->Form();
    recorder().script({ui::Answer::No});
    device->WriteLn("x");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(weak.get(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(TextWindow, SavesPlainTextOrRtfByExtensionAndOpensBothBack)
{
    QTemporaryDir dir;
    auto device = Create<TMemoFormDevice>();
    TStdtxtForm* form = device->Form();
    form->Editor()->setPlainText(czech);
    ASSERT_TRUE(form->SaveTo(dir.filePath("a.TxT")));
    EXPECT_FALSE(form->Modified());
    EXPECT_EQ(readAll(dir.filePath("a.TxT")), EncodePlainText(czech));
    EXPECT_TRUE(readAll(dir.filePath("a.TxT")).contains("\r\n"));
    ASSERT_TRUE(form->SaveTo(dir.filePath("b.rtf")));
    const QByteArray rtf = readAll(dir.filePath("b.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250"));
    EXPECT_TRUE(rtf.contains("\\'f8"));   // ř
    form->Editor()->clear();
    ASSERT_TRUE(form->OpenFrom(dir.filePath("b.rtf")));
    EXPECT_EQ(form->Text(), czech);
    ASSERT_TRUE(form->OpenFrom(dir.filePath("a.TxT")));
    EXPECT_EQ(form->Text(), czech);
    recorder().clear();
    EXPECT_FALSE(form->SaveTo(dir.filePath("missing/c.txt")));
    EXPECT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(form->Text(), czech);
}

TEST(TextWindow, SearchFromTheCaretAndReportsAMissingText)
{
    auto device = Create<TMemoFormDevice>();
    TStdtxtForm* form = device->Form();
    form->Editor()->setPlainText("alfa beta ALFA");
    EXPECT_TRUE(form->FindNext("alfa"));
    EXPECT_EQ(form->Editor()->textCursor().selectionStart(), 10);
    recorder().clear();
    EXPECT_FALSE(form->FindNext("gama"));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Text gama Nenalezen !");
}

TEST(TextFormats, RtfKeepsCharactersBeyondTheCodePageAndSkipsDestinations)
{
    const QString text = QStringLiteral("Ω {x} \\ tab\there");
    EXPECT_EQ(DecodeRtf(EncodeRtf(text, "Arial")), text);
    EXPECT_EQ(DecodeRtf("{\\rtf1{\\*\\generator x;}{\\fonttbl{\\f0 Arial;}}a\\par b\\u269?}"), QStringLiteral("a\nbč"));
    EXPECT_THROW(DecodeRtf("{\\rtf1 {a}"), EConvertError);
    EXPECT_THROW(DecodeRtf("{\\rtf1 a}}"), EConvertError);
    EXPECT_THROW(DecodeRtf("{\\rtf1 \\'z1}"), EConvertError);
    EXPECT_THROW(DecodeRtf(QByteArray(100, '{') + QByteArray(100, '}')), EConvertError);
}

// Flips, truncations and insertions of an RTF document decode or raise EConvertError.
TEST(TextFormats, MutatedRtfDecodesOrRaisesCleanly)
{
    const QByteArray source = EncodeRtf(czech, "Arial");
    std::mt19937 rng(106);
    int raised = 0;
    for (int i = 0; i < 4000; ++i) {
        QByteArray bytes = source;
        for (int k = 0; k < 1 + static_cast<int>(rng() % 3); ++k) {
            switch (rng() % 3) {
            case 0: bytes.truncate(static_cast<qsizetype>(rng() % (bytes.size() + 1))); break;
            case 1:
                if (!bytes.isEmpty())
                    bytes[rng() % bytes.size()] = "{}\\'u0a9 x"[rng() % 10];
                break;
            default: bytes.insert(static_cast<qsizetype>(rng() % (bytes.size() + 1)), "{}\\'u0a9 x"[rng() % 10]); break;
            }
        }
        try {
            DecodeRtf(bytes);
        } catch (const EConvertError&) {
            ++raised;
        }
    }
    EXPECT_GT(raised, 100);
}

} // namespace
