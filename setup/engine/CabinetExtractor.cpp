#include "setup/engine/CabinetExtractor.h"

#include <mspack.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <set>
#include <ctime>
#include <list>
#include <memory>
#include <vector>

#include "platform/Cp1253.h"
#include "setup/config/ExitStatus.h"
#include "setup/engine/MemberWriter.h"

namespace setup {
namespace {

// libmspack passes our own mspack_system back to open(); everything else it hands a file, so
// each file carries the context too.
struct Context;

// libmspack reads a cabinet's headers a few bytes at a time and asks where it is after each,
// so a cabinet is read through a buffer. Members are handed to the member writer.
constexpr std::size_t kReadBuffer = 65536;

struct MsFile {
    std::unique_ptr<platform::File> file;  // none for a member: the writer has it
    Context* context = nullptr;
    bool member = false;  // opened for writing: an extracted member
    std::int64_t written = 0;
    // Reading: the file's own position is bufferStart + bufferLength, libmspack's is
    // bufferStart + bufferPos.
    std::vector<char> buffer;
    std::int64_t bufferStart = 0;
    std::size_t bufferLength = 0;
    std::size_t bufferPos = 0;
};

struct Context {
    mspack_system sys{};  // first member: libmspack's self pointer is the context
    platform::FileSystem* files = nullptr;
    const std::atomic<bool>* stop = nullptr;
    std::string libraryMessage;  // the last thing the library said
    unsigned char head[4] = {};  // the member's first bytes, to recognise a host program
    std::int64_t headSize = 0;
    MemberWriter* writer = nullptr;
    std::string shown;  // the member being extracted, as stored
    // The library reads a cabinet's headers, closes it, and opens it again to unpack it: the
    // second reading takes the first one's buffer, whose memory is already in place.
    std::vector<char> spareBuffer;
};

thread_local Context* tCurrent = nullptr;

bool isHostProgram(const Context& ctx) {
    const bool elf = ctx.headSize == 4 && std::memcmp(ctx.head,
                                                      "\x7f"
                                                      "ELF",
                                                      4) == 0;
    const bool script = ctx.headSize >= 2 && ctx.head[0] == '#' && ctx.head[1] == '!';
    return elf || script;
}

mspack_file* sysOpen(mspack_system* self, const char* name, int mode) {
    auto* ctx = reinterpret_cast<Context*>(self);
    platform::FileSystem::OpenMode how = platform::FileSystem::OpenMode::Read;
    if (mode == MSPACK_SYS_OPEN_WRITE) how = platform::FileSystem::OpenMode::Write;
    if (mode == MSPACK_SYS_OPEN_UPDATE) how = platform::FileSystem::OpenMode::ReadWrite;
    if (mode == MSPACK_SYS_OPEN_APPEND) return nullptr;  // never asked for by the cabinet reader
    auto* handle = new MsFile;
    handle->context = ctx;
    if (how == platform::FileSystem::OpenMode::Write) {
        // After a member failed, the extraction has failed: no more are begun.
        if (ctx->writer->failed()) {
            delete handle;
            return nullptr;
        }
        ctx->writer->begin(name, ctx->shown);
        handle->member = true;
        return reinterpret_cast<mspack_file*>(handle);
    }
    handle->file = ctx->files->open(name, how);
    if (!handle->file) {
        delete handle;
        return nullptr;
    }
    if (how == platform::FileSystem::OpenMode::Read) {
        handle->buffer.swap(ctx->spareBuffer);
        handle->buffer.resize(kReadBuffer);
    }
    return reinterpret_cast<mspack_file*>(handle);
}

// A member is finished, or discarded, once the library says whether it extracted it whole.
void sysClose(mspack_file* file) {
    auto* handle = reinterpret_cast<MsFile*>(file);
    if (handle && handle->context && handle->context->spareBuffer.empty())
        handle->context->spareBuffer.swap(handle->buffer);
    delete handle;
}

int sysRead(mspack_file* file, void* buffer, int bytes) {
    auto* handle = reinterpret_cast<MsFile*>(file);
    if (!handle || bytes < 0) return -1;
    auto* into = static_cast<char*>(buffer);
    const auto wanted = static_cast<std::size_t>(bytes);
    std::size_t total = 0;
    // A short read means the end of the file to libmspack, so fill the request.
    while (total < wanted) {
        if (handle->bufferPos < handle->bufferLength) {
            const std::size_t n =
                std::min(wanted - total, handle->bufferLength - handle->bufferPos);
            std::memcpy(into + total, handle->buffer.data() + handle->bufferPos, n);
            handle->bufferPos += n;
            total += n;
            continue;
        }
        handle->bufferStart += static_cast<std::int64_t>(handle->bufferLength);
        handle->bufferLength = handle->bufferPos = 0;
        const bool straight = wanted - total >= handle->buffer.size();
        char* to = straight ? into + total : handle->buffer.data();
        const std::int64_t n =
            handle->file->read(to, straight ? wanted - total : handle->buffer.size());
        if (n < 0) return -1;
        if (n == 0) break;
        if (straight) {
            handle->bufferStart += n;
            total += static_cast<std::size_t>(n);
        } else {
            handle->bufferLength = static_cast<std::size_t>(n);
        }
    }
    return static_cast<int>(total);
}

int sysWrite(mspack_file* file, void* buffer, int bytes) {
    auto* handle = reinterpret_cast<MsFile*>(file);
    if (!handle || bytes < 0) return -1;
    const std::atomic<bool>* stop = handle->context->stop;
    if (stop && stop->load(std::memory_order_relaxed)) return -1;
    const auto* data = static_cast<const unsigned char*>(buffer);
    Context* ctx = handle->context;
    for (int i = 0; handle->written + i < 4 && i < bytes; ++i) {
        ctx->head[handle->written + i] = data[i];
        ctx->headSize = handle->written + i + 1;
    }
    if (!handle->member || ctx->writer->failed()) return -1;
    ctx->writer->write(buffer, static_cast<std::size_t>(bytes));
    handle->written += bytes;
    return bytes;
}

off_t sysTell(mspack_file* file) {
    auto* handle = reinterpret_cast<MsFile*>(file);
    if (!handle) return -1;
    if (handle->member) return static_cast<off_t>(handle->written);
    return static_cast<off_t>(handle->bufferStart + static_cast<std::int64_t>(handle->bufferPos));
}

int sysSeek(mspack_file* file, off_t offset, int mode) {
    auto* handle = reinterpret_cast<MsFile*>(file);
    if (!handle) return -1;
    using W = platform::File::Whence;
    if (handle->member) return -1;  // a member is only ever written straight through
    std::int64_t target = 0;
    if (mode == MSPACK_SYS_SEEK_END) {
        if (!handle->file->seek(offset, W::End)) return -1;
        target = handle->file->tell();
        if (target < 0) return -1;
        handle->bufferStart = target;
        handle->bufferLength = handle->bufferPos = 0;
        return 0;
    }
    target = offset + (mode == MSPACK_SYS_SEEK_CUR ? sysTell(file) : 0);
    if (target < 0) return -1;
    // Within what the buffer holds: no call at all.
    const std::int64_t into = target - handle->bufferStart;
    if (into >= 0 && into <= static_cast<std::int64_t>(handle->bufferLength)) {
        handle->bufferPos = static_cast<std::size_t>(into);
        return 0;
    }
    if (!handle->file->seek(target, W::Start)) return -1;
    handle->bufferStart = target;
    handle->bufferLength = handle->bufferPos = 0;
    return 0;
}

void sysMessage(mspack_file* file, const char* format, ...) {
    Context* ctx = file ? reinterpret_cast<MsFile*>(file)->context : tCurrent;
    if (!ctx) return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ctx->libraryMessage = text;
}

void* sysAlloc(mspack_system*, size_t bytes) {
    return std::malloc(bytes);
}
void sysFree(void* p) {
    std::free(p);
}
void sysCopy(void* from, void* to, size_t bytes) {
    std::memmove(to, from, bytes);
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms (a hidden "/" or "."), surrogates and values past Unicode are refused.
        static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        // C1 control characters.
        if (cp >= 0x80 && cp <= 0x9F) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string reasonFor(int error) {
    switch (error) {
        case MSPACK_ERR_OPEN:
            return "a file could not be opened";
        case MSPACK_ERR_READ:
            return "truncated data: the cabinet ends before its data does";
        case MSPACK_ERR_WRITE:
            return "the member could not be written";
        case MSPACK_ERR_SEEK:
            return "truncated data: an offset lies past the end of the cabinet";
        case MSPACK_ERR_NOMEMORY:
            return "out of memory";
        case MSPACK_ERR_SIGNATURE:
            return "not a cabinet";
        case MSPACK_ERR_DATAFORMAT:
            return "damaged cabinet structure";
        case MSPACK_ERR_CHECKSUM:
            return "bad checksum";
        case MSPACK_ERR_DECRUNCH:
            return "the compressed data is damaged";
        default:
            return "error " + std::to_string(error);
    }
}

// A stored name as it may be shown: bytes that are not printable ASCII as \xNN.
std::string printable(std::string_view raw) {
    std::string text;
    for (const char ch : raw) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F) {
            text += ch;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        }
    }
    return text;
}

std::string folderOf(std::string_view path) {
    const auto slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string joinFolder(std::string_view folder, std::string_view name) {
    std::string result(folder);
    if (!result.empty() && result.back() != '\\') result += '\\';
    return result + std::string(name);
}

// The decompressor and the cabinets opened, released together. Closing one cabinet of a
// joined set closes the whole set, so a part joined to it is no longer listed on its own.
struct Session {
    mscab_decompressor* cab = nullptr;
    std::vector<mscabd_cabinet*> opened;
    ~Session() {
        if (!cab) return;
        for (mscabd_cabinet* c : opened) cab->close(cab, c);
        mspack_destroy_cab_decompressor(cab);
    }
};

std::string failure(std::string_view headline, std::string_view cabinet, std::string_view detail) {
    std::string text(headline);
    text += "\r\n";
    text += cabinet;
    if (!detail.empty()) {
        text += "\r\n";
        text += detail;
    }
    return text;
}

}  // namespace

std::string memberFileName(std::string_view stored, bool utf8) {
    if (stored.empty()) return {};
    std::string name;
    if (utf8) {
        if (!validUtf8(stored)) return {};
        name = std::string(stored);
    } else {
        name = platform::cp1253ToUtf8(stored);
        if (name.find("\xEF\xBF\xBD") != std::string::npos) return {};  // a byte with no letter
    }
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) return {};
        if (std::strchr("\\/:*?\"<>|", ch)) return {};
    }
    // Windows drops trailing blanks and periods: "." and ".." and "..." name the folder itself.
    const auto last = name.find_last_not_of(" .");
    if (last == std::string::npos) return {};
    // "CON", "nul.txt", "com1 .log": devices to Windows, so no file of a package.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const std::set<std::string> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5",  "COM6",   "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7",  "LPT8",   "LPT9",
        "CONIN$", "CONOUT$"};
    if (kDevices.count(stem)) return {};
    return name;
}

