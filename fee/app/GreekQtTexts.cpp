#include "fee/app/GreekQtTexts.h"

#include <cstring>

namespace fee::app {

namespace {

struct Text {
    const char* context;
    const char* english;
    const char* greek;
};

// Context and text exactly as Qt 6 asks for them; an unknown text stays English.
constexpr Text kTexts[] = {
    // Standard buttons (message boxes, button boxes).
    {"QPlatformTheme", "OK", "Εντάξει"},
    {"QPlatformTheme", "Cancel", "Άκυρο"},
    {"QPlatformTheme", "&Yes", "&Ναι"},
    {"QPlatformTheme", "&No", "&Όχι"},
    {"QPlatformTheme", "Close", "Κλείσιμο"},
    {"QPlatformTheme", "Apply", "Εφαρμογή"},
    {"QPlatformTheme", "Save", "Αποθήκευση"},

    // The print dialog.
    {"QPrintDialog", "Print", "Εκτύπωση"},
    {"QPrintDialog", "&Print", "&Εκτύπωση"},
    {"QPrintDialog", "&Options >>", "&Επιλογές >>"},
    {"QPrintDialog", "&Options <<", "&Επιλογές <<"},
    {"QPrintDialog", "Print to File (PDF)", "Εκτύπωση σε αρχείο (PDF)"},
    {"QPrintDialog", "Print To File ...", "Εκτύπωση σε αρχείο..."},
    {"QPrintDialog", "Local file", "Τοπικό αρχείο"},
    {"QPrintDialog", "Write PDF file", "Εγγραφή αρχείου PDF"},
    {"QPrintDialog", "All Pages", "Όλες οι σελίδες"},
    {"QPrintDialog", "Odd Pages", "Μονές σελίδες"},
    {"QPrintDialog", "Even Pages", "Ζυγές σελίδες"},
    {"QPrintDialog", "%1 is a directory.\nPlease choose a different file name.",
     "Το %1 είναι φάκελος.\nΔώστε άλλο όνομα αρχείου."},
    {"QPrintDialog", "%1 already exists.\nDo you want to overwrite it?",
     "Το αρχείο %1 υπάρχει ήδη.\nΝα αντικατασταθεί;"},
    {"QPrintDialog", "File %1 is not writable.\nPlease choose a different file name.",
     "Δεν είναι δυνατή η εγγραφή στο αρχείο %1.\nΔώστε άλλο όνομα αρχείου."},
    {"QPrintDialog",
     "Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of "
     "those options off.",
     "Οι επιλογές «Σελίδες ανά φύλλο» και «Σελίδες» δεν συνδυάζονται.\nΑπενεργοποιήστε τη μία "
     "από τις δύο."},
    {"QPrintDialog", "Left to Right, Top to Bottom", "Από αριστερά προς τα δεξιά, από πάνω"},
    {"QPrintDialog", "Left to Right, Bottom to Top", "Από αριστερά προς τα δεξιά, από κάτω"},
    {"QPrintDialog", "Right to Left, Bottom to Top", "Από δεξιά προς τα αριστερά, από κάτω"},
    {"QPrintDialog", "Right to Left, Top to Bottom", "Από δεξιά προς τα αριστερά, από πάνω"},
    {"QPrintDialog", "Bottom to Top, Left to Right", "Από κάτω προς τα πάνω, από αριστερά"},
    {"QPrintDialog", "Bottom to Top, Right to Left", "Από κάτω προς τα πάνω, από δεξιά"},
    {"QPrintDialog", "Top to Bottom, Left to Right", "Από πάνω προς τα κάτω, από αριστερά"},
    {"QPrintDialog", "Top to Bottom, Right to Left", "Από πάνω προς τα κάτω, από δεξιά"},
    {"QPrintWidget", "Printer", "Εκτυπωτής"},
    {"QPrintWidget", "&Name:", "Ό&νομα:"},
    {"QPrintWidget", "P&roperties", "&Ιδιότητες"},
    {"QPrintWidget", "Location:", "Θέση:"},
    {"QPrintWidget", "Preview", "Προεπισκόπηση"},
    {"QPrintWidget", "Type:", "Τύπος:"},
    {"QPrintWidget", "Output &file:", "&Αρχείο:"},
    {"QPrintSettingsOutput", "Print range", "Τι θα εκτυπωθεί"},
    {"QPrintSettingsOutput", "Print all", "Όλα"},
    {"QPrintSettingsOutput", "Pages from", "Σελίδες από"},
    {"QPrintSettingsOutput", "to", "έως"},
    {"QPrintSettingsOutput", "Pages", "Σελίδες"},
    {"QPrintSettingsOutput", "Current Page", "Τρέχουσα σελίδα"},
    {"QPrintSettingsOutput", "Selection", "Επιλεγμένο κείμενο"},
    {"QPrintSettingsOutput", "Page Set:", "Ποιες σελίδες:"},
    {"QPrintSettingsOutput", "Output Settings", "Ρυθμίσεις εκτύπωσης"},
    {"QPrintSettingsOutput", "Copies:", "Αντίτυπα:"},
    {"QPrintSettingsOutput", "Collate", "Ανά αντίτυπο"},
    {"QPrintSettingsOutput", "Reverse", "Αντίστροφη σειρά"},
    {"QPrintSettingsOutput", "Copies", "Αντίτυπα"},
    {"QPrintSettingsOutput", "Color Mode", "Χρώμα"},
    {"QPrintSettingsOutput", "Color", "Έγχρωμη"},
    {"QPrintSettingsOutput", "Grayscale", "Αποχρώσεις του γκρι"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Εκτύπωση και στις δύο όψεις"},
    {"QPrintSettingsOutput", "Off", "Όχι"},
    {"QPrintSettingsOutput", "Long side binding", "Δέσιμο στη μεγάλη πλευρά"},
    {"QPrintSettingsOutput", "Short side binding", "Δέσιμο στη μικρή πλευρά"},
    {"QPrintSettingsOutput", "Options", "Επιλογές"},

    // Its page set-up ("Properties").
    {"QPrintPropertiesDialog", "Printer Properties", "Ιδιότητες εκτυπωτή"},
    {"QPrintPropertiesDialog", "Job Options", "Επιλογές εργασίας"},
    {"QPrintPropertiesWidget", "Page", "Σελίδα"},
    {"QPrintPropertiesWidget", "Advanced", "Για προχωρημένους"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     "Κάποιες επιλογές συγκρούονται μεταξύ τους. Διορθώστε τις."},
    {"QPageSetupWidget", "Paper", "Χαρτί"},
    {"QPageSetupWidget", "Page size:", "Μέγεθος σελίδας:"},
    {"QPageSetupWidget", "Width:", "Πλάτος:"},
    {"QPageSetupWidget", "Height:", "Ύψος:"},
    {"QPageSetupWidget", "Paper source:", "Τροφοδοσία χαρτιού:"},
    {"QPageSetupWidget", "Orientation", "Προσανατολισμός"},
    {"QPageSetupWidget", "Portrait", "Κατακόρυφος"},
    {"QPageSetupWidget", "Landscape", "Οριζόντιος"},
    {"QPageSetupWidget", "Reverse landscape", "Οριζόντιος ανεστραμμένος"},
    {"QPageSetupWidget", "Reverse portrait", "Κατακόρυφος ανεστραμμένος"},
    {"QPageSetupWidget", "Margins", "Περιθώρια"},
    {"QPageSetupWidget", "top margin", "πάνω περιθώριο"},
    {"QPageSetupWidget", "left margin", "αριστερό περιθώριο"},
    {"QPageSetupWidget", "right margin", "δεξί περιθώριο"},
    {"QPageSetupWidget", "bottom margin", "κάτω περιθώριο"},
    {"QPageSetupWidget", "Page Layout", "Διάταξη σελίδων"},
    {"QPageSetupWidget", "Page order:", "Σειρά σελίδων:"},
    {"QPageSetupWidget", "Pages per sheet:", "Σελίδες ανά φύλλο:"},
    {"QPageSetupWidget", "Millimeters (mm)", "Χιλιοστά (mm)"},
    {"QPageSetupWidget", "Inches (in)", "Ίντσες (in)"},
    {"QPageSetupWidget", "Points (pt)", "Στιγμές (pt)"},
    {"QPageSetupWidget", "Custom", "Άλλο μέγεθος"},
};

}  // namespace

QString GreekQtTexts::translate(const char* context, const char* sourceText,
                                const char* /*disambiguation*/, int /*n*/) const {
    if (!context || !sourceText) return {};
    for (const Text& text : kTexts)
        if (std::strcmp(text.context, context) == 0 && std::strcmp(text.english, sourceText) == 0)
            return QString::fromUtf8(text.greek);
    return {};
}

}  // namespace fee::app
