#include "fee/app/JobSummaryPanel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "fee/store/Categories.h"
#include "fee/store/DataStore.h"

namespace fee::app {

namespace {

QLabel* valueLabel(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(80);
    // The caption beside it is what a screen reader should announce with the value.
    label->setAccessibleDescription(caption);
    return label;
}

// One row: caption label (object name <name>Caption) and value label <name>.
QLabel* addRow(QFormLayout* form, const QString& objectName, const QString& caption,
               QWidget* parent) {
    auto* value = valueLabel(objectName, caption, parent);
    if (caption.isEmpty()) {
        form->addRow(value);
    } else {
        auto* captionLabel = new QLabel(caption, parent);
        captionLabel->setObjectName(objectName + QStringLiteral("Caption"));
        captionLabel->setBuddy(value);
        form->addRow(captionLabel, value);
    }
    return value;
}

QFormLayout* newForm(QGroupBox* box) {
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

struct Row {
    const char* name;
    const char* caption;
};

}  // namespace

JobParticularsPanel::JobParticularsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("particulars"));
    struct Group {
        const char* heading;
        const char* objectName;
        std::vector<Row> rows;
    };
    // In STOIXEIA.dat order, so values_[i] is line i + 1.
    const Group groups[] = {
        {"Ιδιοκτήτης",
         "owner",
         {{"onoma", "Όνομα:"}, {"eponymo", "Επώνυμο:"}, {"dnsh", "Διεύθυνση:"}, {"poli", "Πόλη:"}}},
        {"Εργο",
         "work",
         {{"dimos", "Δήμος:"}, {"dd", "Δημοτικό Διαμέρισμα"}, {"uesi", "Διεύθυνση:"}}},
        {"Μηχανικός",
         "engineer",
         {{"onm", "Όνομα:"},
          {"epm", "Επώνυμο:"},
          {"dnsm", "Διεύθυνση:"},
          {"polim", "Πόλη:"},
          {"eidikot", "Ειδικότητα:"}}},
    };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    int index = 0;
    for (const auto& group : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(group.heading), this);
        box->setObjectName(QString::fromUtf8(group.objectName));
        auto* form = newForm(box);
        for (const auto& row : group.rows)
            values_[index++] =
                addRow(form, QString::fromUtf8(row.name), QString::fromUtf8(row.caption), box);
        column->addWidget(box);
    }
}

void JobParticularsPanel::setParticulars(const fee::Particulars& particulars) {
    for (int i = 0; i < fee::Particulars::Count; ++i)
        values_[i]->setText(
            QString::fromStdString(particulars.fields[static_cast<std::size_t>(i)]));
}

JobQuantitiesPanel::JobQuantitiesPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("quantities"));
    struct Group {
        const char* heading;
        std::vector<Row> rows;
        int gridRow, gridColumn, rowSpan;
    };
    const Group groups[] = {
        {"Τριγωνισμοί",
         {{"iii", "ΙΙΙ Τάξης"},
          {"iv", "IV Τάξης"},
          {"empr", "Εμπροσθοτομίες"},
          {"opi", "Οπισθοτομίες"}},
         0,
         0,
         1},
        {"Ταχυμετρία στην Ύπαιθρο",
         {{"q0", "Κλιση εως 5%"},
          {"q5", "Κλίση 5%-20%"},
          {"q20", "Κλίση 20%-50%"},
          {"q50", "Κλίση 50%-100%"},
          {"q100", "Κλίση 100%-"},
          {"hh", "Υψομετρία"}},
         1,
         0,
         2},
        {"Ρυμοτομικές Γραμμές", {{"ajj", "Σημεία Αξόνων"}, {"ot", "Σημεία Ο.Τ."}}, 0, 1, 1},
        // These three have no heading of their own.
        {"",
         {{"polo", "Πολυγωνομετρικά Σημεία"},
          {"ae", "Αποτυπώσεις Εντός Σχεδίου"},
          {"kma", "Πράξεις αναλογισμού (Km)"}},
         1,
         1,
         1},
        {"Xάραξη Κτιριακών Έργων", {{"ΧΚ", "(Εμβαδό κτιρίου σε m2)"}}, 2, 1, 1},
        {"Χάραξη Οικοπέδων", {{"xoi", ""}}, 3, 0, 1},
        {"Πίνακες Χιλιοστών (ιδιοκτ.)", {{"xilio", ""}}, 3, 1, 1},
    };
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (const auto& group : groups) {
        const QString heading = QString::fromUtf8(group.heading);
        auto* box = new QGroupBox(heading, this);
        auto* form = newForm(box);
        for (const auto& row : group.rows) {
            QLabel* value =
                addRow(form, QString::fromUtf8(row.name), QString::fromUtf8(row.caption), box);
            // Numbers line up at the right edge of their group.
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setMinimumWidth(60);
            if (*row.caption == '\0') value->setAccessibleDescription(heading);
        }
        grid->addWidget(box, group.gridRow, group.gridColumn, group.rowSpan, 1);
    }
    grid->setRowStretch(4, 1);
}

void JobQuantitiesPanel::load(const fee::DataStore& store, std::string_view jobPath) {
    // The labels that show a category's numbers, in the order its input file keeps them.
    struct Source {
        CategoryId category;
        std::vector<const char*> labels;
    };
    const Source sources[] = {
        {CategoryId::Analog, {"kma"}},
        {CategoryId::Taxi, {"q0", "q5", "q20", "q50", "q100", "hh"}},
        {CategoryId::Asti, {"ae"}},
        {CategoryId::Polygon, {"polo"}},
        {CategoryId::Rymotom, {"ajj", "ot"}},
        {CategoryId::Trig, {"iii", "iv", "empr", "opi"}},
        {CategoryId::Them, {"ΧΚ"}},
        {CategoryId::Xilosta, {"xilio"}},
        {CategoryId::Oix, {"xoi"}},
    };
    const QString separator = QString::fromStdString(store.decimalSeparator());
    for (const auto& source : sources) {
        const Category& category = categoryOf(source.category);
        const std::vector<double> values =
            store.quantities(jobPath, category.input, category.fields);
        const std::size_t shown = std::min(values.size(), source.labels.size());
        for (std::size_t i = 0; i < shown; ++i) {
            auto* label = findChild<QLabel*>(QString::fromUtf8(source.labels[i]));
            if (!label) continue;
            const double stored = values[i];
            if (category.altimetry && static_cast<int>(i) == category.altimetry->index)
                label->setText(stored != 0 ? QStringLiteral("Ν Α Ι") : QStringLiteral("Ο Χ Ι"));
            else
                label->setText(displayNumber(stored / 100, 15, separator));
        }
    }
}

}  // namespace fee::app
