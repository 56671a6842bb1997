#include "search/scan_ahead.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

// The helper lists the next directory when fewer files than this wait to
// be scanned, so that the walk always finds files it can take up.
constexpr std::size_t kFewPending = 32;
// Deeper levels are left to the walk: the helper holds one directory open
// for each level.
constexpr std::size_t kMaxDepth = 64;

} // namespace

struct ScanAhead::Directory {
    std::string path;  // as the walk shows it
    int fd = -1;
    FolderExclusions exclusions;
    ~Directory()
    {
        if (fd >= 0) ::close(fd);
    }
};

struct ScanAhead::Job {
    std::string path;
    std::shared_ptr<Directory> dir;
    std::string name;
    State state = State::kPending;
    std::atomic<bool> dropped{false};
    FileScan scan;
};

// Holds a job's numbers within the budget of the whole helper.
class ScanAhead::HeldSink : public NumberSink {
public:
    HeldSink(ScanAhead& ahead, Job& job) : ahead_(ahead), job_(job) {}

    bool Add(long number) override
    {
        if (!Reserve()) return false;
        job_.scan.numbers.push_back(number);
        return true;
    }
    bool AddHit(const ScanHit& hit, LineText text) override
    {
        FileScan& scan = job_.scan;
        if ((text || !scan.text_lengths.empty()) && scan.texts.size() + (text ? text->size() : 0) > kMaxTextHeld) {
            scan.complete = false;
            return false;
        }
        if (!Reserve()) return false;
        scan.hits.push_back(hit);
        if (text || !scan.text_lengths.empty()) {
            // The first text brings lengths for the hits before it.
            scan.text_lengths.resize(scan.hits.size() - 1, FileScan::kNoText);
            scan.text_lengths.push_back(text ? static_cast<std::uint32_t>(text->size()) : FileScan::kNoText);
            if (text) scan.texts.append(*text);
        }
        return true;
    }
    bool Cancelled() const override
    {
        return job_.dropped.load(std::memory_order_relaxed) || ahead_.cancelled_.load(std::memory_order_relaxed);
    }

private:
    bool Reserve()
    {
        if (ahead_.numbers_held_.fetch_add(1, std::memory_order_relaxed) < kMaxNumbersHeld) return true;
        ahead_.numbers_held_.fetch_sub(1, std::memory_order_relaxed);
        job_.scan.complete = false;
        return false;
    }

    ScanAhead& ahead_;
    Job& job_;
};

ScanAhead::ScanAhead(std::string top, std::string file_pattern, bool sub_dirs, ScanFunction scan,
                     FolderExclusions exclusions)
    : top_(std::move(top)), file_pattern_(std::move(file_pattern)), sub_dirs_(sub_dirs), scan_(std::move(scan)),
      top_exclusions_(std::move(exclusions))
{
    helper_ = std::thread([this] { HelperLoop(); });
}

ScanAhead::~ScanAhead()
{
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    helper_.join();
}

std::unique_ptr<FileScan> ScanAhead::Take(const std::string& path)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        std::size_t at = 0;
        while (at < jobs_.size() && jobs_[at]->path != path) ++at;
        if (at == jobs_.size()) {
            // Not listed by the helper: when it holds other files, the two
            // listings differ; when it holds none, it has yet to list more.
            if (walk_over_ || !jobs_.empty()) return nullptr;
            changed_.wait(lock);
            continue;
        }
        for (; at > 0; --at) {
            Drop(*jobs_.front());
            PopFront();
        }
        Job& job = *jobs_.front();
        if (job.state == State::kScanning) {
            // Meanwhile scan a later file, or wait for the helper.
            if (std::shared_ptr<Job> later = FirstPending(1)) {
                Claim(*later);
                ScanJob(later, walk_buffer_, lock);
            } else {
                changed_.wait(lock);
            }
            continue;
        }
        std::unique_ptr<FileScan> scan;
        numbers_held_.fetch_sub(job.scan.Held(), std::memory_order_relaxed);
        if (job.state == State::kDone && job.scan.complete) scan = std::make_unique<FileScan>(std::move(job.scan));
        PopFront();
        changed_.notify_all();
        return scan;
    }
}

void ScanAhead::Drop(Job& job)
{
    if (job.state == State::kScanning) {
        job.dropped = true;  // the scanner lets go of its numbers
        return;
    }
    numbers_held_.fetch_sub(job.scan.Held(), std::memory_order_relaxed);
    job.scan.numbers.clear();
    job.scan.hits.clear();
    job.scan.text_lengths.clear();
    job.scan.texts.clear();
}

