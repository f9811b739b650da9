#pragma once
// Writes extracted members on a thread of its own while the caller decompresses the next
// ones: unpacking many small members costs more in creating files than in decompressing
// them. The thread is started once that pays: by the first full batch of small members;
// until then the caller writes them itself. Members go out whole and in the order given. What waits to be written is bounded
// (kQueueBytes), so memory stays flat however many members there are.
//
// A member larger than one chunk is written by the caller itself, once the writer has caught
// up and opened it: its bytes then go straight from the decompressor's buffer to the file.
// Handing them over would cost more than it saves: each chunk copied into fresh memory (a page
// fault every 4 KB), and the writer woken for each, while writing takes a fraction of the time
// inflating does.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/FileSystem.h"

namespace setup {

class MemberWriter {
public:
    // The first member that could not be written, and whether it failed at its creation.
    struct Failure {
        std::string member;
        bool atOpen = false;
    };

    explicit MemberWriter(platform::FileSystem& files);
    ~MemberWriter();
    MemberWriter(const MemberWriter&) = delete;
    MemberWriter& operator=(const MemberWriter&) = delete;

    // A new member to be written at target (a Windows path); shown names it in a failure.
    void begin(std::string target, std::string shown);
    void write(const void* data, std::size_t size);
    // The member is complete: it gets its attributes, execute permission and time, last.
    void finish(std::int64_t modified, std::uint32_t attributes, bool hostProgram);
    // The member begun last is not complete: nothing more of it is written, and a file of it
    // already made is removed. Members handed over whole are still written.
    void discard();
    // Waits until everything handed over is written.
    void drain();
    // Whether a member failed (drain first to know for every member handed over).
    bool failed() const { return failed_.load(std::memory_order_relaxed); }
    std::optional<Failure> failure() const;
    int membersWritten() const;

    static constexpr std::size_t kQueueBytes = 1 << 20;

private:
    struct Job {
        enum class Kind { Begin, Data, Finish, Discard } kind;
        std::string text{};  // Begin: the target; Data: the bytes
        std::string shown{};
        std::int64_t modified = 0;
        std::uint32_t attributes = 0;
        bool hostProgram = false;
    };

    void push(Job job);
    void flushPending();
    void takeOver();
    void writeHere(const void* data, std::size_t size);
    void handOver();
    void work();
    void run(Job& job);
    void fail(bool atOpen);

    platform::FileSystem& files_;
    // The caller's own: the current member's bytes not yet made a job, and jobs not yet handed
    // over. Jobs go over in batches, so the writer is woken seldom, not once for every member.
    std::string pending_;
    std::deque<Job> batch_;
    std::size_t batchBytes_ = 0;
    // The current member is the caller's to write: the writer has opened it and waits idle,
    // so its state below is the caller's until the member is finished or discarded.
    bool writingHere_ = false;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::size_t queuedBytes_ = 0;  // handed over and not yet written
    bool busy_ = false;
    bool closing_ = false;
    bool writerWaits_ = false;
    bool callerWaits_ = false;
    std::optional<Failure> failure_;
    std::atomic<bool> failed_{false};
    int written_ = 0;

    // The writer's own: the member being written.
    std::unique_ptr<platform::File> file_;
    std::string target_;
    std::string shown_;
    bool skipping_ = false;  // the member failed: its remaining jobs are dropped

    std::thread thread_;
};

}  // namespace setup
