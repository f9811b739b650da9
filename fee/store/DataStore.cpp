#include "fee/store/DataStore.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "fee/store/Categories.h"
#include "platform/Cp1253.h"

namespace fee {

const std::array<std::string_view, 6> kSpecialties = {
    "Αγρονόμος Τοπογράφος Μηχανικός", "Πολιτικός Μηχανικός",      "Αρχιτεκτονας Μηχανικός",
    "Τεχνολόγος Τοπογράφος",          "Τεχνολόγος Δομικών Έργων", "Τεχνολόγος Έργων Υποδομής",
};

int specialtyCode(std::string_view specialty) {
    for (std::size_t i = 0; i < kSpecialties.size(); ++i)
        if (kSpecialties[i] == specialty) return static_cast<int>(i) + 1;
    return 0;
}

namespace {

constexpr std::string_view kTemp = "temp.dat";
constexpr std::string_view kJobList = "Ergasies.dat";
constexpr std::string_view kJobScratch = "erga.dat";
constexpr std::string_view kSlots = "temp1.dat";
constexpr std::string_view kEngineers = "mix.dat";
constexpr std::string_view kEngineerScratch = "mix1.dat";
constexpr std::string_view kLambda = "l.dat";
constexpr std::string_view kParticulars = "STOIXEIA.dat";
constexpr std::string_view kPlan = "entos.dat";
constexpr std::string_view kSpecialty = "eid.dat";
constexpr std::string_view kScale = "klimaka.dat";
constexpr std::string_view kListLock = "dezovur.lck";

constexpr std::size_t kSlotLines = 100;

bool isBlankOrPeriod(char c) {
    return c == ' ' || c == '\t' || c == '.';
}

// Names Windows keeps for devices: a folder called "con" or "lpt1.x" cannot be made.
bool isDeviceName(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    if (stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
        stem[3] >= '1' && stem[3] <= '9')
        return true;
    return false;
}

// Every text of a record, as the list files read them: pairs for jobs, fives for engineers.
std::vector<std::string> allTexts(std::optional<FieldReader> reader) {
    std::vector<std::string> out;
    if (!reader) return out;
    while (auto t = reader->text()) out.push_back(std::move(*t));
    return out;
}

}  // namespace

bool storableText(std::string_view utf8) {
    if (utf8.find_first_of(",\"\r\n") != std::string_view::npos) return false;
    return platform::cp1253CanEncode(utf8);
}

std::string storableOrQuestionMarks(std::string_view utf8) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        // One character: its lead byte tells how many bytes it has.
        const auto lead = static_cast<unsigned char>(utf8.front());
        std::size_t n = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 1;
        n = std::min(n, utf8.size());
        const std::string_view ch = utf8.substr(0, n);
        utf8.remove_prefix(n);
        if (ch == kReplacement || !platform::cp1253CanEncode(ch))
            out += '?';
        else
            out.append(ch);
    }
    return out;
}

bool validFolderName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) return false;
        if (std::string_view("\\/:*?<>|\"").find(c) != std::string_view::npos) return false;
    }
    // Windows drops trailing blanks and periods, so "Α." would land in the folder "Α"
    // (and "." or ".." somewhere else entirely).
    if (isBlankOrPeriod(name.back())) return false;
    if (std::all_of(name.begin(), name.end(), isBlankOrPeriod)) return false;
    if (isDeviceName(name)) return false;
    return platform::cp1253CanEncode(name);
}

bool validOwnerName(const JobName& name) {
    const auto startsBlank = [](std::string_view text) {
        return !text.empty() && (text.front() == ' ' || text.front() == '\t');
    };
    return !startsBlank(name.first) && !startsBlank(name.last) &&
           validFolderName(name.folderName());
}

DataStore::DataStore(platform::FileSystem& fs, std::string decimalSeparator, std::string dataFolder)
    : fs_(fs), separator_(std::move(decimalSeparator)), dataFolder_(std::move(dataFolder)) {
    if (dataFolder_.empty() || dataFolder_.back() != '\\') dataFolder_ += '\\';
}

