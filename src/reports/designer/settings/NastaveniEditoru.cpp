// Editor settings: defaults, reading and writing of sections EditorSestav and Oddily.
#include "reports/designer/settings/NastaveniEditoru.h"

#include "platform/Exceptions.h"
#include "platform/files/FileOps.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "reports/model/ReportTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace reports::designer {

namespace {

const QString editorSection = QStringLiteral("EditorSestav");
const QString elementSection = QStringLiteral("Oddily");
constexpr int minFontSize = 8;

// A stored negative size is a pixel height at 72 per 100 points.
int fontSizeFromFile(int stored)
{
    int64_t size = stored;
    if (size < 0) size = size * -72 / 100;
    return int(std::clamp<int64_t>(size, minFontSize, std::numeric_limits<int>::max()));
}

void readEditorSection(const IniFile& ini, NastaveniEditoru& s)
{
    const NastaveniEditoru d;
    const QString& sec = editorSection;
    s.RastrX = ini.readInteger(sec, QStringLiteral("RastrX"), d.RastrX);
    s.RastrY = ini.readInteger(sec, QStringLiteral("RastrY"), d.RastrY);
    s.RastrZobrazovat = ini.readBool(sec, QStringLiteral("RastrZobrazovat"), d.RastrZobrazovat);
    s.RastrZarovnavat = ini.readBool(sec, QStringLiteral("RastrZarovnavat"), d.RastrZarovnavat);
    s.MazaniJedne = ini.readBool(sec, QStringLiteral("MazaniJedne"), d.MazaniJedne);
    s.MazaniVice = ini.readBool(sec, QStringLiteral("MazaniVice"), d.MazaniVice);
    s.PocetUndo = ini.readInteger(sec, QStringLiteral("PocetUndo"), d.PocetUndo);
    s.UndoSave = ini.readBool(sec, QStringLiteral("UndoSave"), d.UndoSave);
    s.VybSezna = ini.readBool(sec, QStringLiteral("VybSezna"), d.VybSezna);
    s.SledPodle = ini.readBool(sec, QStringLiteral("SledPodle"), d.SledPodle);
}

void readElementSection(const IniFile& ini, NastaveniEditoru& s)
{
    const NastaveniEditoru d;
    const QString& sec = elementSection;
    s.ImplSirka = ini.readInteger(sec, QStringLiteral("ImplSirka"), d.ImplSirka);
    s.ImplVyska = ini.readInteger(sec, QStringLiteral("ImplVyska"), d.ImplVyska);
    s.ImplZarovnani = ini.readInteger(sec, QStringLiteral("ImplZarovnani"), d.ImplZarovnani);
    s.ImplBarvaFontu = ini.readInteger(sec, QStringLiteral("ImplBarvaFontu"), d.ImplBarvaFontu);
    s.ImplVyskaFontu = fontSizeFromFile(ini.readInteger(sec, QStringLiteral("ImplVyskaFontu"), d.ImplVyskaFontu));
    s.ImplNazevFontu = ini.readString(sec, QStringLiteral("ImplNazevFontu"), d.ImplNazevFontu)
                           .left(NastaveniEditoru::MaxFontName);
    s.ImplStylFontu = ini.readInteger(sec, QStringLiteral("ImplStylFontu"), d.ImplStylFontu);
    s.ImplSkriptFontu = ini.readInteger(sec, QStringLiteral("ImplSkriptFontu"), d.ImplSkriptFontu);
}

void writeKeys(IniFile& ini, const NastaveniEditoru& s)
{
    const QString& e = editorSection;
    ini.writeInteger(e, QStringLiteral("RastrX"), s.RastrX);
    ini.writeInteger(e, QStringLiteral("RastrY"), s.RastrY);
    ini.writeBool(e, QStringLiteral("RastrZobrazovat"), s.RastrZobrazovat);
    ini.writeBool(e, QStringLiteral("RastrZarovnavat"), s.RastrZarovnavat);
    ini.writeBool(e, QStringLiteral("MazaniJedne"), s.MazaniJedne);
    ini.writeBool(e, QStringLiteral("MazaniVice"), s.MazaniVice);
    ini.writeInteger(e, QStringLiteral("PocetUndo"), s.PocetUndo);
    ini.writeBool(e, QStringLiteral("UndoSave"), s.UndoSave);
    ini.writeBool(e, QStringLiteral("VybSezna"), s.VybSezna);
    ini.writeBool(e, QStringLiteral("SledPodle"), s.SledPodle);
    const QString& o = elementSection;
    ini.writeInteger(o, QStringLiteral("ImplSirka"), s.ImplSirka);
    ini.writeInteger(o, QStringLiteral("ImplVyska"), s.ImplVyska);
    ini.writeInteger(o, QStringLiteral("ImplZarovnani"), s.ImplZarovnani);
    ini.writeInteger(o, QStringLiteral("ImplBarvaFontu"), s.ImplBarvaFontu);
    ini.writeInteger(o, QStringLiteral("ImplVyskaFontu"), s.ImplVyskaFontu);
    ini.writeString(o, QStringLiteral("ImplNazevFontu"), s.ImplNazevFontu.left(NastaveniEditoru::MaxFontName));
    ini.writeInteger(o, QStringLiteral("ImplStylFontu"), s.ImplStylFontu);
    ini.writeInteger(o, QStringLiteral("ImplSkriptFontu"), s.ImplSkriptFontu);
}

// The file's bytes; none when it does not exist. An existing file that cannot be read is
// not overwritten.
QByteArray currentBytes(const QString& path, const QString& name)
{
    if (!QFileInfo::exists(path)) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Nelze zapsat do souboru \"%1\"").arg(name));
    return file.readAll();
}

} // namespace

void NastaveniEditoru::setZoomStep(int step)
{
    ImplMeritko = step >= 0 && step < int(ZoomSteps.size()) ? step : StartZoomStep;
    ZoomX = ZoomY = ZoomSteps[size_t(ImplMeritko)];
}

NastaveniEditoru ReadEditorSettings(const QString& iniName)
{
    const IniFile ini(iniName);
    NastaveniEditoru s;
    readEditorSection(ini, s);
    readElementSection(ini, s);
    // The stored step is not taken: the designer starts at 100 %.
    s.setZoomStep(NastaveniEditoru::StartZoomStep);
    return s;
}

void WriteEditorSettings(const NastaveniEditoru& settings, const QString& iniName)
{
    const IniFile target(iniName);
    const bool isBareName = !iniName.contains(u'/') && !iniName.contains(u'\\') && !iniName.contains(u':');
    if (isBareName) QDir().mkpath(files::configDirectory());
    const QString path = target.path();
    // Every key is written into a copy that then replaces the file in one step.
    const QString copy = path + QStringLiteral(".tmp");
    const QByteArray bytes = currentBytes(path, iniName);
    try {
        files::fileOps().writeFile(copy, bytes);
        IniFile ini(copy);
        writeKeys(ini, settings);
        files::fileOps().replace(copy, path);
    } catch (...) {
        QFile::remove(copy);
        throw;
    }
}

} // namespace reports::designer
