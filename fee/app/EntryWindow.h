#pragma once
// The data-entry window of every category entered in plain fields, built from a row of a table:
// caption, explanatory labels, fields and how typed numbers are checked. The input file, how it
// is written and the window's object names are the category's own (fee/store/Categories.h).
// The new and the edit window of a category are the same window in two modes: the new one
// starts every field at "0", the edit one shows what the job's input file holds.

#include <QWidget>
#include <vector>

#include "fee/app/AppContext.h"
#include "fee/app/EntrySupport.h"

namespace fee::app {

struct EntryFieldLayout {
    const char* objectName;
    const char* label;
    const char* name;  // how refusals name the field
    ShownAs shown;     // how the edit window shows the stored value
};

struct EntryLayout {
    CategoryId category;
    const char* caption;
    StoredForm form;
    std::vector<const char*> headings;  // above the fields; the first one bold when boldHeading
    bool boldHeading;
    std::vector<EntryFieldLayout> fields;
    std::vector<const char*> notes;  // below the fields
    const char* submitName;
    bool densityNote;  // polygonometry: one or half a point per stremma, by the plan flag
};

// The row of the table for a category; nullptr for one that has a window of another kind.
const EntryLayout* entryLayout(CategoryId category);

class EntryWindow : public QWidget {
    Q_OBJECT
public:
    EntryWindow(AppContext& ctx, const EntryLayout& layout, EntryMode mode,
                QWidget* parent = nullptr);

private:
    void onSubmit();

    AppContext& ctx_;
    const EntryLayout& layout_;
    EntryMode mode_;
    std::vector<EntryField> fields_;
};

}  // namespace fee::app
