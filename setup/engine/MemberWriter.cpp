#include "setup/engine/MemberWriter.h"

#include <algorithm>
#include <utility>

namespace setup {

namespace {
// The largest member handed to the writer (in one job), and the bytes or jobs gathered before
// a hand-over: the writer wakes for each hand-over.
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kBatchJobs = 64;
}  // namespace

MemberWriter::MemberWriter(platform::FileSystem& files) : files_(files) {}

MemberWriter::~MemberWriter() {
    handOver();
    if (!thread_.joinable()) {
        Job discard{Job::Kind::Discard};  // as the writer does when it closes
        run(discard);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void MemberWriter::begin(std::string target, std::string shown) {
    push(Job{Job::Kind::Begin, std::move(target), std::move(shown)});
}

void MemberWriter::write(const void* data, std::size_t size) {
    if (!writingHere_ && pending_.size() + size > kChunk) takeOver();
    if (writingHere_) return writeHere(data, size);
    if (pending_.capacity() < kChunk) pending_.reserve(kChunk);
    pending_.append(static_cast<const char*>(data), size);
}

// The member is large: once the writer has opened it, the caller writes it, beginning with
// the bytes gathered so far. (Their buffer stays, for the next member's.)
void MemberWriter::takeOver() {
    drain();
    writingHere_ = true;
    writeHere(pending_.data(), pending_.size());
    pending_.clear();
}

void MemberWriter::writeHere(const void* data, std::size_t size) {
    if (skipping_ || !file_) return;
    if (file_->write(data, size) != static_cast<std::int64_t>(size)) fail(false);
}

void MemberWriter::finish(std::int64_t modified, std::uint32_t attributes, bool hostProgram) {
    flushPending();
    Job job{Job::Kind::Finish};
    job.modified = modified;
    job.attributes = attributes;
    job.hostProgram = hostProgram;
    if (!writingHere_) return push(std::move(job));
    run(job);
    writingHere_ = false;
}

void MemberWriter::discard() {
    pending_.clear();
    Job job{Job::Kind::Discard};
    if (writingHere_) {
        run(job);
        writingHere_ = false;
        return;
    }
    push(std::move(job));
    handOver();
}

void MemberWriter::drain() {
    handOver();
    if (!thread_.joinable()) return;
    std::unique_lock lock(mutex_);
    callerWaits_ = true;
    changed_.wait(lock, [&] { return jobs_.empty() && !busy_; });
    callerWaits_ = false;
}

std::optional<MemberWriter::Failure> MemberWriter::failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

int MemberWriter::membersWritten() const {
    const std::lock_guard lock(mutex_);
    return written_;
}

// A small member's bytes go over in a copy of their own size; the gathering buffer stays.
void MemberWriter::flushPending() {
    if (pending_.empty()) return;
    push(Job{Job::Kind::Data, pending_});
    pending_.clear();
}

// The writer is started by the first batch that fills up: a package of a few small members
// is written faster by the caller alone than with a thread to start and wake.
void MemberWriter::push(Job job) {
    batchBytes_ += job.text.size();
    batch_.push_back(std::move(job));
    if (batchBytes_ < kChunk && batch_.size() < kBatchJobs) return;
    if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
    handOver();
}

void MemberWriter::handOver() {
    if (batch_.empty()) return;
    if (!thread_.joinable()) {
        // No writer yet: the caller writes, and the writer's state is the caller's.
        for (Job& job : batch_) run(job);
        batch_.clear();
        batchBytes_ = 0;
        return;
    }
    std::unique_lock lock(mutex_);
    // A batch larger than the bound alone still goes, once the writer has caught up.
    callerWaits_ = true;
    changed_.wait(lock,
                  [&] { return queuedBytes_ == 0 || queuedBytes_ + batchBytes_ <= kQueueBytes; });
    callerWaits_ = false;
    queuedBytes_ += batchBytes_;
    for (Job& job : batch_) jobs_.push_back(std::move(job));
    batch_.clear();
    batchBytes_ = 0;
    if (writerWaits_) changed_.notify_all();
}

void MemberWriter::work() {
    std::unique_lock lock(mutex_);
    std::deque<Job> taken;
    for (;;) {
        writerWaits_ = true;
        changed_.wait(lock, [&] { return closing_ || !jobs_.empty(); });
        writerWaits_ = false;
        if (jobs_.empty()) break;  // closing, with nothing left
        taken.swap(jobs_);
        busy_ = true;
        lock.unlock();
        std::size_t done = 0;
        for (Job& job : taken) {
            done += job.text.size();
            run(job);
        }
        taken.clear();
        lock.lock();
        queuedBytes_ -= done;
        busy_ = false;
        if (callerWaits_) changed_.notify_all();
    }
    // Closing with a member begun and never finished: it is not left looking complete.
    lock.unlock();
    Job discard{Job::Kind::Discard};
    run(discard);
}

void MemberWriter::fail(bool atOpen) {
    skipping_ = true;
    if (file_) {
        file_.reset();
        files_.removeFile(target_);
    }
    const std::lock_guard lock(mutex_);
    if (!failure_) failure_ = Failure{shown_, atOpen};
    failed_ = true;
}

void MemberWriter::run(Job& job) {
    switch (job.kind) {
        case Job::Kind::Begin: {
            target_ = std::move(job.text);
            shown_ = std::move(job.shown);
            file_.reset();
            // After one member failed, none after it is written: the extraction has failed.
            skipping_ = failed();
            if (skipping_) return;
            using Mode = platform::FileSystem::OpenMode;
            file_ = files_.open(target_, Mode::Write);
            if (!file_ && files_.exists(target_)) {
                // A read-only copy left by an earlier run: replaced like any other. Tried only
                // after a refusal, since a look-up of a name not yet written reads the folder.
                files_.setAttributes(target_, 0);
                file_ = files_.open(target_, Mode::Write);
            }
            if (!file_) fail(true);
            return;
        }
        case Job::Kind::Data:
            return writeHere(job.text.data(), job.text.size());
        case Job::Kind::Finish: {
            if (skipping_ || !file_) return;
            // The time last, after every byte; a file that cannot take them here goes by name.
            const bool stamped = (!job.hostProgram || file_->setExecutable()) &&
                                 file_->setAttributes(job.attributes) &&
                                 file_->setModifiedTime(job.modified);
            file_.reset();
            if (!stamped) {
                if (job.hostProgram) files_.setExecutable(target_);
                files_.setAttributes(target_, job.attributes);
                files_.setModifiedTime(target_, job.modified);
            }
            const std::lock_guard lock(mutex_);
            ++written_;
            return;
        }
        case Job::Kind::Discard:
            if (file_) {
                file_.reset();
                files_.removeFile(target_);
            }
            skipping_ = true;
            return;
    }
}

}  // namespace setup
