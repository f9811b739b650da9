#include "fee/calc/Statement.h"

#include <cmath>

#include "fee/calc/Pricing.h"
#include "fee/calc/Product.h"
#include "platform/Cp1253.h"

namespace fee {

namespace {
// The header, the nine category fragments in their printed places, the totals, the signature.
constexpr std::array<std::string_view, 12> fragmentOrder() {
    std::array<std::string_view, 12> order{};
    order.front() = "arxi1.dat";
    const auto categories = printedFragments();
    for (std::size_t i = 0; i < categories.size(); ++i) order[1 + i] = categories[i];
    order[10] = "synola.dat";
    order[11] = "telos.dat";
    return order;
}
}  // namespace

const std::array<std::string_view, 12> kFragmentOrder = fragmentOrder();

namespace {

constexpr std::string_view kTab = "\t";
constexpr std::string_view kEuro = "€";

// Tax rates; their sum is kept as a constant of its own because the final total is computed
// from it, not from the printed taxes (the two may differ by a cent).
constexpr double kVat = 0.18;
constexpr double kFem = 0.04;
constexpr double kTsmede = 0.03;
constexpr double kTee = 0.02;
constexpr double kAllTaxes = 0.27;

double floorCents(double value) {
    return std::floor(value * 100) / 100;
}

// Each fragment is written whole or reported.
void writeOut(DataStore& store, std::string_view job, std::string_view name, const LineWriter& w,
              std::vector<std::string>& failed) {
    if (!store.writeFragment(DataStore::jobFile(job, name), w)) failed.emplace_back(name);
}

void writeTotals(DataStore& store, std::string_view job, float grandTotal, float lambda, float fee,
                 std::vector<std::string>& failed) {
    const double f = fee;
    LineWriter w = store.writer();
    w.line(std::string(83, '-'));
    w.endLine();
    w.text("ΓΕΝΙΚΟ ΣΥΝΟΛΟ......").number(grandTotal, Width::Single).text("δρχ").endLine();
    w.line(std::string(31, '-'));
    w.text("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ = ")
        .number(grandTotal, Width::Single)
        .text(" X ")
        .number(lambda, Width::Single)
        .text(" = ")
        .number(fee, Width::Single)
        .text(kEuro)
        .endLine();
    const std::pair<std::string_view, double> taxes[] = {
        {"Φ.Π.Α. 18%     = ", kVat},
        {"Φ.Ε.Μ   4%     = ", kFem},
        {"ΤΣΜΕΔΕ  3% = ", kTsmede},
        {"T.E.E   2%     = ", kTee},
    };
    for (const auto& [label, rate] : taxes)
        w.text(kTab).text(label).number(floorCents(f * rate), Width::Double).text(kEuro).endLine();
    w.text(kTab).line(std::string(31, '-'));
    w.text(kTab)
        .text("ΣΥΝΟΛΟ.........= ")
        .number(floorCents(f * kAllTaxes + f), Width::Double)
        .text(kEuro)
        .endLine();
    w.endLine();
    writeOut(store, job, "synola.dat", w, failed);
}

void writeHeader(DataStore& store, std::string_view job, const Particulars& p, const Scale& scale,
                 float lambda, std::int16_t planFlag, std::vector<std::string>& failed) {
    LineWriter w = store.writer();
    w.text(kTab).text(kProductName).text(" ").text(versionNumber());
    for (const Author& author : kAuthors)
        w.text(" - ").text(author.name).text(", ").text(author.title);
    w.endLine();
    w.line(std::string(143, '_'));
    w.line(
        "    Οι τιμές μονάδος δίνονται απο το ΠΔ696/74  σε δραχμές. Η μετατροπή σε € γίνεται με "
        "την τιμή του συντελεστή λ");
    w.endLine();
    w.endLine();
    w.text("ΙΔΙΟΚΤΗΤΗΣ:")
        .text(p[Particulars::OwnerFirst])
        .text(" ")
        .text(p[Particulars::OwnerLast])
        .endLine();
    w.text(p[Particulars::OwnerAddress]).text(" ").text(p[Particulars::OwnerCity]).endLine();
    w.text("ΘΕΣΗ:")
        .text(p[Particulars::Location])
        .text("  Δημοτικού Διαμερίσματος ")
        .text(p[Particulars::District])
        .text(" του Δήμου ")
        .text(p[Particulars::Municipality])
        .endLine();
    w.endLine();
    w.text("\t\t\t").line("ΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΕΡΓΑΣΙΩΝ");
    w.text("\t\t\t").line(std::string(34, '='));
    w.endLine();
    w.text("Κλίμακα 1:");
    if (scale.value)
        w.number(*scale.value, Width::Double);
    else
        w.text(storableOrQuestionMarks(scale.text));
    w.endLine();
    w.text("Συντελεστής λ=").number(lambda, Width::Single).endLine();
    w.line(planFlag == 1 ? "ΠΕΡΙΟΧΗ ΕΝΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ Ή ΕΝΤΟΣ ΟΙΚΙΣΜΟY"
                         : "ΠΕΡΙΟΧΗ ΕΚΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ & ΕΚΤΟΣ ΟΙΚΙΣΜΟΥ");
    w.line(std::string(69, '_'));
    writeOut(store, job, "arxi1.dat", w, failed);
}

void writeSignature(DataStore& store, std::string_view job, const Particulars& p,
                    std::vector<std::string>& failed) {
    LineWriter w = store.writer();
    w.endLine();
    w.text(kTab).line("     O ΜΗΧΑΝΙΚΟΣ");
    for (int i = 0; i < 4; ++i) w.endLine();
    w.text("\t ")
        .text(p[Particulars::EngineerFirst])
        .text(" ")
        .text(p[Particulars::EngineerLast])
        .endLine();
    w.text("\t ").text(p[Particulars::Specialty]).endLine();
    w.text("\t ")
        .text(p[Particulars::EngineerAddress])
        .text("  ")
        .text(p[Particulars::EngineerCity])
        .endLine();
    writeOut(store, job, "telos.dat", w, failed);
}

// The statement of a job folder already found to be one.
AssemblyResult assembleJob(DataStore& store, std::string_view jobPath) {
    AssemblyResult result;
    // A coefficient that is not a positive number would print a meaningless fee as if it were
    // one; the old statement is left alone instead.
    result.lambdaProblem = store.lambdaProblem(jobPath);
    if (!result.lambdaProblem.empty()) {
        result.status = AssemblyResult::BadLambda;
        return result;
    }

    const Scale scale = readScale(store, jobPath);
    const std::int16_t planFlag = readPlanFlag(store, jobPath);
    const float lambda = readLambda(store, jobPath);

    // The grand total is a single: every addition is rounded to single precision, so above
    // 16,777,216 drachmas it keeps only every second whole number, as the printed totals do.
    float grandTotal = 0;
    const PricingInput input{store, jobPath, scale, planFlag, &result.failedFiles};
    for (const Category& category : kCategories)
        grandTotal =
            static_cast<float>(static_cast<double>(grandTotal) + pricingOf(category.id)(input));

    const float fee = static_cast<float>(
        std::floor(static_cast<double>(grandTotal) * static_cast<double>(lambda) * 100) / 100);
    writeTotals(store, jobPath, grandTotal, lambda, fee, result.failedFiles);

    Particulars particulars = store.particulars(jobPath);
    for (auto& field : particulars.fields) field = storableOrQuestionMarks(field);
    writeHeader(store, jobPath, particulars, scale, lambda, planFlag, result.failedFiles);
    writeSignature(store, jobPath, particulars, result.failedFiles);
    if (!result.failedFiles.empty()) result.status = AssemblyResult::WriteFailed;
    return result;
}

}  // namespace

AssemblyResult assembleStatement(DataStore& store) {
    const auto job = store.currentJobFolder();
    if (!job) {
        AssemblyResult result;
        result.status = AssemblyResult::NoJob;
        return result;
    }
    return assembleJob(store, *job);
}

AssemblyResult assembleStatement(DataStore& store, std::string_view jobPath) {
    if (!store.isJobFolder(jobPath)) {
        AssemblyResult result;
        result.status = AssemblyResult::NoJob;
        return result;
    }
    return assembleJob(store, jobPath);
}

std::string assemblyMessage(const AssemblyResult& result, std::string_view jobPath) {
    std::string message;
    switch (result.status) {
        case AssemblyResult::Ok:
            break;
        case AssemblyResult::NoJob:
            message =
                "Δεν έχει επιλεγεί μελέτη ή ο φάκελός της δεν υπάρχει (temp.dat). Δημιουργήστε "
                "ή επιλέξτε μια μελέτη πρώτα.";
            break;
        case AssemblyResult::BadLambda:
            message = "Ο συντελεστής λ της μελέτης δεν είναι έγκυρος (" +
                      DataStore::jobFile(jobPath, "l.dat") + ": " + result.lambdaProblem +
                      "). Ορίστε τον συντελεστή λ ξανά. Δεν υπολογίστηκε τίποτα.";
            break;
        case AssemblyResult::WriteFailed:
            message = "Δεν ήταν δυνατή η εγγραφή των αρχείων:";
            for (const auto& name : result.failedFiles)
                message += " " + DataStore::jobFile(jobPath, name);
            message +=
                ". Η κατάσταση αμοιβής δεν είναι πλήρης. Ελέγξτε τον ελεύθερο χώρο και τα "
                "δικαιώματα του φακέλου της μελέτης.";
            break;
    }
    return message;
}

std::uint64_t statementInputs(const DataStore& store, std::string_view jobPath) {
    // FNV-1a over each file's name and bytes; a missing file differs from an empty one.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    };
    const auto file = [&](std::string_view name) {
        mix(name);
        if (const auto bytes = store.fs().readFile(DataStore::jobFile(jobPath, name))) {
            mix("+");
            mix(*bytes);
        } else {
            mix("-");
        }
    };
    for (std::string_view name : {"STOIXEIA.dat", "l.dat", "entos.dat", "klimaka.dat"}) file(name);
    for (const Category& category : kCategories) file(category.input);
    return hash;
}

bool writtenAfterStatement(const DataStore& store, std::string_view jobPath) {
    const auto& fs = store.fs();
    // The closing fragment is written last: the statement is as old as it.
    const auto statement = fs.modifiedTime(DataStore::jobFile(jobPath, "telos.dat"));
    if (!statement) return false;
    const auto newer = [&](std::string_view name) {
        const auto written = fs.modifiedTime(DataStore::jobFile(jobPath, name));
        return written && *written > *statement;
    };
    for (std::string_view name : {"STOIXEIA.dat", "l.dat", "entos.dat", "klimaka.dat"})
        if (newer(name)) return true;
    for (const Category& category : kCategories)
        if (newer(category.input)) return true;
    return false;
}

StatementText loadStatement(const DataStore& store, std::string_view jobPath) {
    StatementText result;
    for (std::string_view name : kFragmentOrder) {
        auto bytes = store.fragment(DataStore::jobFile(jobPath, name));
        if (!bytes) {
            result.missing.emplace_back(name);
            continue;
        }
        const std::string text = platform::cp1253ToUtf8(*bytes);
        // Each line ends in CR LF whatever ended it in the file (CR LF, CR, LF or nothing).
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string::npos) {
                result.text.append(text, pos, std::string::npos).append("\r\n");
                break;
            }
            result.text.append(text, pos, end - pos).append("\r\n");
            pos =
                end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        }
    }
    return result;
}

}  // namespace fee
