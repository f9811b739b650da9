#pragma once
// What every data-entry window shares: building a labelled field, checking the fields on
// submit, writing the category's input file and closing the way its mode asks for.

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fee/app/AppContext.h"
#include "fee/calc/EntryInput.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace fee::app {

struct EntryField {
    QLineEdit* edit = nullptr;
    QString name;  // how a refusal names the field
    StoredForm form = StoredForm::Int16Hundredths;
    bool whole = false;  // a count: fractions refused
    // An edit window's field as first shown, and the file value behind it: a field the user
    // left as shown is saved as it was stored.
    QString shown;
    std::optional<double> kept;
};

// A label and its text field on one row of the grid; the label is the field's buddy and its
// text the field's accessible name.
QLineEdit* addLabelledField(QGridLayout* grid, int row, QWidget* owner, const QString& objectName,
                            const QString& labelText);

// A word-wrapped label for explanations.
QLabel* makeNote(QWidget* owner, const QString& text, const QString& objectName = {});

// The stored form of every field, in order, or empty after refusing the first bad one. reveal
// (when given) is called with the field's index first, so that it can be brought into view.
std::optional<std::vector<double>> checkFields(QWidget* window, const AppContext& ctx,
                                               const std::vector<EntryField>& fields,
                                               const std::function<void(int)>& reveal = {});

// The current job, when the window was opened on it; otherwise refuses (no job, or another job
// became current since the window opened) and returns empty.
std::optional<std::string> jobToSaveInto(QWidget* window, const AppContext& ctx);

// Writes the values into the current job's file, one per line; refuses (and returns false)
// when there is no current job or the file cannot be written.
bool writeEntryFile(QWidget* window, AppContext& ctx, std::string_view file,
                    const std::vector<double>& values, Width width);

// After a successful submit: an edit window has the edit menu re-read the files.
void closeAfterSubmit(QWidget* window, AppContext& ctx, EntryMode mode);

// The values of the current job's file for an edit window (0 where missing).
std::vector<double> storedValues(const AppContext& ctx, std::string_view file, int count);

QString shownText(const AppContext& ctx, double fileValue, ShownAs how);

}  // namespace fee::app