std::shared_ptr<ScanAhead::Job> ScanAhead::FirstPending(std::size_t from)
{
    // Files are taken up almost in order: the search starts where the
    // first file not taken up was seen last.
    const std::size_t hint = pending_from_ > front_seq_ ? static_cast<std::size_t>(pending_from_ - front_seq_) : 0;
    const std::size_t end = std::min(jobs_.size(), kMaxFilesAhead);
    for (std::size_t i = std::max(from, hint); i < end; ++i) {
        if (jobs_[i]->state != State::kPending) continue;
        if (from <= hint) pending_from_ = front_seq_ + i;
        return jobs_[i];
    }
    return nullptr;
}

void ScanAhead::Claim(Job& job)
{
    job.state = State::kScanning;
    --pending_;
}

void ScanAhead::PopFront()
{
    if (jobs_.front()->state == State::kPending) --pending_;
    jobs_.pop_front();
    ++front_seq_;
}

void ScanAhead::ScanJob(const std::shared_ptr<Job>& job, std::vector<char>& buffer, std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    file_reading::File file = file_reading::OpenRegularFileAt(job->dir->fd, job->name.c_str());
    if (file.is_open()) {
        job->scan.opened = true;
        job->scan.device = file.device;
        job->scan.inode = file.inode;
        HeldSink sink(*this, *job);
        scan_(file, buffer, sink);
        if (sink.Cancelled()) job->scan.complete = false;
        file_reading::Close(file);
    }
    lock.lock();
    job->state = State::kDone;
    if (job->dropped) Drop(*job);
    changed_.notify_all();
}

void ScanAhead::HelperLoop()
{
    std::vector<char> buffer;
    Step step;
    std::unique_lock lock(mutex_);
    while (!cancelled_) {
        if (!walk_over_ && pending_ < kFewPending && jobs_.size() < kMaxFilesAhead) {
            lock.unlock();
            const bool more = WalkStep(step);
            lock.lock();
            pending_ += step.jobs.size();
            for (std::shared_ptr<Job>& job : step.jobs) jobs_.push_back(std::move(job));
            if (!step.listed.empty()) listings_[std::move(step.listed)] = std::move(step.listing);
            step = {};
            if (!more) walk_over_ = true;
            changed_.notify_all();
            continue;
        }
        if (std::shared_ptr<Job> job = FirstPending(0)) {
            Claim(*job);
            ScanJob(job, buffer, lock);
            continue;
        }
        changed_.wait(lock);
    }
}

bool ScanAhead::WalkStep(Step& step)
{
    if (cancelled_) return false;
    if (!started_) {
        started_ = true;
        auto top = std::make_shared<Directory>();
        top->path = top_;
        top->fd = OpenDirectoryAt(AT_FDCWD, top_.c_str(), true);
        if (top->fd < 0) return false;
        top->exclusions = top_exclusions_;
        Enter(top, step);
        return true;
    }
    while (!frames_.empty()) {
        Frame& frame = frames_.back();
        if (frame.next == frame.sub_dirs.size()) {
            frames_.pop_back();
            continue;
        }
        const std::string name = frame.sub_dirs[frame.next++];
        if (frames_.size() >= kMaxDepth) continue;
        auto dir = std::make_shared<Directory>();
        dir->path = JoinPath(frame.dir->path, name);
        dir->fd = OpenDirectoryAt(frame.dir->fd, name.c_str(), false);
        if (dir->fd < 0) continue;
        dir->exclusions = frame.dir->exclusions.SubFolder(dir->fd, name);
        Enter(dir, step);
        return true;
    }
    return false;
}

void ScanAhead::Enter(const std::shared_ptr<Directory>& dir, Step& step)
{
    // The walk's own tests: a directory it may not search is not listed.
    DirectoryListing& listing = step.listing;
    if (::faccessat(dir->fd, ".", X_OK, AT_EACCESS) != 0 || !ListDirectory(dir->fd, file_pattern_, sub_dirs_, listing, dir->exclusions.Filter()))
        return;
    step.listed = dir->path;
    for (const std::string& name : listing.files) {
        auto job = std::make_shared<Job>();
        job->path = JoinPath(dir->path, name);
        job->dir = dir;
        job->name = name;
        step.jobs.push_back(std::move(job));
    }
    if (!listing.sub_dirs.empty()) frames_.push_back({dir, listing.sub_dirs, 0});
}

bool ScanAhead::TakeListing(const std::string& path, DirectoryListing& out)
{
    const std::lock_guard lock(mutex_);
    const auto found = listings_.find(path);
    if (found == listings_.end()) return false;
    out = std::move(found->second);
    listings_.erase(found);
    return true;
}
