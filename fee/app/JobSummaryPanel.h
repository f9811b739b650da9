#pragma once
// Read-only pieces shared by the work menu, the edit menu and the job overview: the job's
// particulars in three groups (owner, work, engineer) and the quantities stored for every kind
// of work. Each label keeps the object name the rest of the program (and its tests) look for:
// onoma ... eidikot for the particulars, iii ... xilio for the quantities.

#include <QString>
#include <QWidget>
#include <string_view>

#include "fee/app/Messages.h"

class QLabel;

namespace fee {
class DataStore;
struct Particulars;
}  // namespace fee

namespace fee::app {

// Groups "Ιδιοκτήτης", "Εργο", "Μηχανικός", one above the other.
class JobParticularsPanel : public QWidget {
public:
    explicit JobParticularsPanel(QWidget* parent = nullptr);
    void setParticulars(const fee::Particulars& particulars);

private:
    QLabel* values_[12]{};
};

// The quantities of the nine kinds of work, in hundredths on disk, shown divided by 100.
class JobQuantitiesPanel : public QWidget {
public:
    explicit JobQuantitiesPanel(QWidget* parent = nullptr);
    // Never fails: a missing file or value shows 0.
    void load(const fee::DataStore& store, std::string_view jobPath);
};

}  // namespace fee::app