bool DataStore::ensureDataFolder() {
    // Only the default folder is made from nothing; a folder chosen for the program exists.
    constexpr std::string_view programFiles = "c:\\program files";
    if (dataFolder_ == kDataFolder && !fs_.isDirectory(programFiles) &&
        !fs_.createDirectory(programFiles))
        return false;
    if (!fs_.isDirectory(dataFolder_) && !fs_.createDirectory(dataFolder_)) return false;
    bool ok = true;
    const auto create = [&](std::string_view name, std::string_view bytes) {
        const std::string path = dataFile(name);
        if (!fs_.exists(path)) ok = fs_.writeFile(path, bytes) && ok;
    };
    create(kJobList, "");
    create(kEngineers, "");
    create(kLambda, listStyle(kStartingLambdaStored) + "\r\n");
    return ok;
}

std::string DataStore::dataFile(std::string_view name) const {
    return dataFolder_ + std::string(name);
}

std::string DataStore::jobFile(std::string_view jobPath, std::string_view name) {
    return std::string(jobPath) + "\\" + std::string(name);
}

std::optional<FieldReader> DataStore::reader(std::string_view winPath) const {
    auto bytes = fs_.readFile(winPath);
    if (!bytes) return std::nullopt;
    return FieldReader(platform::cp1253ToUtf8(*bytes));
}

bool DataStore::write(std::string_view winPath, const LineWriter& lines) {
    auto bytes = lines.bytes();
    if (!bytes) return false;
    return fs_.writeFileDurably(winPath, *bytes);
}

bool DataStore::writeFragment(std::string_view winPath, const LineWriter& lines) {
    auto bytes = lines.bytes();
    if (!bytes) return false;
    if (!fs_.writeFile(winPath, *bytes)) return false;
    if (keepWritten_) {
        const auto same = [&](const auto& kept) { return kept.first == winPath; };
        std::erase_if(written_, same);
        written_.emplace_back(std::string(winPath), std::move(*bytes));
    }
    return true;
}

std::optional<std::string> DataStore::fragment(const std::string& winPath) const {
    for (const auto& [path, bytes] : written_)
        if (path == winPath) return bytes;
    return fs_.readFile(winPath);
}

std::unique_ptr<platform::FileSystem::Lock> DataStore::lockLists() const {
    return fs_.lockExclusive(dataFile(kListLock));
}

// --- current job -------------------------------------------------------------------------

std::optional<std::string> DataStore::currentJob() const {
    auto r = reader(dataFile(kTemp));
    if (!r) return std::nullopt;
    return r->text();
}

std::optional<std::string> DataStore::currentJobFolder() const {
    auto path = currentJob();
    if (!path || !isJobFolder(*path)) return std::nullopt;
    return path;
}

bool DataStore::isJobFolder(std::string_view path) const {
    if (path.size() <= dataFolder_.size()) return false;
    // The data folder as the program writes it; its letters in any case, as Windows reads it.
    const auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    for (std::size_t i = 0; i < dataFolder_.size(); ++i)
        if (lower(path[i]) != lower(dataFolder_[i])) return false;
    // validFolderName refuses separators, so the job is one level down and no ".." climbs.
    if (!validFolderName(path.substr(dataFolder_.size()))) return false;
    return fs_.isDirectory(path) && !fs_.isLink(path);
}

bool DataStore::setCurrentJob(std::string_view jobPath) {
    if (!storableText(jobPath)) return false;
    return write(dataFile(kTemp), writer().line(jobPath));
}

std::string DataStore::jobPath(const JobName& name) const {
    return dataFolder_ + name.folderName();
}

// --- job list ----------------------------------------------------------------------------

namespace {

std::vector<JobName> pairsOf(const std::vector<std::string>& texts) {
    std::vector<JobName> jobs;
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2) jobs.push_back({texts[i], texts[i + 1]});
    return jobs;
}

}  // namespace

