// Text window: shows a listing as it is written, lets the user stop it, search, save and open.
#pragma once

#include "framework/core/Elements.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QCheckBox;
class QPlainTextEdit;
class TMemoFormDevice;

// TStdtxtForm: plain text in one font. While output runs (BeginOutput..EndOutput) it refuses
// to close; "Přerušit" stops the interpreter that owns its device. It holds its memo device as
// one holder and drops that hold when it closes. Deletes itself when closed.
class TStdtxtForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TStdtxtForm(QWidget* parent = nullptr);
    ~TStdtxtForm() override;

    // Chooses a file to save (true) or open (false); empty when cancelled. The default runs the
    // file dialogs; tests set their own.
    using FileChooser = std::function<QString(bool save)>;
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    void SetOwnerElement(TMemoFormDevice* device);
    void ForgetOwnerElement();
    TMemoFormDevice* OwnerElement() const;
    bool Closing() const { return m_closing; }
    bool Modified() const { return m_modified; }
    bool Running() const { return m_running; }
    QString Text() const;
    QPlainTextEdit* Editor() const { return m_edit; }

    void Write(const QString& s);
    void WriteLn(const QString& s);
    void ClearText();
    void BeginOutput();
    void EndOutput();

    // ".TXT" in any case: plain windows-1250 text; anything else: RTF. False (after a message)
    // when the file cannot be written; the text stays.
    bool SaveTo(const QString& path);
    // Plain text or RTF (by content); false (after a message) when it cannot be read.
    bool OpenFrom(const QString& path);
    // Searches from the caret + 1, ignoring case; shows "Text <t> Nenalezen !" when missing.
    bool FindNext(const QString& text);

    // The actions and the wrap check box (for the window's users and tests).
    QAction* OpenAction() const { return m_open; }
    QAction* SaveAction() const { return m_save; }
    QAction* FindAction() const { return m_find; }
    QAction* FontAction() const { return m_font; }
    QAction* AbortAction() const { return m_abort; }
    QAction* CloseAction() const { return m_close; }
    QCheckBox* WrapLines() const { return m_wrap; }

    void OpenExecute();
    // Asks for a file and saves; false when cancelled or failed.
    bool SaveExecute();
    void SetFontExecute();
    void AbortExecute();
    void FindTextExecute();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool askToSave();
    void showCaretPosition();

    QPlainTextEdit* m_edit = nullptr;
    QCheckBox* m_wrap = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_find = nullptr;
    QAction* m_font = nullptr;
    QAction* m_abort = nullptr;
    QAction* m_close = nullptr;
    FileChooser m_chooseFile;
    Owned<TEntity> m_holder;   // holds the memo device for the window
    WeakRef<TMemoFormDevice> m_owner;
    QString m_pendingLine;
    QString m_lastSearch;
    bool m_closing = false;
    bool m_modified = false;
    bool m_running = false;
};
