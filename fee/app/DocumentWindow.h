#pragma once
// frmDocument: one fee statement, shown read-only in rtfText and printed from the document
// frame. The text is read once, when the window is created, from the fragments of the job
// temp.dat names; it stays as loaded even if the statement is recomputed.

#include <QString>
#include <QWidget>
#include <optional>

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

    // The statement as loaded: every line ended by CR LF.
    const QString& text() const { return text_; }
    bool hasSelection() const;
    // The selection when selectionOnly and there is one, otherwise the whole text.
    void printTo(QPrinter& printer, bool selectionOnly) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    QTextEdit* rtf_ = nullptr;
    QString text_;
};

}  // namespace fee::app