std::int64_t dosLocalTimeToUnix(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&t));
}

ExtractionResult CabinetExtractor::extract(std::string_view cabinetPath,
                                           std::string_view destinationPrefix,
                                           std::string_view setupFolder,
                                           const std::atomic<bool>* stop) {
    ExtractionResult result;
    const std::string cabinet(cabinetPath);
    Context ctx;
    ctx.sys = {sysOpen,    sysClose, sysRead, sysWrite, sysSeek, sysTell,
               sysMessage, sysAlloc, sysFree, sysCopy,  nullptr};
    ctx.files = &files_;
    ctx.stop = stop;
    tCurrent = &ctx;
    struct ClearCurrent {
        ~ClearCurrent() { tCurrent = nullptr; }
    } clearCurrent;

    Session session;
    session.cab = mspack_create_cab_decompressor(&ctx.sys);
    if (!session.cab) {
        result.message = failure(kMsgNoContext, cabinet, "the cabinet library could not start");
        return result;
    }
    mscab_decompressor* d = session.cab;
    // Larger input reads than the library's default: fewer calls for the same data.
    d->set_param(d, MSCABD_PARAM_DECOMPBUF, 65536);

    {
        auto probe = files_.open(cabinet, platform::FileSystem::OpenMode::Read);
        if (!probe) {
            result.message = failure(kMsgCannotOpen, cabinet, "the cabinet cannot be opened");
            return result;
        }
        char signature[4] = {};
        if (probe->read(signature, 4) != 4 || std::memcmp(signature, "MSCF", 4) != 0) {
            result.message = failure(kMsgNotCabinet, cabinet, "");
            return result;
        }
    }

    mscabd_cabinet* first = d->open(d, cabinet.c_str());
    if (!first) {
        const int error = d->last_error(d);
        result.message = failure(error == MSPACK_ERR_SIGNATURE ? kMsgNotCabinet : kMsgCopyFailed,
                                 cabinet, reasonFor(error));
        return result;
    }
    session.opened.push_back(first);

    // The other parts of a set, beside this cabinet or in the setup folder.
    // libmspack keeps the name pointers it was opened with, so the names must stay put.
    std::list<std::string> partPaths{cabinet};
    auto lookFor = [&](const std::string& name) -> std::string {
        for (const std::string& folder : {folderOf(cabinet), std::string(setupFolder)}) {
            if (folder.empty()) continue;
            std::string candidate = joinFolder(folder, name);
            if (files_.exists(candidate)) return candidate;
        }
        return {};
    };
    auto locatePart = [&](const char* storedName, std::string& found) -> ExtractionResult::Outcome {
        const std::string name = memberFileName(storedName ? storedName : "", false);
        if (name.empty()) return ExtractionResult::Outcome::Failed;
        found = lookFor(name);
        if (!found.empty()) return ExtractionResult::Outcome::Done;
        std::string question(kMsgNextDisk);
        question.replace(question.find("%s"), 2, joinFolder(setupFolder, name));
        if (prompter_.okCancel(question, title_) != Answer::Ok)
            return ExtractionResult::Outcome::Cancelled;
        // Looked for once more after OK; still missing is a failure, not another question.
        found = lookFor(name);
        if (!found.empty()) return ExtractionResult::Outcome::Done;
        found = joinFolder(setupFolder, name);
        return ExtractionResult::Outcome::Failed;
    };
    auto joinPart = [&](mscabd_cabinet* anchor, bool forward) -> bool {
        const char* storedName = forward ? anchor->nextname : anchor->prevname;
        std::string path;
        const auto outcome = locatePart(storedName, path);
        if (outcome == ExtractionResult::Outcome::Cancelled) {
            result.outcome = outcome;
            result.message = "cancelled";
            return false;
        }
        const std::string label = storedName ? storedName : "";
        if (outcome == ExtractionResult::Outcome::Failed) {
            result.message =
                failure(kMsgCopyFailed, cabinet,
                        "part of the cabinet set is missing: " + (path.empty() ? label : path));
            return false;
        }
        for (const std::string& seen : partPaths) {
            if (files_.hostPath(seen) == files_.hostPath(path)) {
                result.message =
                    failure(kMsgCopyFailed, cabinet, "the cabinet set names a part twice: " + path);
                return false;
            }
        }
        partPaths.push_back(path);
        mscabd_cabinet* part = d->open(d, partPaths.back().c_str());
        if (!part) {
            result.message =
                failure(kMsgCopyFailed, cabinet, path + ": " + reasonFor(d->last_error(d)));
            return false;
        }
        session.opened.push_back(part);
        const int error = forward ? d->append(d, anchor, part) : d->prepend(d, anchor, part);
        if (error == MSPACK_ERR_OK) session.opened.pop_back();
        if (error != MSPACK_ERR_OK) {
            result.message =
                failure(kMsgCopyFailed, cabinet,
                        path + ": does not continue this cabinet set (" + reasonFor(error) + ")");
            return false;
        }
        return true;
    };
    mscabd_cabinet* head = first;
    while (head->flags & MSCAB_HDR_PREVCAB) {
        if (!joinPart(head, false)) return result;
        head = head->prevcab;
    }
    for (mscabd_cabinet* tail = first; tail->flags & MSCAB_HDR_NEXTCAB; tail = tail->nextcab) {
        if (!joinPart(tail, true)) return result;
    }

    // Everything refused is refused before anything is written.
    for (mscabd_folder* folder = head->folders; folder; folder = folder->next) {
        const int method = MSCABD_COMP_METHOD(folder->comp_type);
        if (method > MSCAB_COMP_LZX) {
            result.message =
                failure(kMsgCopyFailed, cabinet,
                        "unsupported compression (method " + std::to_string(method) + ")");
            return result;
        }
    }
    std::vector<std::string> names;
    for (mscabd_file* f = head->files; f; f = f->next) {
        const std::string name = memberFileName(f->filename ? f->filename : "",
                                                (f->attribs & MSCAB_ATTRIB_UTF_NAME) != 0);
        if (name.empty()) {
            result.message =
                failure(kMsgCopyFailed, cabinet,
                        "refused member name \"" + printable(f->filename ? f->filename : "") +
                            "\": a member must be a plain file name");
            return result;
        }
        names.push_back(std::string(destinationPrefix) + name);
    }

    // Members of one cabinet mostly share a few dates; each conversion reads the time zone.
    struct {
        std::int64_t of(int y, int mo, int d, int h, int mi, int s) {
            const std::array<int, 6> date{y, mo, d, h, mi, s};
            if (date != last) {
                last = date;
                seconds = dosLocalTimeToUnix(y, mo, d, h, mi, s);
            }
            return seconds;
        }
        std::array<int, 6> last{-1};
        std::int64_t seconds = 0;
    } localTime;

    MemberWriter writer(files_);
    ctx.writer = &writer;
    std::size_t index = 0;
    // A failed, stopped or cancelled extraction leaves nothing of its cabinet behind: the
    // members written so far go (after the writer has finished with them).
    struct RemoveUnlessDone {
        ~RemoveUnlessDone() {
            if (result.outcome == ExtractionResult::Outcome::Done) return;
            writer.drain();
            for (std::size_t i = 0; i <= index && i < names.size(); ++i) files.removeFile(names[i]);
        }
        const ExtractionResult& result;
        MemberWriter& writer;
        const std::vector<std::string>& names;
        const std::size_t& index;
        platform::FileSystem& files;
    } removeUnlessDone{result, writer, names, index, files_};
    // The first member the writer could not write, once it has written all it was given.
    auto writerFailure = [&]() -> bool {
        writer.drain();
        const auto failed = writer.failure();
        if (!failed) return false;
        result.message = failure(
            kMsgCopyFailed, cabinet,
            failed->member + ": " + reasonFor(failed->atOpen ? MSPACK_ERR_OPEN : MSPACK_ERR_WRITE));
        return true;
    };

    for (mscabd_file* f = head->files; f; f = f->next, ++index) {
        const std::string& target = names[index];
        if (stop && stop->load()) {
            result.outcome = ExtractionResult::Outcome::Stopped;
            return result;
        }
        ctx.libraryMessage.clear();
        ctx.headSize = 0;
        ctx.shown = f->filename;
        const std::int64_t modified =
            localTime.of(f->date_y, f->date_m, f->date_d, f->time_h, f->time_m, f->time_s);
        const auto attributes = static_cast<std::uint32_t>(f->attribs) & 0x27;
        const int error = d->extract(d, f, target.c_str());
        if (error != MSPACK_ERR_OK) {
            writer.discard();
            if (writerFailure()) return result;
            if (stop && stop->load()) {
                result.outcome = ExtractionResult::Outcome::Stopped;
                return result;
            }
            std::string detail = std::string(f->filename) + ": " + reasonFor(error);
            if (!ctx.libraryMessage.empty()) detail += " (" + ctx.libraryMessage + ")";
            result.message = failure(kMsgCopyFailed, cabinet, detail);
            return result;
        }
        writer.finish(modified, attributes, isHostProgram(ctx));
    }
    if (writerFailure()) return result;
    result.members = writer.membersWritten();
    result.outcome = ExtractionResult::Outcome::Done;
    result.written = std::move(names);
    return result;
}

