#pragma once
// frmMain: the frame that holds the statement's document windows. It opens with the first
// document window shown, restores its position from the settings store (section "Settings",
// lengths in twips) and saves it when closed unless it is minimised.
//
// Printing (menu "&Print...", Ctrl+P) prints the active document as the statement of its own
// job: a statement older than that job's files is first offered for computing, and printed to
// a file it goes among the user's documents under the job's name.

#include <QList>
#include <QMainWindow>
#include <functional>

#include "fee/app/AppContext.h"

class QMdiArea;
class QPrintDialog;
class QPrinter;

namespace fee::app {

class DocumentWindow;

class DocumentFrame : public QMainWindow {
    Q_OBJECT
public:
    // Shows the print dialog for the printer and reports whether the user accepted it.
    // hasSelection: the active document has selected text (offer and preselect "Selection").
    using PrintDialogStep =
        std::function<bool(QPrinter& printer, bool hasSelection, QWidget* parent)>;

    // documentCounter numbers the "Document n" windows across every frame of the run.
    DocumentFrame(AppContext& ctx, int& documentCounter, QWidget* parent = nullptr);

    // Puts the window into the frame as a child, shows it and makes it the active one.
    void addDocument(DocumentWindow* document);
    DocumentWindow* activeDocument() const;
    QList<DocumentWindow*> documents() const;

    // Prints the active document through the print dialog step, after the stale-statement
    // question when its statement is not up to date; nothing when cancelled.
    void printActive();
    void setPrintDialogStep(PrintDialogStep step) { printDialog_ = std::move(step); }
    // Ending the program closes the frame without saving its position.
    void setSavePositionOnClose(bool save) { savePosition_ = save; }

    // The dialog the default step shows: title "Εκτύπωση", no page numbers, the selection
    // offered and preselected when there is one.
    static void configurePrintDialog(QPrintDialog& dialog, QPrinter& printer, bool hasSelection);
    static bool runPrintDialog(QPrinter& printer, bool hasSelection, QWidget* parent);
    // Where a statement printed to a file goes: the user's documents folder, made when
    // missing, else the home folder.
    static QString documentsFolder();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void print(DocumentWindow* document);
    void restorePosition();
    void savePosition();
    void updateClock();

    AppContext& ctx_;
    int& counter_;
    QMdiArea* mdi_ = nullptr;
    PrintDialogStep printDialog_ = &DocumentFrame::runPrintDialog;
    bool savePosition_ = true;
    // The stored twips and the pixel rectangle they gave, so an unmoved frame saves exactly
    // what it read (pixel rounding would otherwise creep the stored values).
    QRect loadedPixels_;
    float loadedTwips_[4] = {};
};

}  // namespace fee::app
