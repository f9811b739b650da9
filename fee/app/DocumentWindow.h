#pragma once
// frmDocument: one fee statement, shown read-only in rtfText and printed from the document
// frame. The window belongs to the job temp.dat named when it was created, whatever is
// current later; its text is read then from that job's fragments and stays as loaded even if
// the statement is recomputed, until printing recomputes it on the user's word (reload).

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "fee/app/AppContext.h"

class QPrinter;
class QTextEdit;

namespace fee::app {

// Why the statement of the current job cannot be shown (no job, or fragments missing), as a
// message for the user; empty when it can.
std::optional<QString> statementUnavailable(const fee::DataStore& store);

class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit DocumentWindow(AppContext& ctx, QWidget* parent = nullptr);

    // The job folder whose statement this is; empty when there was no current job.
    const std::string& job() const { return job_; }
    // The statement as loaded: every line ended by CR LF.
    const QString& text() const { return text_; }
    // Reads the job's fragments again.
    void reload();
    // The fragments on disk say something else than the window (computed again since).
    bool outdated() const;
    bool hasSelection() const;
    // The selection when selectionOnly and there is one, otherwise the whole text.
    void printTo(QPrinter& printer, bool selectionOnly) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    AppContext& ctx_;
    std::string job_;
    QTextEdit* rtf_ = nullptr;
    QString text_;
};

}  // namespace fee::app