std::vector<JobName> DataStore::listJobs() const {
    return pairsOf(allTexts(reader(dataFile(kJobList))));
}

namespace {

// Both list files end up with the same pairs: the scratch copy first, so a failure there
// leaves the job list as it was.
StoreStatus rewriteJobList(DataStore& store, const std::vector<JobName>& jobs) {
    LineWriter lines = store.writer();
    for (const auto& job : jobs) lines.line(job.first).line(job.last);
    // Only a damaged list (bytes the code page leaves undefined) can fail to encode here.
    if (!lines.bytes()) return StoreStatus::IoError;
    if (!store.write(store.dataFile(kJobScratch), lines)) return StoreStatus::IoError;
    if (!store.write(store.dataFile(kJobList), lines)) return StoreStatus::IoError;
    return StoreStatus::Ok;
}

}  // namespace

StoreStatus DataStore::appendJob(const JobName& name) {
    if (!storableText(name.first) || !storableText(name.last)) return StoreStatus::BadText;
    if (!validOwnerName(name)) return StoreStatus::BadFolderName;
    const auto lock = lockLists();
    if (!lock) return StoreStatus::IoError;
    // A dangling half pair at the end would pair itself with the new first name and shift
    // the new job out of step; it is dropped (listing ignores it anyway).
    std::vector<JobName> jobs = listJobs();
    jobs.push_back(name);
    return rewriteJobList(*this, jobs);
}

StoreStatus DataStore::removeJob(std::string_view folderPath) {
    const auto lock = lockLists();
    if (!lock) return StoreStatus::IoError;
    if (!fs_.exists(dataFile(kJobList))) return StoreStatus::Ok;
    std::vector<JobName> jobs = listJobs();
    std::erase_if(jobs, [&](const JobName& job) { return jobPath(job) == folderPath; });
    return rewriteJobList(*this, jobs);
}

std::pair<std::vector<JobName>, bool> DataStore::listJobsIntoSlots() {
    const auto lock = lockLists();
    std::vector<JobName> jobs = listJobs();
    const bool written = lock && writeJobSlots(jobs);
    return {std::move(jobs), written};
}

bool DataStore::writeJobSlots(const std::vector<JobName>& jobs) {
    // Beyond 100 jobs every job still gets its line, so every entry of the list can be chosen.
    LineWriter lines = writer();
    for (const auto& job : jobs) lines.line(job.folderName());
    for (std::size_t i = jobs.size(); i < kSlotLines; ++i) lines.line(" ");
    return write(dataFile(kSlots), lines);
}

std::optional<std::string> DataStore::jobSlot(std::size_t index) const {
    auto r = reader(dataFile(kSlots));
    if (!r) return std::nullopt;
    for (std::size_t i = 0; i < index; ++i)
        if (!r->text()) return std::nullopt;
    return r->text();
}

// --- engineer list -----------------------------------------------------------------------

namespace {
constexpr std::size_t kEngineerLines = 5;
}

StoreStatus DataStore::appendEngineer(const Engineer& e) {
    for (const auto* t : {&e.first, &e.last, &e.address, &e.city, &e.specialty})
        if (!storableText(*t)) return StoreStatus::BadText;

    const auto lock = lockLists();
    if (!lock) return StoreStatus::IoError;
    const std::vector<std::string> texts = allTexts(reader(dataFile(kEngineers)));
    // The scratch copy keeps the old list exactly, incomplete last record included.
    LineWriter scratch = writer();
    for (const auto& t : texts) scratch.line(t);
    if (!write(dataFile(kEngineerScratch), scratch)) return StoreStatus::IoError;

    // The list itself keeps whole records only, so the new engineer is not read out of step.
    LineWriter lines = writer();
    const std::size_t whole = texts.size() - texts.size() % kEngineerLines;
    for (std::size_t i = 0; i < whole; ++i) lines.line(texts[i]);
    lines.line(e.first).line(e.last).line(e.address).line(e.city).line(e.specialty);
    if (!write(dataFile(kEngineers), lines)) return StoreStatus::IoError;
    return StoreStatus::Ok;
}

