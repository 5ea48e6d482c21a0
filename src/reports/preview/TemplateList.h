// The entries of the template box: the *.pts files of a directory with their descriptions.
#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace reports {

// One template file of the list.
struct TSouborPredlohy {
    QString fileName;   // the mask's directory part + the found name, lower case
    QString shown;      // the description, else the found name
};

// The list of TComboBoxPredloha without the control.
class TemplateList
{
public:
    // A mask always ends in ".pts": "sestava" -> "sestava.pts", "*" and "*.txt" -> "*.pts".
    void setReportMask(const QString& mask);
    QString reportMask() const { return m_mask; }
    // A non-empty directory gets a closing "\".
    void setReportDir(const QString& dir);
    QString reportDir() const { return m_dir; }
    bool reportDirIgnore = true;   // search the program's directory instead of ReportDir
    // When set, fills the list instead of the directory scan.
    std::function<void(TemplateList&)> OnNactiSeznam;

    // Rebuilds the list from the search path (or OnNactiSeznam).
    void rebuild();
    void add(TSouborPredlohy entry) { m_entries.push_back(std::move(entry)); }
    void clear() { m_entries.clear(); }
    const std::vector<TSouborPredlohy>& entries() const { return m_entries; }
    // The entry whose file name equals `name` in lower case; -1 when none does.
    int find(const QString& name) const;
    // The directory plus mask that is scanned.
    QString searchPath() const;

private:
    QString m_mask;
    QString m_dir;
    std::vector<TSouborPredlohy> m_entries;
};

// The description of a template file: the third field of its first "I" line whose second
// field is 0, read from the file's first 64 KiB. Empty when there is none or the file cannot
// be read.
QString TemplateDescription(const QString& path);

} // namespace reports
