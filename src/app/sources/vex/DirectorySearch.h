// The directory-search window (a data directory or the SQL alias).
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace db {
class Table;
}

namespace vex {

// What the search window shows and answers, without a widget. Drives take the place of drive
// letters: the file-system root and the home directory.
class DirectorySearch
{
public:
    DirectorySearch(const QString& startDirectory, const QString& caption, const QString& mask, bool aliasVisible);

    const QString& caption() const { return m_caption; }
    const QString& mask() const { return m_mask; }
    bool aliasVisible() const { return m_aliasVisible; }
    // The drives: "/" and the home directory.
    static QStringList drives();

    // The directory shown: the start directory when it exists, else the program's directory.
    const QString& directory() const { return m_directory; }
    // Shows another directory (a missing one is ignored).
    void setDirectory(const QString& directory);
    // Shows a subdirectory of the one shown, or its parent for "..".
    void enter(const QString& subdirectory);
    // The subdirectories of the one shown, ".." first unless it is the root. Hidden entries
    // (names beginning with ".") are left out of this list and of files().
    QStringList subdirectories() const;
    // The files of the directory shown that match the mask.
    QStringList files() const;

    // Showing the window clears both answers.
    void activate();
    void choose();        // "Vybrat"
    void leave();         // "Opustit" and the close box
    void chooseAlias();   // "ALIAS"
    // "NicSeNavybralo", "ALIAS" or the directory shown.
    QString result() const;

private:
    QString m_caption;
    QString m_mask;
    bool m_aliasVisible;
    QString m_directory;
    bool m_accepted = false;
    bool m_alias = false;
};

// The window over a DirectorySearch (TS_VyhlSoub1): drive box, directory list, file list, the
// buttons "Vybrat", "Opustit" and the optional "ALIAS".
class TS_VyhlSoub1 : public QDialog
{
    Q_OBJECT

public:
    explicit TS_VyhlSoub1(DirectorySearch& search, QWidget* parent = nullptr);

    QComboBox* DriveComboBox1 = nullptr;
    QListWidget* DirectoryListBox1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ButAlias = nullptr;

    // The directory "Vybrat" takes, shown above the lists.
    QLabel* DirectoryLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter in the directory list opens the highlighted directory, as a double click does,
    // instead of pressing the default button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enterDirectory(const QListWidgetItem* item);
    void refresh();

    DirectorySearch& m_search;
};

// The modal search: "NicSeNavybralo" when left, "ALIAS" for the alias button, else the directory.
QString SelectFile(const QString& startDirectory, const QString& caption, const QString& mask, bool aliasVisible);
// SelectFile with the mask "*.DB" and no alias button.
QString SelectDbFile(const QString& startDirectory, const QString& caption);

// A yes/no window with three lines of question (TdotazF1); closing it any other way answers no.
class TdotazF1 : public QDialog
{
    Q_OBJECT

public:
    explicit TdotazF1(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    bool Confirmed() const { return m_confirmed; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_confirmed = false;
};

// A label over a grid of one table, for the user to fill a codebook (TTabulkaForm).
void ShowTableWindow(const QString& label, db::Table& table);

} // namespace vex