std::vector<Engineer> DataStore::listEngineers() const {
    const std::vector<std::string> texts = allTexts(reader(dataFile(kEngineers)));
    std::vector<Engineer> out;
    for (std::size_t i = 0; i + kEngineerLines <= texts.size(); i += kEngineerLines)
        out.push_back({texts[i], texts[i + 1], texts[i + 2], texts[i + 3], texts[i + 4]});
    return out;
}

// --- jobs --------------------------------------------------------------------------------

StoreStatus DataStore::createJob(const Particulars& p) {
    for (const auto& field : p.fields)
        if (!storableText(field)) return StoreStatus::BadText;
    const JobName name{p[Particulars::OwnerFirst], p[Particulars::OwnerLast]};
    if (!validOwnerName(name)) return StoreStatus::BadFolderName;
    const std::string path = jobPath(name);
    // Another job's folder would be overwritten: its particulars, λ and quantities lost.
    if (fs_.exists(path)) return StoreStatus::FolderExists;
    if (!fs_.isDirectory(dataFolder_)) return StoreStatus::IoError;

    if (const StoreStatus s = appendJob(name); s != StoreStatus::Ok) return s;
    if (!fs_.createDirectory(path)) {
        // No folder, so no job: its entry goes again (whatever others added meanwhile stays).
        removeJob(path);
        return StoreStatus::IoError;
    }
    if (!setCurrentJob(path)) return StoreStatus::IoError;

    LineWriter particulars = writer();
    for (const auto& field : p.fields) particulars.line(field);
    if (!write(jobFile(path, kParticulars), particulars)) return StoreStatus::IoError;

    double lambdaStored = kStartingLambdaStored;
    if (auto r = reader(dataFile(kLambda)))
        if (auto v = r->number()) lambdaStored = *v;
    if (!write(jobFile(path, kLambda), writer().line(listStyle(lambdaStored))))
        return StoreStatus::IoError;

    if (!write(jobFile(path, kPlan), writer().number(1.0, Width::Int16).endLine()))
        return StoreStatus::IoError;
    const double code = specialtyCode(p[Particulars::Specialty]);
    if (!write(jobFile(path, kSpecialty), writer().number(code, Width::Int16).endLine()))
        return StoreStatus::IoError;
    return StoreStatus::Ok;
}

StoreStatus DataStore::deleteJob(std::string_view path) {
    // Only a folder directly inside the data folder: a damaged temp.dat must not send the
    // deletion anywhere else, least of all to the data folder itself.
    if (path.size() <= dataFolder_.size() || path.substr(0, dataFolder_.size()) != dataFolder_)
        return StoreStatus::BadFolderName;
    if (!validFolderName(path.substr(dataFolder_.size()))) return StoreStatus::BadFolderName;
    // A folder already gone leaves only its list entries to drop; otherwise they could
    // never be removed, since no window can open a job without its folder.
    if (!fs_.exists(path)) return removeJob(path);
    if (!fs_.isDirectory(path)) return StoreStatus::NoJob;

    // A folder that is a link leads elsewhere; its files are not this job's to delete.
    if (fs_.isLink(path)) return StoreStatus::IoError;

    for (const auto& file : fs_.list(path, "*.*")) fs_.removeFile(jobFile(path, file));
    if (!fs_.removeDirectory(path)) return StoreStatus::IoError;
    return removeJob(path);
}

Particulars DataStore::particulars(std::string_view jobPath) const {
    Particulars p;
    auto r = reader(jobFile(jobPath, kParticulars));
    if (!r) return p;
    for (auto& field : p.fields) {
        auto t = r->text();
        if (!t) break;
        field = std::move(*t);
    }
    return p;
}

