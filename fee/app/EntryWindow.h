#pragma once
// The data-entry window of every category but the tachymetric one, built from a row of a
// table: caption, explanatory labels, fields and stored form; the input file is the
// category's own. The new and the edit
// window of a category are the same window in two modes: the new one starts every field at
// "0", the edit one shows what the job's input file holds.

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
    const char* newName;
    const char* editName;
    const char* caption;
    StoredForm form;
    Width width;
    std::vector<const char*> headings;  // above the fields; the first one bold when boldHeading
    bool boldHeading;
    std::vector<EntryFieldLayout> fields;
    std::vector<const char*> notes;  // below the fields
    const char* submitName;
    bool densityNote;  // polygonometry: one or half a point per stremma, by the plan flag
};

// The row of the table for a category; nullptr for the tachymetric surveys.
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
