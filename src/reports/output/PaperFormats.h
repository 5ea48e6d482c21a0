// Paper formats: the 18 built-in sizes and the user's own, kept in SESTDLL.INI.
#pragma once

#include <QString>

#include <vector>

namespace reports {

// The report generator's settings file; a bare name, so it lies in the configuration directory.
inline const QString ReportSettingsFile = QStringLiteral("SESTDLL.INI");

// One paper format; sizes in hundredths of an inch, portrait.
struct TFormatPapiru {
    QString Nazev;   // at most 31 characters
    int Sirka = 0;
    int Vyska = 0;
};

// The list of paper formats: the built-in formats at indexes 0-17, always in that order, then
// the user's formats.
class TListFormatu
{
public:
    static constexpr int builtInCount = 18;
    static constexpr int maxNameLength = 31;
    // Bound on user formats read from a settings file (a hostile PocetFormatu).
    static constexpr int maxUserFormats = 1000;

    // Appends the built-in formats, then the user formats of section FormatyPapiru of the
    // INI file (a bare name lies in the configuration directory). A missing file or section
    // gives none; values that are not numbers read as 0.
    void BuildPaperFormats(const QString& iniName);
    // Writes PocetFormatu and Format1..FormatN of the user formats. Keys above N that an
    // earlier save left stay in the file. All or nothing: a failed write raises EFileError
    // and leaves the file as it was.
    void SaveUserFormats(const QString& iniName) const;

    int count() const { return int(m_formats.size()); }
    const TFormatPapiru& FormatAt(int index) const { return m_formats.at(size_t(index)); }
    TFormatPapiru& FormatAt(int index) { return m_formats.at(size_t(index)); }
    // The first format whose sizes both lie within 1 % of the given ones; none matching, a new
    // "uživ. formát" of exactly these sizes is appended. Answers the index.
    int FindOrAddFormat(int width, int height);
    // The name is cut to 31 characters.
    void add(TFormatPapiru format);
    // Makes format `index` the paper of the page settings. A format without a size (a user
    // format read as 0 x 0) is never applied: false, and the settings stay.
    bool ApplyFormat(int index) const;
    // Removes a user format; built-in formats stay.
    void removeUserFormat(int index);
    void clear() { m_formats.clear(); }

    // One "Format<n>" value: name (quoted when it starts with a double quote), width, height.
    static TFormatPapiru parseFormatValue(const QString& value);

private:
    std::vector<TFormatPapiru> m_formats;
};

} // namespace reports