std::string DataStore::lambdaProblem(std::string_view jobPath) const {
    auto r = reader(jobFile(jobPath, kLambda));
    if (!r) return "το αρχείο λείπει ή δεν διαβάζεται";
    const auto field = r->text();
    if (!field) return "το αρχείο είναι κενό";
    const auto v = parseFieldNumber(*field);
    if (!v) return "η τιμή δεν είναι αριθμός";
    const float lambda = static_cast<float>(*v) / 100000.0f;
    if (std::isnan(lambda)) return "η τιμή δεν είναι αριθμός";
    if (std::isinf(lambda)) return "η τιμή είναι άπειρη";
    if (lambda == 0.0f) return "η τιμή είναι μηδέν";
    if (lambda < 0.0f) return "η τιμή είναι αρνητική";
    return {};
}

std::optional<float> DataStore::lambda(std::string_view jobPath) const {
    auto r = reader(jobFile(jobPath, kLambda));
    if (!r) return std::nullopt;
    auto v = r->single();
    if (!v) return std::nullopt;
    return *v / 100000.0f;
}

bool DataStore::saveLambda(std::string_view jobPath, double lambda) {
    if (!std::isfinite(lambda) || lambda <= 0.0) return false;
    const double stored = roundHalfEven(lambda * 100000.0);
    if (!(stored > 0.0) || !std::isfinite(stored)) return false;
    const LineWriter lines = writer().number(stored, Width::Double).endLine();
    // The default changes only once the job itself holds the new value.
    if (!write(jobFile(jobPath, kLambda), lines)) return false;
    return write(dataFile(kLambda), lines);
}

std::optional<std::int16_t> DataStore::planFlag(std::string_view jobPath) const {
    auto r = reader(jobFile(jobPath, kPlan));
    if (!r) return std::nullopt;
    return r->int16();
}

bool DataStore::setPlanFlag(std::string_view jobPath, bool inside) {
    return write(jobFile(jobPath, kPlan),
                 writer().number(inside ? 1.0 : 0.0, Width::Int16).endLine());
}

std::optional<std::int16_t> DataStore::specialty(std::string_view jobPath) const {
    auto r = reader(jobFile(jobPath, kSpecialty));
    if (!r) return std::nullopt;
    return r->int16();
}

std::optional<std::string> DataStore::scaleText(std::string_view jobPath) const {
    auto r = reader(jobFile(jobPath, kScale));
    if (!r) return std::nullopt;
    return r->text();
}

bool DataStore::setScaleText(std::string_view jobPath, std::string_view text) {
    const std::string stored = storableOrQuestionMarks(text);
    if (!storableText(stored)) return false;
    return write(jobFile(jobPath, kScale), writer().line(stored));
}

std::vector<double> DataStore::quantities(std::string_view jobPath, std::string_view file,
                                          int count) const {
    std::vector<double> values(static_cast<std::size_t>(std::max(count, 0)), 0.0);
    auto r = reader(jobFile(jobPath, file));
    if (!r) return values;
    for (auto& v : values) {
        auto n = r->number();
        if (!n) break;
        v = *n;
    }
    return values;
}

bool DataStore::writeQuantities(std::string_view jobPath, std::string_view file,
                                const std::vector<double>& values, Width width) {
    LineWriter lines = writer();
    for (double v : values) lines.number(v, width).endLine();
    return write(jobFile(jobPath, file), lines);
}

void DataStore::finish(std::string_view jobPath) {
    // klimaka.dat comes last, on its own terms.
    for (const Category& category : kCategories)
        writeQuantities(jobPath, category.input,
                        quantities(jobPath, category.input, category.fields), Width::Double);
    const double scale = quantities(jobPath, kScale, 1).front();
    if (scale > 0.0)
        writeQuantities(jobPath, kScale, {scale}, Width::Double);
    else
        writeQuantities(jobPath, kScale, {200.0}, Width::Int16);
}

}  // namespace fee