void removeUnpacked(platform::FileSystem& files, std::vector<std::string>& unpacked) {
    for (const std::string& path : unpacked) files.removeFile(path);
    unpacked.clear();
}

int extractPackage(platform::FileSystem& files, Prompter& prompter, const PackageCabinets& where,
                   std::string_view title, std::vector<std::string>* unpacked) {
    std::vector<std::string> ownList;
    std::vector<std::string>& written = unpacked ? *unpacked : ownList;
    if (!where.extractionFolder.empty() && !files.isDirectory(where.extractionFolder))
        files.createDirectory(where.extractionFolder);
    CabinetExtractor extractor(files, prompter, std::string(title));
    std::vector<std::string> stages;
    if (files.exists(where.multi1Cab)) {
        stages = {where.multi1Cab, where.extractionFolder + "F0_ice1.cab"};
    } else {
        stages = {where.file1Cab};
    }
    for (const std::string& cabinet : stages) {
        const ExtractionResult result =
            extractor.extract(cabinet, where.extractionFolder, where.setupFolder);
        if (result.outcome == ExtractionResult::Outcome::Done) {
            written.insert(written.end(), result.written.begin(), result.written.end());
            continue;
        }
        removeUnpacked(files, written);
        if (result.outcome == ExtractionResult::Outcome::Failed)
            prompter.message(result.message, title);
        return kExitExtractionFailed;
    }
    return kExitDone;
}

}  // namespace setup
