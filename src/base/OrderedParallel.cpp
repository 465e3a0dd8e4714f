#include "base/OrderedParallel.h"

#include "base/CalcLogWriter.h"
#include "base/CalcMode.h"
#include "base/DeferredOutput.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

thread_local bool t_bInPiece = false;

// One call of RunInOrder. Pieces are claimed one at a time from a shared counter, so a helper
// that starts late (the machine is busy) simply finds less to do; the caller waits only for
// pieces a helper has actually claimed.
struct Job {
    size_t count = 0;
    const std::function<void(size_t)>* work = nullptr;
    bool quiet = false;   // the caller's calculation log is quiet, so the pieces are too
    bool discard = false; // likewise when it discards its lines
    std::vector<CDeferredOutput> outputs;
    std::vector<std::exception_ptr> errors;
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    size_t finished = 0;

    void RunPieces() {
        t_bInPiece = true;
        for (size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            {
                std::optional<CCalcLogQuiet> quietLog;
                if (quiet) quietLog.emplace();
                std::optional<CCalcLogDiscard> discardLog;
                if (discard) discardLog.emplace();
                CDeferredOutput::Scope capture(outputs[i]);
                try {
                    (*work)(i);
                } catch (...) {
                    errors[i] = std::current_exception();
                }
            }
            std::lock_guard<std::mutex> lock(mutex);
            if (++finished == count) allDone.notify_all();
        }
        t_bInPiece = false;
    }
};

// The helper threads, started on first use and kept for the life of the process (never
// destroyed, so that no helper outlives the objects it waits on).
class CHelpers {
  public:
    static CHelpers& Get() {
        static CHelpers* helpers = new CHelpers();
        return *helpers;
    }
    size_t Count() const { return m_Threads; }

    void Post(const std::shared_ptr<Job>& job) {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_pJob = job;
            ++m_iGeneration;
        }
        m_Posted.notify_all();
    }

  private:
    CHelpers() {
        const unsigned cores = std::thread::hardware_concurrency();
        m_Threads = cores > 1 ? std::min(cores - 1, 7u) : 0;
        for (size_t i = 0; i < m_Threads; ++i)
            std::thread([this] { Serve(); }).detach();
    }

    void Serve() {
        unsigned seen = 0;
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> lock(m_Mutex);
                m_Posted.wait(lock, [&] { return m_iGeneration != seen; });
                seen = m_iGeneration;
                job = m_pJob;
            }
            if (job) job->RunPieces();
        }
    }

    size_t m_Threads = 0;
    std::mutex m_Mutex;
    std::condition_variable m_Posted;
    std::shared_ptr<Job> m_pJob;
    unsigned m_iGeneration = 0;
};

} // namespace

void RunInOrder(size_t count, const std::function<void(size_t)>& work) {
    if (count < 2 || t_bInPiece || IsReferenceCalculation() || CHelpers::Get().Count() == 0) {
        for (size_t i = 0; i < count; ++i)
            work(i);
        return;
    }

    auto job = std::make_shared<Job>();
    job->count = count;
    job->work = &work;
    job->quiet = IsCalcLogQuiet();
    job->discard = IsCalcLogDiscarding();
    job->outputs.resize(count);
    job->errors.resize(count);
    CHelpers::Get().Post(job);
    job->RunPieces();
    {
        std::unique_lock<std::mutex> lock(job->mutex);
        job->allDone.wait(lock, [&] { return job->finished == count; });
    }
    for (size_t i = 0; i < count; ++i) {
        job->outputs[i].Replay();
        if (job->errors[i]) std::rethrow_exception(job->errors[i]);
    }
}
